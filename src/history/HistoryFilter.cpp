#include "history/HistoryFilter.h"

#include <algorithm>
#include <limits>

#include "base/TextUtil.h"
#include "base/Translation.h"
#include "history/ConnectionLog.h"
#include "tariff/TariffSet.h"

namespace tollix {

int LogLengthChoiceIndex(int logNumber)
{
    for (size_t i = 0; i < kLogLengthChoices.size(); ++i)
        if (kLogLengthChoices[i] == logNumber)
            return int(i);
    return 0;
}

std::string TrimBlanks(std::string_view text)
{
    return std::string(TrimChars(text, " "));
}

namespace {

char LowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

}  // namespace

bool SameConnectionName(std::string_view loggedName, std::string_view phonebookName)
{
    // The writer logs the trimmed phonebook name, so both sides are trimmed.
    const std::string a = TrimBlanks(loggedName);
    const std::string b = TrimBlanks(phonebookName);
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
        return LowerAscii(x) == LowerAscii(y);
    });
}

bool InHistoryPeriod(DateTime start, int16_t period, DateTime now)
{
    switch (period) {
    case kHistoryToday:
        return DaysBetween(start, now) == 0;
    case kHistoryThisWeek:
        return WeeksBetween(start, now, 1) == 0;
    case kHistoryThisMonth:
        return MonthsBetween(start, now) == 0;
    case kHistoryTwoMonths: {
        // A future month is not "this or last month".
        const int64_t months = MonthsBetween(start, now);
        return months >= 0 && months < 2;
    }
    default:
        return true;
    }
}

std::vector<ConnectionLogEntry> FilterHistory(
    std::vector<ConnectionLogEntry> entries, const std::string* connectionName, int16_t period, DateTime now)
{
    if (connectionName) {
        std::erase_if(entries, [&](const ConnectionLogEntry& e) {
            return !SameConnectionName(e.ConnectionName, *connectionName);
        });
    }
    const size_t inPeriod = size_t(std::count_if(entries.begin(), entries.end(),
        [&](const ConnectionLogEntry& e) { return InHistoryPeriod(e.StartTime, period, now); }));
    entries.resize(inPeriod);
    return entries;
}

HistoryLoadResult LoadHistory(const std::filesystem::path& logPath, int logNumber, const TariffSet& tariffs,
    int connectionIndex, int16_t period, DateTime now)
{
    HistoryLoadResult result;
    LogLoadResult log = LoadConnectionLog(logPath, logNumber);
    result.DamagedLine = log.DamagedLine;
    result.Error = std::move(log.Error);
    if (log.DamagedLine != 0)
        return result;  // nothing shown, the file left for the user to repair

    const std::string* name = nullptr;
    if (connectionIndex >= 1 && connectionIndex <= tariffs.ConnectionCount())
        name = &tariffs.Connection(connectionIndex).Name;
    result.LogCount = log.Entries.size();
    result.Entries = FilterHistory(std::move(log.Entries), name, period, now);
    for (ConnectionLogEntry& e : result.Entries)
        e.ConnectionName = TrimBlanks(e.ConnectionName);
    return result;
}

HistoryTotals SumHistory(const std::vector<ConnectionLogEntry>& entries)
{
    HistoryTotals totals;
    for (const ConnectionLogEntry& e : entries) {
        totals.Seconds += e.Seconds;
        totals.NetFee += e.NetFee;
        totals.TelFee += e.TelFee;
        totals.Total += e.NetFee + e.TelFee;
    }
    return totals;
}

HistoryRowTexts HistoryEntryRow(const ConnectionLogEntry& entry, int serial)
{
    return {std::to_string(serial), TrimBlanks(entry.ConnectionName), DateTimeText(entry.StartTime),
        DurationText(entry.Seconds), MoneyText(entry.NetFee), MoneyText(entry.TelFee),
        MoneyText(entry.NetFee + entry.TelFee)};
}

HistoryRowTexts HistoryTotalsRow(const HistoryTotals& totals)
{
    // Summed in 64 bits so a long history cannot wrap into a negative time.
    const int32_t seconds = int32_t(std::clamp<int64_t>(
        totals.Seconds, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
    return {Tr("合计"), "", "", DurationText(seconds), MoneyText(totals.NetFee), MoneyText(totals.TelFee),
        MoneyText(totals.Total)};
}

}  // namespace tollix
