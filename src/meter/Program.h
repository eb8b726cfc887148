#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "alerts/AlertSetting.h"
#include "config/ProfileFile.h"
#include "history/UsageArchive.h"
#include "meter/ClosedConnection.h"
#include "meter/Statistics.h"
#include "meter/StatisticsFile.h"
#include "tariff/TariffSet.h"

namespace tollix {

class Clock;

// Everything the program keeps for its whole run: the settings copied from
// tollix.ini at start-up, the four statistics records with their running totals,
// and where the data files live. The windows edit these values in place.
struct Program {
    explicit Program(const std::filesystem::path& dataFolder);

    std::filesystem::path DataFolder;
    std::filesystem::path StatisticsPath;
    std::filesystem::path LogPath;
    std::filesystem::path JournalPath;
    // This boot of the machine (empty when it cannot be told): a link seen in
    // another boot is another link, whatever its interface and pid.
    std::string BootId;
    // Called for each finished connection once its statistics and log line are
    // written; none when empty.
    ArchiveStep ArchiveConnection;
    ProfileFile Profile;
    StatisticsFile StatsFile;

    TariffSet Tariffs;
    AlertSettings Alerts;
    ResetSettings Reset;
    // The week roll-over keeps the weekday loaded at start-up; a weekday changed
    // in the settings window governs it from the next start.
    int16_t RolloverWeekDay = 0;
    int16_t LogNumber = 50;
    bool AutoHide = false;
    bool PlayWave = false;

    Statistics Stats;
    int16_t SelectedPeriod = 0;
    // The connection that is up (or was last up) uses the rated-hours tariff.
    bool FeeTypeTwo = false;
    int16_t FeeTypeTwoIndex = 0;

    // usage.sqlite, every connection kept for good; null until opened, or
    // when it could not be.
    std::unique_ptr<UsageArchive> Archive;
    // For the user, once: a damaged archive was set aside. Cleared when shown.
    std::string ArchiveNotice;
};

// Reads every setting in start-up order: connection tariffs for the phonebook
// entries, telephone tariff, alerts, reset settings, then the start settings.
void LoadSettings(Program& program, const std::vector<std::string>& phonebook, DateTime now);

// Opens Price.DB, starts never-used records, rolls the periods over and closes
// the file again. False with a message naming the file when it cannot be used.
bool OpenStatistics(Program& program, DateTime now, std::string* error);

// Makes storing into the usage archive the archive step of every end of a
// session, with `backend` as the dial-up backend that saw the connections.
// The archive is opened by OpenArchive or at the step's first use; one that
// cannot be opened is tried again at each retry of the step.
void UseArchive(Program& program, const std::string& backend);

// Opens the archive when it is not open yet; a new one takes over the lines of
// time.txt. False, saying why, when it cannot be opened.
bool OpenArchive(Program& program, std::string* error = nullptr);

// The archive's row for a finished connection.
ArchivedConnection ToArchived(const ClosedConnection& connection, const std::string& backend);

}  // namespace tollix
