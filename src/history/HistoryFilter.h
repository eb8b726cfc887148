#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "base/DateTime.h"
#include "base/Money.h"
#include "history/ConnectionLogEntry.h"

namespace tollix {

class TariffSet;

// The history window's time filter, numbered as its combo box lists them.
// Any other number (the window starts with 10) shows everything.
enum HistoryPeriod : int16_t {
    kHistoryAll = 0,
    kHistoryToday = 1,
    kHistoryThisWeek = 2,  // weeks start on Sunday
    kHistoryThisMonth = 3,
    kHistoryTwoMonths = 4,  // this month and the month before
};
inline constexpr int16_t kHistoryStartPeriod = 10;

// The log lengths the window offers, in the order of its combo box.
inline constexpr std::array<int16_t, 5> kLogLengthChoices{10, 50, 100, 500, 1000};
// The combo box item that stands for a log length; a length not offered shows
// as the first item (the setting itself stays as it is).
int LogLengthChoiceIndex(int logNumber);

// Blanks (spaces) cut off both ends.
std::string TrimBlanks(std::string_view text);

// A logged name (padded to 15 characters) against a phonebook name: blanks
// trimmed from both, ASCII letters compared without regard to case. A
// phonebook name longer than 15 characters never matches, because the log
// holds only its first 15.
bool SameConnectionName(std::string_view loggedName, std::string_view phonebookName);

// Does a connection that started at `start` belong to the period, seen from
// `now`? Only calendar differences count: today is the same calendar day, not
// the last 24 hours. Entries dated after now (a clock set wrong) belong to no
// period but "all".
bool InHistoryPeriod(DateTime start, int16_t period, DateTime now);

// The two filters of the window on entries newest first. connectionName null
// keeps every connection. The period filter counts the entries that lie in the
// period anywhere in the list and keeps that many from the top, so in a log
// whose dates run out of order (a clock set back) the newest entries are shown
// even where one of them lies outside the period.
std::vector<ConnectionLogEntry> FilterHistory(
    std::vector<ConnectionLogEntry> entries, const std::string* connectionName, int16_t period, DateTime now);

struct HistoryLoadResult {
    std::vector<ConnectionLogEntry> Entries;  // shown entries, newest first, names trimmed
    size_t LogCount = 0;                      // entries kept in the log before the filters
    int DamagedLine = 0;                      // 1-based line of time.txt that could not be read, 0 for none
    std::string Error;  // what went wrong reading or rewriting the log; empty when all went well
};

// The window's load: reads time.txt keeping the newest logNumber lines (which
// rewrites the file), then filters by connection (index 1.. into the tariffs'
// phonebook order; 0, a negative or an unknown index keeps all) and period.
// A damaged log shows nothing and is left as it is.
HistoryLoadResult LoadHistory(const std::filesystem::path& logPath, int logNumber, const TariffSet& tariffs,
    int connectionIndex, int16_t period, DateTime now);

struct HistoryTotals {
    int64_t Seconds = 0;
    Money NetFee;
    Money TelFee;
    Money Total;
};
HistoryTotals SumHistory(const std::vector<ConnectionLogEntry>& entries);

// The texts of one grid row, columns 0 to 6: serial, name, start, duration,
// access fee, telephone fee, both fees. Numbers use '.' as decimal point.
inline constexpr int kHistoryColumnCount = 7;
using HistoryRowTexts = std::array<std::string, kHistoryColumnCount>;
HistoryRowTexts HistoryEntryRow(const ConnectionLogEntry& entry, int serial);
// The totals row: "合计", nothing under the name and start, the summed duration
// and fees.
HistoryRowTexts HistoryTotalsRow(const HistoryTotals& totals);

}  // namespace tollix
