// The whole start-up settings load: 20 configured connections, the telephone
// tariff, the alerts, the reset settings and the three start-up keys, read from
// a real settings file in a temporary folder. Target: at most 2 ms.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <stdlib.h>

#include "alerts/AlertSetting.h"
#include "base/Gbk.h"
#include "base/SafeFile.h"
#include "config/ProfileFile.h"
#include "config/SettingKeys.h"
#include "tariff/TariffSet.h"

namespace {

using namespace tollix;

struct Fixture {
    std::filesystem::path dir;
    std::filesystem::path path;
    std::vector<std::string> names;

    Fixture()
    {
        std::string templ = (std::filesystem::temp_directory_path() / "tollix-bench-XXXXXX").string();
        dir = ::mkdtemp(templ.data());
        path = dir / "tollix.ini";
        // Every key set, as a user who went through every tab leaves the file.
        std::string text = "[Telephone Fee]\r\n";
        for (size_t k = 0; k < size_t(Setting::AlertDayCheck); ++k)
            text += std::string(Info(static_cast<Setting>(k)).key) + "="
                + (k == size_t(Setting::TelHolidayStart) ? "2026-12-06 10:00:00" : "1") + "\r\n";
        for (int i = 1; i <= 20; ++i) {
            names.push_back(i % 2 ? "拨号连接 " + std::to_string(i) : "Dial-up " + std::to_string(i));
            text += "[" + Utf8ToGbk(names.back()) + "]\r\n";
            for (size_t k = 0; k < kConnectionSettingCount; ++k) {
                auto s = static_cast<ConnectionSetting>(k);
                text += std::string(Info(s).key) + "="
                    + (s == ConnectionSetting::HolidayStart ? "2026-12-05 09:00:00" : "2") + "\r\n";
            }
        }
        const char* section = "";
        for (size_t k = size_t(Setting::AlertDayCheck); k < kSettingCount; ++k) {
            const SettingInfo& info = Info(static_cast<Setting>(k));
            if (std::string_view(section) != info.section)
                text += std::string("[") + (section = info.section) + "]\r\n";
            text += std::string(info.key) + "="
                + (info.form == SettingForm::Text ? "/usr/share/sounds/alert.wav" : "1") + "\r\n";
        }
        ReplaceFileAtomically(path, text);
    }
    ~Fixture() { std::filesystem::remove_all(dir); }
};

void LoadAll(const ProfileFile& file, const std::vector<std::string>& names)
{
    const DateTime now = *DateTime::FromCivil(2026, 12, 6, 12, 0, 0);
    TariffSet tariffs;
    IniNetFee(file, names, now, tariffs);
    IniTelFee(file, now, tariffs);
    AlertSettings alerts = InitialAlertSettings(file);
    ResetSettings reset = InitialResetSettings(file);
    int32_t autoHide = ReadSettingInt(file, Setting::AutoHide);
    int32_t playWave = ReadSettingInt(file, Setting::PlayWave);
    int16_t logNumber = ReadSettingInt16(file, Setting::LogNumber);
    benchmark::DoNotOptimize(tariffs);
    benchmark::DoNotOptimize(alerts);
    benchmark::DoNotOptimize(reset);
    benchmark::DoNotOptimize(autoHide + playWave + logNumber);
}

// As at start-up: a new ProfileFile, so the file is read and parsed once, then
// every key is looked up (each lookup still checks whether the file changed).
void BM_StartupSettingsLoad(benchmark::State& state)
{
    Fixture f;
    for (auto _ : state) {
        ProfileFile file(f.path);
        LoadAll(file, f.names);
    }
}
BENCHMARK(BM_StartupSettingsLoad)->Unit(benchmark::kMicrosecond);

// The same loads on a ProfileFile that has already parsed the file.
void BM_SettingsLoadWarm(benchmark::State& state)
{
    Fixture f;
    ProfileFile file(f.path);
    LoadAll(file, f.names);
    for (auto _ : state)
        LoadAll(file, f.names);
}
BENCHMARK(BM_SettingsLoadWarm)->Unit(benchmark::kMicrosecond);

// One key written, as a settings-window edit does (the file replaced and flushed).
void BM_WriteOneKey(benchmark::State& state)
{
    Fixture f;
    ProfileFile file(f.path);
    int n = 0;
    for (auto _ : state)
        WriteSetting(file, Setting::TelFullFee, std::to_string(100 + (n++ % 50)));
}
BENCHMARK(BM_WriteOneKey)->Unit(benchmark::kMicrosecond);

}  // namespace
