#include "meter/ConnectionSession.h"

#include "base/Clock.h"
#include "base/SafeFile.h"
#include "base/Translation.h"
#include "history/ConnectionLog.h"
#include "meter/Program.h"
#include "meter/SessionJournal.h"
#include "tariff/Fees.h"

namespace tollix {

namespace {

constexpr int32_t kDefaultTelUnit = 180;

std::string Trim(const std::string& s)
{
    size_t b = s.find_first_not_of(' ');
    if (b == std::string::npos)
        return {};
    size_t e = s.find_last_not_of(' ');
    return s.substr(b, e - b + 1);
}

void AppendError(TickResult& result, const std::string& error)
{
    if (!result.Error.empty())
        result.Error += "\n";
    result.Error += error;
}

// Counters of a damaged or very old record stop at their largest value
// instead of wrapping round to negative numbers.
int16_t SaturatingAdd16(int16_t a, int32_t b)
{
    const int32_t sum = int32_t(a) + b;
    return static_cast<int16_t>(sum > INT16_MAX ? INT16_MAX : sum < INT16_MIN ? INT16_MIN : sum);
}

int32_t SaturatingAdd32(int32_t a, int32_t b)
{
    const int64_t sum = int64_t(a) + b;
    return static_cast<int32_t>(sum > INT32_MAX ? INT32_MAX : sum < INT32_MIN ? INT32_MIN : sum);
}

}  // namespace

std::string VersionTitle()
{
    return "Tollix " + std::to_string(TOLLIX_VERSION_MAJOR) + "." + std::to_string(TOLLIX_VERSION_MINOR);
}

ConnectionSession::ConnectionSession(Program& program, const Clock& clock)
    : program_(program)
    , clock_(clock)
{ }

int32_t ConnectionSession::TelUnit() const
{
    int32_t unit = program_.Tariffs.Telephone.TelUnit;
    return unit > 0 ? unit : kDefaultTelUnit;
}

int32_t ConnectionSession::ElapsedSeconds() const
{
    // The steady clock keeps counting through suspend and ignores changes of the
    // wall clock, so a clock correction neither loses nor invents connected time.
    int64_t millis = clock_.SteadyMillis() - state_.SteadyStartMillis;
    if (millis < 0)
        millis = 0;
    int64_t seconds = millis / 1000 + state_.ProAddSeconds;
    return seconds > INT32_MAX ? INT32_MAX : static_cast<int32_t>(seconds);
}

bool ConnectionSession::SaveJournal(std::string* error)
{
    Journal journal;
    journal.Closing = pending_;
    if (!idle_)
        journal.Open = state_;
    journalSaved_ = WriteSessionJournal(program_.JournalPath, journal, error);
    return journalSaved_;
}

bool ConnectionSession::Flush(std::string* error)
{
    if (!pending_)
        return true;
    bool settle = !journalSaved_;
    // Between sessions memory holds exactly what Price.DB should, also after
    // the user zeroed a period; the journal follows it before the file does.
    if (idle_ && pending_->Records != program_.Stats.Records) {
        pending_->Records = program_.Stats.Records;
        settle = true;
    }
    // No data file is touched before the journal says what they will hold: a
    // crash meanwhile would count the connection a second time.
    if (settle) {
        std::string why;
        if (!SaveJournal(&why)) {
            lastCommit_ = CommitResult{};
            lastCommit_.Error = why;
            if (error)
                *error = why;
            return false;
        }
        if (CommitStepHook)
            CommitStepHook(1);
    }
    // A retry every second must not flush the same four records every second.
    lastCommit_ = RunCommit(program_, *pending_, recordsWritten_ == pending_->Records);
    if (lastCommit_.StatisticsWritten)
        recordsWritten_ = pending_->Records;
    if (!lastCommit_.Done()) {
        if (error)
            *error = lastCommit_.Error;
        return false;
    }
    pending_.reset();
    recordsWritten_.reset();
    if (idle_)
        journalSaved_ = RemoveFileDurably(program_.JournalPath);
    else
        SaveJournal();
    return true;
}

TickResult ConnectionSession::Tick(bool connected, const std::string& connectionName, const LinkInfo& link)
{
    TickResult result;
    // An end that could not be written is tried again every tick, quietly: the
    // user was told when it failed.
    // The tick that ends a session writes it together with this one.
    if (pending_ && (idle_ || connected))
        Flush(nullptr);
    if (!connected) {
        if (!idle_)
            End(result);
        return result;
    }
    if (idle_)
        Start(connectionName, link.Identity, result);
    ConnectedWork(connectionName, link, result);
    // Units and minutes begin at least once a minute, so a crash loses at most
    // the last minute of the connection.
    if (result.Started || result.UnitCharged || result.MinuteCharged) {
        std::string error;
        if (!SaveJournal(&error) && !journalWarned_) {
            // Said once a session: the meter goes on, but a crash now would lose it.
            journalWarned_ = true;
            AppendError(result,
                Tr("无法保存本次连接的临时记录，如果程序此时意外退出，本次连接将无法补记。") + "\n" + error);
        }
    }
    return result;
}

TickResult ConnectionSession::EndNow()
{
    TickResult result;
    if (!idle_) {
        End(result);
    } else {
        std::string error;
        if (!Flush(&error))
            AppendError(result, error);
    }
    return result;
}

void ConnectionSession::Discard()
{
    program_.StatsFile.Close();
    // Connections that ended earlier but could not be written yet still count.
    // Tried while the session is still open, so that its partial counts in
    // memory never join what those ends settled.
    Flush(nullptr);
    const bool wasOpen = !idle_;
    state_.SessionSeconds = 0;
    idle_ = true;
    if (!pending_)
        RemoveFileDurably(program_.JournalPath);
    else if (wasOpen)
        SaveJournal();
}

bool ConnectionSession::Adopt(const RecoveryResult& recovery)
{
    auto& stats = program_.Stats;
    const DateTime now = clock_.Now();
    if (recovery.Unwritten) {
        // Price.DB could not take them: memory holds them instead, and they go
        // on being written until the file takes them.
        pending_ = recovery.Unwritten;
        stats.Records = pending_->Records;
        StatisticsFile file(program_.StatisticsPath);
        file.Open();
        stats.RollOverPeriods(file, now, program_.RolloverWeekDay, program_.Reset.ResetMonthDay);
        pending_->Records = stats.Records;
    }
    if (!recovery.Resume)
        return false;
    state_ = *recovery.Resume;
    idle_ = false;
    journalWarned_ = false;
    // Counted again in the periods it started in, as it was before the restart.
    auto& records = stats.Records;
    const DateTime start = state_.SessionStart;
    state_.Counted = {SameDayPeriod(start, records[Today].StartDate),
        SameWeekPeriod(start, records[Week].StartDate, program_.RolloverWeekDay),
        SameMonthPeriod(start, records[Month].StartDate, program_.Reset.ResetMonthDay, start), true};
    for (size_t i = 0; i < 4; ++i) {
        state_.BaseSeconds[i] = records[i].Seconds;
        if (!state_.Counted[i])
            continue;
        records[i].Connections = SaturatingAdd16(records[i].Connections, 1);
        records[i].CallUnits = SaturatingAdd32(records[i].CallUnits, state_.UnitsCharged);
        stats.RunningTelFee[i] += state_.SessionTelFee;
        stats.RunningNetFee[i] += state_.SessionNetFee;
    }
    displayName_ = state_.ConnectionName;
    SaveJournal();
    return true;
}

std::string ConnectionSession::UnwrittenText() const
{
    if (!pending_)
        return {};
    std::string what;
    if (!lastCommit_.StatisticsWritten)
        what += Tr("统计文件 %1", {program_.StatisticsPath.string()}) + "\n";
    if (!lastCommit_.LogWritten)
        what += Tr("连接记录文件 %1", {program_.LogPath.string()}) + "\n";
    if (!lastCommit_.Archived)
        what += Tr("使用记录存档") + "\n";
    std::string text
        = Tr("%1 次已结束的连接还没有写入：", {std::to_string(pending_->Connections.size())}) + "\n" + what;
    if (!lastCommit_.Error.empty())
        text += Tr("原因：%1", {lastCommit_.Error}) + "\n";
    if (journalSaved_)
        text += Tr("它们保存在 %1 中，下次启动 Tollix 时会再次写入，请不要删除这个文件。",
            {program_.JournalPath.string()});
    else
        text += Tr("也无法保存到 %1 中，退出后它们将会丢失。", {program_.JournalPath.string()});
    return text;
}

void ConnectionSession::Start(
    const std::string& connectionName, const std::string& linkIdentity, TickResult& result)
{
    const DateTime now = clock_.Now();
    std::string error;
    // Opened for the roll-over only: a file replaced during the session is
    // opened afresh at its end.
    StatisticsFile file(program_.StatisticsPath);
    if (!file.Open(&error)
        || !program_.Stats.RollOverPeriods(
            file, now, program_.RolloverWeekDay, program_.Reset.ResetMonthDay, &error))
        result.Error = error;  // the session is still timed and rolled in memory; the end tries again
    if (!file.IsOpen())
        program_.Stats.RollOverPeriods(
            file, now, program_.RolloverWeekDay, program_.Reset.ResetMonthDay, nullptr);
    file.Close();
    if (pending_)
        pending_->Records = program_.Stats.Records;
    idle_ = false;
    journalWarned_ = false;
    // A negative delay from a hand-edited file would make the first seconds count
    // backwards; no delay is the only sensible reading of it.
    state_ = SessionState{};
    state_.SessionKey = NewSessionKey();
    state_.ProAddSeconds = program_.Reset.ProAddSeconds > 0 ? program_.Reset.ProAddSeconds : 0;
    state_.SessionStart = now.AddSeconds(-state_.ProAddSeconds);
    state_.UtcOffsetSeconds = UtcOffsetSeconds(state_.SessionStart);
    state_.SteadyStartMillis = clock_.SteadyMillis();
    state_.BootId = program_.BootId;
    state_.LinkIdentity = linkIdentity;
    result.Started = true;

    for (int i = 0; i < 4; ++i)
        state_.BaseSeconds[i] = program_.Stats.Records[size_t(i)].Seconds;

    state_.ConnectionName = Trim(connectionName);
    state_.TariffIndex = program_.Tariffs.FindConnectionTariff(state_.ConnectionName);
    for (auto& record : program_.Stats.Records)
        record.Connections = SaturatingAdd16(record.Connections, 1);
    result.PlayStartSound = program_.PlayWave;
}

void ConnectionSession::ConnectedWork(
    const std::string& connectionName, const LinkInfo& link, TickResult& result)
{
    // Saved with the journal's next write, at most a minute on, as the time is.
    if (link.ReceivedBytes)
        state_.ReceivedBytes = link.ReceivedBytes;
    if (link.SentBytes)
        state_.SentBytes = link.SentBytes;
    const DateTime now = clock_.Now();
    const std::string trimmed = Trim(connectionName);
    if (!trimmed.empty())
        state_.ConnectionName = trimmed;
    displayName_ = connectionName;
    auto& records = program_.Stats.Records;
    auto& tariffs = program_.Tariffs;

    // Every call unit that has begun is charged, each at the tariff of the moment
    // it began; after a stall of the machine the missed ones are caught up.
    const int32_t unit = TelUnit();
    int32_t e = ElapsedSeconds();
    while (e / unit >= state_.UnitsCharged) {
        const int32_t k = state_.UnitsCharged;
        const DateTime moment = k == e / unit ? now : now.AddSeconds(-(int64_t(e) - int64_t(k) * unit));
        const Money price = CallUnitPrice(tariffs.Telephone, unit, moment);
        ++state_.UnitsCharged;
        for (size_t i = 0; i < 4; ++i) {
            if (!state_.Counted[i])
                continue;
            records[i].CallUnits = SaturatingAdd32(records[i].CallUnits, 1);
            program_.Stats.RunningTelFee[i] += price;
        }
        state_.SessionTelFee += price;
        currentUnitPrice_ = CallUnitPrice(tariffs.Telephone, unit, now);
        result.UnitCharged = true;
    }

    state_.SessionSeconds = e;
    for (size_t i = 0; i < 4; ++i)
        if (state_.Counted[i])
            records[i].Seconds = SaturatingAdd32(state_.BaseSeconds[i], e);

    e = ElapsedSeconds();
    while (e / 60 >= state_.MinutesCharged) {
        const int32_t k = state_.MinutesCharged;
        const bool newest = k == e / 60;
        const DateTime moment = newest ? now : now.AddSeconds(-(int64_t(e) - int64_t(k) * 60));
        const int32_t monthSeconds = newest ? records[Month].Seconds : state_.BaseSeconds[Month] + k * 60;
        if (k < 5) {
            // The connection's name may resolve only after it came up: price the
            // minutes so far afresh under the tariff of the name it now has.
            const int16_t idx = tariffs.FindConnectionTariff(state_.ConnectionName);
            if (idx != state_.TariffIndex && idx >= 1 && idx <= tariffs.ConnectionCount()) {
                state_.TariffIndex = idx;
                const Money sofar = NetFeeFor(tariffs.Connection(idx), k * 60, monthSeconds, moment);
                state_.SessionNetFee = sofar;
                for (size_t i = 0; i < 4; ++i)
                    if (state_.Counted[i])
                        program_.Stats.RunningNetFee[i] = records[i].NetFee + sofar;
            }
        }
        Money price;
        const int16_t idx = state_.TariffIndex;
        if (idx >= 1 && idx <= tariffs.ConnectionCount()) {
            const ConnectionTariff& tariff = tariffs.Connection(idx);
            price = NetFeeFor(tariff, 60, monthSeconds, moment);
            program_.FeeTypeTwo = tariff.FeeType == 2;
            program_.FeeTypeTwoIndex = idx;
            currentMinutePrice_ = newest ? price : NetFeeFor(tariff, 60, records[Month].Seconds, now);
        }
        for (size_t i = 0; i < 4; ++i)
            if (state_.Counted[i])
                program_.Stats.RunningNetFee[i] += price;
        state_.SessionNetFee += price;
        ++state_.MinutesCharged;
        result.MinuteCharged = true;
    }
}

void ConnectionSession::End(TickResult& result)
{
    auto& records = program_.Stats.Records;
    int32_t seconds = state_.SessionSeconds;
    if (seconds % 60 != 0)
        seconds += 60 - seconds % 60;
    state_.SessionSeconds = seconds;
    for (size_t i = 0; i < 4; ++i) {
        if (!state_.Counted[i])
            continue;
        records[i].Seconds = SaturatingAdd32(state_.BaseSeconds[i], seconds);
        records[i].TelFee = program_.Stats.RunningTelFee[i];
        records[i].NetFee = program_.Stats.RunningNetFee[i];
    }

    ClosedConnection closed;
    closed.SessionKey = state_.SessionKey;
    closed.Start = state_.SessionStart;
    closed.UtcOffsetSeconds = state_.UtcOffsetSeconds;
    closed.Seconds = seconds;
    closed.Name = state_.ConnectionName;
    closed.TelFee = state_.SessionTelFee;
    closed.NetFee = state_.SessionNetFee;
    closed.CallUnits = state_.UnitsCharged;
    closed.Minutes = state_.MinutesCharged;
    closed.ReceivedBytes = state_.ReceivedBytes;
    closed.SentBytes = state_.SentBytes;
    closed.Backend = LinkBackend(state_.LinkIdentity);
    ConnectionLogEntry& entry = closed.Log;
    entry.ConnectionName = FixName15(state_.ConnectionName);
    entry.StartTime = state_.SessionStart;
    entry.Seconds = seconds;
    entry.TelFee = state_.SessionTelFee;
    entry.NetFee = state_.SessionNetFee;
    const int32_t units = seconds / TelUnit() + 1;
    entry.CallUnits = static_cast<int16_t>(units > INT16_MAX ? INT16_MAX : units);
    lastEntry_ = entry;

    if (!pending_)
        pending_ = PendingCommit{};
    pending_->Records = records;
    pending_->Connections.push_back(std::move(closed));
    idle_ = true;
    result.Ended = true;
    journalSaved_ = false;  // the journal on disk does not hold this end yet
    std::string error;
    if (!Flush(&error))
        AppendError(result, error);
}

std::string ConnectionSession::StartTimeText() const
{
    return DateTimeText(state_.SessionStart);
}

std::string ConnectionSession::DurationLabel() const
{
    return Tr("%1 (%2个电话)",
        {DurationText(state_.SessionSeconds), std::to_string(state_.SessionSeconds / TelUnit() + 1)});
}

std::string ConnectionSession::TelFeeLabel() const
{
    return Tr("%1元  (现在%2元/个电话)", {MoneyText(state_.SessionTelFee), MoneyText(currentUnitPrice_)});
}

std::string ConnectionSession::NetFeeLabel() const
{
    return Tr("%1元  (现在%2元/分钟)", {MoneyText(state_.SessionNetFee), MoneyText(currentMinutePrice_)});
}

std::string ConnectionSession::TotalPriceLabel() const
{
    return Tr("%1 元", {MoneyText(state_.SessionTelFee + state_.SessionNetFee)});
}

}  // namespace tollix
