#include "meter/Program.h"

#include <algorithm>
#include <cstdint>

#include "base/SafeFile.h"
#include "config/SettingKeys.h"

namespace tollix {

Program::Program(const std::filesystem::path& dataFolder)
    : DataFolder(dataFolder)
    , StatisticsPath(dataFolder / "Price.DB")
    , LogPath(dataFolder / "time.txt")
    , JournalPath(dataFolder / "session.journal")
    , Profile(dataFolder / "tollix.ini")
    , StatsFile(dataFolder / "Price.DB")
{
    if (ReadWholeFile("/proc/sys/kernel/random/boot_id", BootId))
        while (!BootId.empty() && (BootId.back() == '\n' || BootId.back() == ' '))
            BootId.pop_back();
}

void LoadSettings(Program& program, const std::vector<std::string>& phonebook, DateTime now)
{
    IniNetFee(program.Profile, phonebook, now, program.Tariffs);
    IniTelFee(program.Profile, now, program.Tariffs);
    program.Alerts = InitialAlertSettings(program.Profile);
    program.Reset = InitialResetSettings(program.Profile);
    program.RolloverWeekDay = program.Reset.ResetWeekDay;
    program.AutoHide = ReadSettingInt(program.Profile, Setting::AutoHide) != 0;
    program.PlayWave = ReadSettingInt(program.Profile, Setting::PlayWave) != 0;
    program.LogNumber = NarrowTo16(ReadSettingInt(program.Profile, Setting::LogNumber));
}

bool OpenStatistics(Program& program, DateTime now, std::string* error)
{
    if (!program.StatsFile.Open(error))
        return false;
    bool ok = program.Stats.StartUp(
        program.StatsFile, now, program.RolloverWeekDay, program.Reset.ResetMonthDay, error);
    program.StatsFile.Close();
    return ok;
}

void UseArchive(Program& program, const std::string& backend)
{
    program.ArchiveConnection = [&program, backend](const ClosedConnection& c, std::string* error) {
        return OpenArchive(program, error) && program.Archive->Store(ToArchived(c, backend), error);
    };
}

bool OpenArchive(Program& program, std::string* error)
{
    if (program.Archive)
        return true;
    UsageArchive::OpenResult opened = UsageArchive::OpenForWriting(program.DataFolder);
    program.Archive = std::move(opened.Archive);
    if (!opened.Notice.empty())
        program.ArchiveNotice = opened.Notice;
    if (!program.Archive && error)
        *error = opened.Error;
    return bool(program.Archive);
}

namespace {

// SQLite's integers are signed; no link carries 8 EiB, so this only stops a
// damaged counter from turning negative.
std::optional<int64_t> ArchivedCount(const std::optional<uint64_t>& count)
{
    if (!count)
        return std::nullopt;
    return int64_t(std::min<uint64_t>(*count, uint64_t(INT64_MAX)));
}

}  // namespace

ArchivedConnection ToArchived(const ClosedConnection& c, const std::string& backend)
{
    ArchivedConnection a;
    a.SessionKey = c.SessionKey;
    a.Start = c.Start;
    a.UtcOffsetSeconds = c.UtcOffsetSeconds;
    a.Seconds = c.Seconds;
    a.ConnectionName = c.Name;
    a.TelFee = c.TelFee;
    a.NetFee = c.NetFee;
    a.CallUnits = c.CallUnits;
    a.MinutesCharged = c.Minutes;
    a.ReceivedBytes = ArchivedCount(c.ReceivedBytes);
    a.SentBytes = ArchivedCount(c.SentBytes);
    // A combined service's name says only which backends were looked at.
    a.Backend = !c.Backend.empty()               ? c.Backend
        : backend.find('+') == std::string::npos ? backend
                                                 : std::string();
    return a;
}

}  // namespace tollix
