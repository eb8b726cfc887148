#include "meter/SessionJournal.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cstdio>
#include <map>
#include <sstream>
#include <system_error>

#include "base/SafeFile.h"
#include "history/ConnectionLog.h"
#include "meter/Program.h"

namespace tollix {

namespace {

constexpr const char* kMagic = "tollix-session 1";

template <typename T> bool ParseInt(const std::string& text, T& out)
{
    auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
    return ec == std::errc() && ptr == text.data() + text.size();
}

// A journal or Price.DB damaged into huge values must not wrap the totals
// round: sums stop at the ends of their range.
int32_t AddClamped(int32_t a, int64_t b)
{
    const int64_t sum = int64_t(a) + b;
    return int32_t(std::clamp<int64_t>(sum, INT32_MIN, INT32_MAX));
}

Money AddClamped(Money a, Money b)
{
    int64_t sum;
    if (__builtin_add_overflow(a.Raw(), b.Raw(), &sum))
        sum = b.Raw() > 0 ? INT64_MAX : INT64_MIN;
    return Money::FromRaw(sum);
}

std::string DaysText(DateTime d)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.17g", d.Days());
    return buffer;
}

}  // namespace

bool WriteSessionJournal(const std::filesystem::path& path, const SessionState& s, std::string* error)
{
    std::ostringstream out;
    out << kMagic << "\n"
        << "start=" << DaysText(s.SessionStart) << "\n"
        << "seconds=" << s.SessionSeconds << "\n"
        << "units=" << s.UnitsCharged << "\n"
        << "minutes=" << s.MinutesCharged << "\n"
        << "tariff=" << s.TariffIndex << "\n"
        << "telfee=" << s.SessionTelFee.Raw() << "\n"
        << "netfee=" << s.SessionNetFee.Raw() << "\n"
        << "name=" << s.ConnectionName << "\n";
    return ReplaceFileAtomically(path, out.str(), error);
}

std::optional<SessionState> ReadSessionJournal(const std::filesystem::path& path)
{
    std::string text;
    if (!ReadWholeFile(path, text) || text.size() > 4096)
        return std::nullopt;
    std::istringstream in(text);
    std::string line;
    if (!std::getline(in, line) || line != kMagic)
        return std::nullopt;
    std::map<std::string, std::string> values;
    while (std::getline(in, line)) {
        auto eq = line.find('=');
        if (eq == std::string::npos)
            return std::nullopt;
        values[line.substr(0, eq)] = line.substr(eq + 1);
    }
    SessionState s;
    int64_t tel = 0, net = 0;
    double start = 0;
    try {
        size_t used = 0;
        start = std::stod(values.at("start"), &used);
    } catch (...) {
        return std::nullopt;
    }
    if (!ParseInt(values["seconds"], s.SessionSeconds) || !ParseInt(values["units"], s.UnitsCharged)
        || !ParseInt(values["minutes"], s.MinutesCharged) || !ParseInt(values["tariff"], s.TariffIndex)
        || !ParseInt(values["telfee"], tel) || !ParseInt(values["netfee"], net) || !values.count("name"))
        return std::nullopt;
    s.SessionStart = DateTime::FromDays(start);
    if (!s.SessionStart.IsValid() || s.SessionSeconds < 0 || s.UnitsCharged < 0 || s.MinutesCharged < 0)
        return std::nullopt;
    s.SessionTelFee = Money::FromRaw(tel);
    s.SessionNetFee = Money::FromRaw(net);
    s.ConnectionName = values["name"];
    return s;
}

void RemoveSessionJournal(const std::filesystem::path& path)
{
    std::error_code ec;
    std::filesystem::remove(path, ec);
}

RecoveryResult RecoverOpenSession(Program& program)
{
    RecoveryResult result;
    std::error_code ec;
    if (!std::filesystem::exists(program.JournalPath, ec))
        return result;
    std::optional<SessionState> journal = ReadSessionJournal(program.JournalPath);
    if (!journal) {
        std::filesystem::path aside = program.JournalPath;
        aside += ".damaged";
        std::filesystem::rename(program.JournalPath, aside, ec);
        result.Error = "上次未正常结束的连接记录已损坏，无法补记，已另存为 " + aside.string() + "。";
        return result;
    }
    const SessionState& s = *journal;
    int64_t roundedUp = s.SessionSeconds;
    if (roundedUp % 60 != 0)
        roundedUp += 60 - roundedUp % 60;
    const int32_t seconds = int32_t(std::min<int64_t>(roundedUp, INT32_MAX));

    std::string error;
    if (!program.StatsFile.Open(&error)) {
        result.Error = error;
        return result;
    }
    Statistics& stats = program.Stats;
    if (!stats.LoadFrom(program.StatsFile, s.SessionStart, &error)) {
        program.StatsFile.Close();
        result.Error = error;
        return result;
    }
    // The session counts in the periods it started in; a period that has ended
    // since then has no record any more and keeps only the week, month and total.
    const DateTime start = s.SessionStart;
    auto& records = stats.Records;
    for (Period p : {Today, Week, Month, Total}) {
        UsageRecord& r = records[size_t(p)];
        if (!PeriodCurrent(p, start, r.StartDate, program.RolloverWeekDay, program.Reset.ResetMonthDay))
            continue;
        r.Connections = int16_t(std::min(r.Connections + 1, INT16_MAX));
        r.Seconds = AddClamped(r.Seconds, seconds);
        r.CallUnits = AddClamped(r.CallUnits, s.UnitsCharged);
        r.TelFee = AddClamped(r.TelFee, s.SessionTelFee);
        r.NetFee = AddClamped(r.NetFee, s.SessionNetFee);
    }
    stats.LoadRunningTotals();
    bool ok = stats.WriteAll(program.StatsFile, &error);
    program.StatsFile.Close();
    if (!ok) {
        result.Error = error;
        return result;
    }

    ConnectionLogEntry entry;
    entry.ConnectionName = FixName15(s.ConnectionName);
    entry.StartTime = start;
    entry.Seconds = seconds;
    entry.TelFee = s.SessionTelFee;
    entry.NetFee = s.SessionNetFee;
    const int32_t unit = program.Tariffs.Telephone.TelUnit > 0 ? program.Tariffs.Telephone.TelUnit : 180;
    const int32_t units = seconds / unit + 1;
    entry.CallUnits = static_cast<int16_t>(units > INT16_MAX ? INT16_MAX : units);
    if (!AppendLogEntry(program.LogPath, entry, &error)) {
        // The statistics have it; keeping the journal would count it twice.
        result.Error = error;
    }
    RemoveSessionJournal(program.JournalPath);
    result.Recovered = true;
    const std::string name = s.ConnectionName.empty() ? std::string("(无名称)") : s.ConnectionName;
    result.Report = "Tollix 上次没有正常退出，当时的连接已补记到统计和历史记录中：\n连接名称：" + name
        + "\n开始连接时间：" + DateTimeText(start) + "\n持续时间：" + DurationText(seconds) + "\n电话费："
        + MoneyText(s.SessionTelFee) + " 元，入网费：" + MoneyText(s.SessionNetFee) + " 元";
    return result;
}

}  // namespace tollix
