#include "meter/SessionJournal.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstring>
#include <map>
#include <sstream>
#include <sys/random.h>
#include <system_error>
#include <unistd.h>

#include "base/Clock.h"
#include "base/SafeFile.h"
#include "base/Translation.h"
#include "dialup/DialupService.h"
#include "history/ConnectionLog.h"
#include "meter/Program.h"
#include "meter/Statistics.h"

namespace tollix {

void (*CommitStepHook)(int step) = nullptr;

namespace {

constexpr const char* kMagicV1 = "tollix-session 1";
constexpr const char* kMagic = "tollix-session 2";
constexpr size_t kMaxJournalBytes = 1 << 20;

void Step(int step)
{
    if (CommitStepHook)
        CommitStepHook(step);
}

template <typename T> bool ParseInt(std::string_view text, T& out)
{
    auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
    return !text.empty() && ec == std::errc() && ptr == text.data() + text.size();
}

bool ParseDays(const std::string& text, DateTime& out)
{
    try {
        size_t used = 0;
        out = DateTime::FromDays(std::stod(text, &used));
        return used == text.size() && out.IsValid();
    } catch (...) {
        return false;
    }
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

// Names come from the dial-up layer; a line end or a tab would break the line.
std::string OneLine(std::string text)
{
    for (char& c : text)
        if (c == '\n' || c == '\r' || c == '\t')
            c = ' ';
    return text;
}

std::string Hex(const unsigned char* bytes, size_t n)
{
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (size_t i = 0; i < n; ++i) {
        out += digits[bytes[i] >> 4];
        out += digits[bytes[i] & 15];
    }
    return out;
}

bool Unhex(std::string_view text, unsigned char* bytes, size_t n)
{
    if (text.size() != 2 * n)
        return false;
    for (size_t i = 0; i < n; ++i) {
        const char* from = text.data() + 2 * i;
        if (std::from_chars(from, from + 2, bytes[i], 16).ptr != from + 2)
            return false;
    }
    return true;
}

std::vector<std::string_view> Split(std::string_view text, char by)
{
    std::vector<std::string_view> parts;
    for (;;) {
        const size_t at = text.find(by);
        parts.push_back(text.substr(0, at));
        if (at == std::string_view::npos)
            return parts;
        text.remove_prefix(at + 1);
    }
}

// A byte count is written as nothing when it is not known.
std::string CountText(const std::optional<uint64_t>& count)
{
    return count ? std::to_string(*count) : std::string();
}

bool ParseCount(std::string_view text, std::optional<uint64_t>& out)
{
    out.reset();
    if (text.empty())
        return true;
    uint64_t count = 0;
    if (!ParseInt(text, count))
        return false;
    out = count;
    return true;
}

std::string ClosedLine(const ClosedConnection& c)
{
    return c.SessionKey + "\t" + DaysText(c.Start) + "\t" + std::to_string(c.UtcOffsetSeconds) + "\t"
        + std::to_string(c.Seconds) + "\t" + std::to_string(c.CallUnits) + "\t" + std::to_string(c.Minutes)
        + "\t" + std::to_string(c.TelFee.Raw()) + "\t" + std::to_string(c.NetFee.Raw()) + "\t"
        + OneLine(FormatLogLine(c.Log)) + "\t" + OneLine(c.Name) + "\t" + CountText(c.ReceivedBytes) + "\t"
        + CountText(c.SentBytes) + "\t" + OneLine(c.Backend);
}

std::optional<ClosedConnection> ParseClosedLine(std::string_view text)
{
    const auto f = Split(text, '\t');
    ClosedConnection c;
    int64_t tel = 0, net = 0;
    // Journals written before byte counts were kept end with the name, and
    // before the backend was kept, with the bytes.
    if ((f.size() != 10 && f.size() != 12 && f.size() != 13) || f[0].empty()
        || !ParseDays(std::string(f[1]), c.Start) || !ParseInt(f[2], c.UtcOffsetSeconds)
        || !ParseInt(f[3], c.Seconds) || !ParseInt(f[4], c.CallUnits) || !ParseInt(f[5], c.Minutes)
        || !ParseInt(f[6], tel) || !ParseInt(f[7], net))
        return std::nullopt;
    auto log = ParseLogLine(f[8]);
    if (!log || (f.size() >= 12 && (!ParseCount(f[10], c.ReceivedBytes) || !ParseCount(f[11], c.SentBytes))))
        return std::nullopt;
    c.SessionKey = f[0];
    c.TelFee = Money::FromRaw(tel);
    c.NetFee = Money::FromRaw(net);
    c.Log = *log;
    c.Name = f[9];
    if (f.size() == 13)
        c.Backend = f[12];
    return c;
}

ClosedConnection CloseAsOf(const SessionState& s, int32_t telUnit)
{
    int64_t roundedUp = s.SessionSeconds;
    if (roundedUp % 60 != 0)
        roundedUp += 60 - roundedUp % 60;
    ClosedConnection c;
    c.SessionKey = s.SessionKey.empty() ? NewSessionKey() : s.SessionKey;
    c.Start = s.SessionStart;
    c.UtcOffsetSeconds = s.UtcOffsetSeconds;
    c.Seconds = int32_t(std::min<int64_t>(roundedUp, INT32_MAX));
    c.Name = s.ConnectionName;
    c.TelFee = s.SessionTelFee;
    c.NetFee = s.SessionNetFee;
    c.CallUnits = s.UnitsCharged;
    c.Minutes = s.MinutesCharged;
    c.ReceivedBytes = s.ReceivedBytes;
    c.SentBytes = s.SentBytes;
    c.Backend = LinkBackend(s.LinkIdentity);
    c.Log.ConnectionName = FixName15(s.ConnectionName);
    c.Log.StartTime = s.SessionStart;
    c.Log.Seconds = c.Seconds;
    c.Log.TelFee = s.SessionTelFee;
    c.Log.NetFee = s.SessionNetFee;
    const int32_t units = c.Seconds / (telUnit > 0 ? telUnit : 180) + 1;
    c.Log.CallUnits = static_cast<int16_t>(units > INT16_MAX ? INT16_MAX : units);
    return c;
}

std::optional<SessionState> ParseOpen(std::map<std::string, std::string>& v, bool v1)
{
    SessionState s;
    int64_t tel = 0, net = 0;
    if (!ParseDays(v["start"], s.SessionStart) || !ParseInt(v["seconds"], s.SessionSeconds)
        || !ParseInt(v["units"], s.UnitsCharged) || !ParseInt(v["minutes"], s.MinutesCharged)
        || !ParseInt(v["tariff"], s.TariffIndex) || !ParseInt(v["telfee"], tel) || !ParseInt(v["netfee"], net)
        || !v.count("name"))
        return std::nullopt;
    if (!v1
        && (!ParseInt(v["utcoffset"], s.UtcOffsetSeconds) || !ParseInt(v["proadd"], s.ProAddSeconds)
            || !ParseInt(v["boottime"], s.SteadyStartMillis)))
        return std::nullopt;
    if (s.SessionSeconds < 0 || s.UnitsCharged < 0 || s.MinutesCharged < 0 || s.ProAddSeconds < 0
        || !ParseCount(v["rxbytes"], s.ReceivedBytes) || !ParseCount(v["txbytes"], s.SentBytes))
        return std::nullopt;
    s.SessionKey = v["key"];
    s.BootId = v["bootid"];
    s.LinkIdentity = v["link"];
    s.SessionTelFee = Money::FromRaw(tel);
    s.SessionNetFee = Money::FromRaw(net);
    s.ConnectionName = v["name"];
    return s;
}

}  // namespace

std::string NewSessionKey()
{
    unsigned char bytes[16] = {};
    if (::getrandom(bytes, sizeof bytes, 0) != ssize_t(sizeof bytes)) {
        // No entropy to be had: the moment and the process still tell sessions apart.
        const auto now = std::chrono::system_clock::now().time_since_epoch().count();
        const int64_t mix[2] = {int64_t(now), int64_t(::getpid())};
        static_assert(sizeof mix == sizeof bytes);
        std::memcpy(bytes, mix, sizeof bytes);
    }
    return Hex(bytes, sizeof bytes);
}

bool WriteSessionJournal(const std::filesystem::path& path, const Journal& journal, std::string* error)
{
    std::ostringstream out;
    out << kMagic << "\n";
    if (journal.Closing) {
        std::string records;
        for (const UsageRecord& r : journal.Closing->Records) {
            const auto bytes = EncodeUsageRecord(r);
            records += Hex(bytes.data(), bytes.size());
        }
        out << "records=" << records << "\n";
        for (const ClosedConnection& c : journal.Closing->Connections)
            out << "closed=" << ClosedLine(c) << "\n";
    }
    if (journal.Open) {
        const SessionState& s = *journal.Open;
        out << "key=" << s.SessionKey << "\n"
            << "start=" << DaysText(s.SessionStart) << "\n"
            << "utcoffset=" << s.UtcOffsetSeconds << "\n"
            << "proadd=" << s.ProAddSeconds << "\n"
            << "boottime=" << s.SteadyStartMillis << "\n"
            << "bootid=" << OneLine(s.BootId) << "\n"
            << "link=" << OneLine(s.LinkIdentity) << "\n"
            << "seconds=" << s.SessionSeconds << "\n"
            << "units=" << s.UnitsCharged << "\n"
            << "minutes=" << s.MinutesCharged << "\n"
            << "tariff=" << s.TariffIndex << "\n"
            << "telfee=" << s.SessionTelFee.Raw() << "\n"
            << "netfee=" << s.SessionNetFee.Raw() << "\n"
            << "name=" << OneLine(s.ConnectionName) << "\n"
            << "rxbytes=" << CountText(s.ReceivedBytes) << "\n"
            << "txbytes=" << CountText(s.SentBytes) << "\n";
    }
    return ReplaceFileAtomically(path, out.str(), error);
}

std::optional<Journal> ReadSessionJournal(const std::filesystem::path& path)
{
    std::string text;
    if (!ReadWholeFile(path, text) || text.size() > kMaxJournalBytes)
        return std::nullopt;
    std::istringstream in(text);
    std::string line;
    if (!std::getline(in, line) || (line != kMagic && line != kMagicV1))
        return std::nullopt;
    const bool v1 = line == kMagicV1;
    std::map<std::string, std::string> values;
    Journal journal;
    std::vector<ClosedConnection> closed;
    while (std::getline(in, line)) {
        const auto eq = line.find('=');
        if (eq == std::string::npos)
            return std::nullopt;
        const std::string key = line.substr(0, eq);
        if (!v1 && key == "closed") {
            auto c = ParseClosedLine(std::string_view(line).substr(eq + 1));
            if (!c)
                return std::nullopt;
            closed.push_back(std::move(*c));
        } else if (!values.emplace(key, line.substr(eq + 1)).second) {
            return std::nullopt;
        }
    }
    if (values.count("records")) {
        PendingCommit commit;
        unsigned char bytes[4 * kUsageRecordSize];
        if (closed.empty() || !Unhex(values["records"], bytes, sizeof bytes))
            return std::nullopt;
        for (size_t i = 0; i < 4; ++i)
            commit.Records[i] = DecodeUsageRecord(bytes + i * kUsageRecordSize);
        commit.Connections = std::move(closed);
        journal.Closing = std::move(commit);
    } else if (!closed.empty()) {
        return std::nullopt;
    }
    if (v1 || values.count("start") || values.count("key")) {
        journal.Open = ParseOpen(values, v1);
        if (!journal.Open)
            return std::nullopt;
    }
    if (!journal.Open && !journal.Closing)
        return std::nullopt;
    return journal;
}

CommitResult RunCommit(Program& program, const PendingCommit& commit, bool statisticsWritten)
{
    CommitResult result;
    result.StatisticsWritten = statisticsWritten;
    if (!statisticsWritten) {
        StatisticsFile file(program.StatisticsPath);
        bool ok = file.Open(&result.Error);
        for (int n = 1; ok && n <= 4; ++n) {
            ok = file.Put(n, commit.Records[size_t(n - 1)], &result.Error);
            Step(n + 1);
        }
        result.StatisticsWritten = ok;
    }

    std::vector<ConnectionLogEntry> lines;
    for (const ClosedConnection& c : commit.Connections)
        lines.push_back(c.Log);
    std::string error;
    result.LogWritten = AppendMissingLogEntries(program.LogPath, lines, &error);
    if (!result.LogWritten && result.Error.empty())
        result.Error = error;
    if (result.LogWritten)
        Step(6);

    result.Archived = true;
    if (program.ArchiveConnection) {
        for (const ClosedConnection& c : commit.Connections) {
            error.clear();
            if (!program.ArchiveConnection(c, &error)) {
                result.Archived = false;
                if (result.Error.empty())
                    result.Error = error;
                break;
            }
        }
    }
    if (result.Archived)
        Step(7);
    return result;
}

RecoveryResult RecoverOpenSession(Program& program, const Clock& clock, const std::string& currentLink)
{
    RecoveryResult result;
    std::error_code ec;
    if (!std::filesystem::exists(program.JournalPath, ec))
        return result;
    std::optional<Journal> read = ReadSessionJournal(program.JournalPath);
    if (!read) {
        std::filesystem::path aside = program.JournalPath;
        aside += ".damaged";
        std::filesystem::rename(program.JournalPath, aside, ec);
        result.Error = Tr("上次未正常结束的连接记录已损坏，无法补记，已另存为 %1。", {aside.string()});
        return result;
    }
    Journal journal = std::move(*read);

    if (journal.Open) {
        const SessionState& s = *journal.Open;
        // The same link in the same boot, and the boot clock has not gone back:
        // the line never dropped, only the program stopped.
        if (!currentLink.empty() && s.LinkIdentity == currentLink && !s.BootId.empty()
            && s.BootId == program.BootId && clock.SteadyMillis() >= s.SteadyStartMillis) {
            result.Resume = s;
        } else {
            std::array<UsageRecord, 4> records;
            if (journal.Closing) {
                records = journal.Closing->Records;
            } else {
                std::string error;
                StatisticsFile file(program.StatisticsPath);
                Statistics stats;
                if (!file.Open(&error) || !stats.LoadFrom(file, s.SessionStart, &error)) {
                    result.Error = error;
                    return result;
                }
                records = stats.Records;
            }
            ClosedConnection c = CloseAsOf(s, program.Tariffs.Telephone.TelUnit);
            // The session counts in the periods it started in; a period that has
            // ended since then has no record any more.
            const DateTime start = s.SessionStart;
            for (Period p : {Today, Week, Month, Total}) {
                UsageRecord& r = records[size_t(p)];
                if (!PeriodCurrent(
                        p, start, r.StartDate, program.RolloverWeekDay, program.Reset.ResetMonthDay))
                    continue;
                r.Connections = static_cast<int16_t>(std::min<int32_t>(r.Connections + 1, INT16_MAX));
                r.Seconds = AddClamped(r.Seconds, c.Seconds);
                r.CallUnits = AddClamped(r.CallUnits, s.UnitsCharged);
                r.TelFee = AddClamped(r.TelFee, s.SessionTelFee);
                r.NetFee = AddClamped(r.NetFee, s.SessionNetFee);
            }
            if (!journal.Closing)
                journal.Closing = PendingCommit{};
            journal.Closing->Records = records;
            journal.Closing->Connections.push_back(c);
            journal.Open.reset();
            std::string error;
            // Nothing is written anywhere else until the journal says what will be.
            if (!WriteSessionJournal(program.JournalPath, journal, &error)) {
                result.Error = error;
                return result;
            }
            Step(1);
            result.Recovered = true;
            result.Report = Tr("Tollix 上次没有正常退出，当时的连接已补记到统计和历史记录中：") + "\n"
                + Tr("连接名称：%1", {c.Name.empty() ? Tr("(无名称)") : c.Name}) + "\n"
                + Tr("开始连接时间：%1", {DateTimeText(start)}) + "\n"
                + Tr("持续时间：%1", {DurationText(c.Seconds)}) + "\n"
                + Tr("电话费：%1 元，入网费：%2 元", {MoneyText(c.TelFee), MoneyText(c.NetFee)});
        }
    }

    if (journal.Closing) {
        CommitResult commit = RunCommit(program, *journal.Closing);
        if (!commit.Done()) {
            result.Error = commit.Error;
            result.Unwritten = journal.Closing;
            return result;
        }
        program.Stats.Records = journal.Closing->Records;
        program.Stats.LoadRunningTotals();
        journal.Closing.reset();
        if (journal.Open)
            WriteSessionJournal(program.JournalPath, journal);
        else
            RemoveFileDurably(program.JournalPath);
        if (!result.Recovered) {
            result.Recovered = true;
            result.Report = Tr("上次未能写入的连接记录现已补写到统计和历史记录中。");
        }
    }
    return result;
}

}  // namespace tollix
