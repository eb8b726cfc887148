#include "meter/Program.h"

#include "config/SettingKeys.h"

namespace tollix {

Program::Program(const std::filesystem::path& dataFolder)
    : DataFolder(dataFolder)
    , StatisticsPath(dataFolder / "Price.DB")
    , LogPath(dataFolder / "time.txt")
    , JournalPath(dataFolder / "session.journal")
    , Profile(dataFolder / "tollix.ini")
    , StatsFile(dataFolder / "Price.DB")
{ }

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
    program.Stats.LoadFrom(program.StatsFile);
    bool ok = program.Stats.StartUp(
        program.StatsFile, now, program.RolloverWeekDay, program.Reset.ResetMonthDay, error);
    program.StatsFile.Close();
    return ok;
}

std::string OpenArchive(Program& program)
{
    UsageArchive::OpenResult opened = UsageArchive::OpenForWriting(program.DataFolder);
    program.Archive = std::move(opened.Archive);
    program.ArchiveError = opened.Error;
    return opened.Notice;
}

}  // namespace tollix
