#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "alerts/AlertSetting.h"
#include "base/Money.h"

namespace tollix {

// What a period's record holds at the moment of a check: its Seconds, and its
// TelFee + NetFee (the cost of the period's finished connections).
struct PeriodMeasure {
    int32_t Seconds = 0;
    Money Fee;
};

// Alert codes: 1 day time, 2 week time, 3 month time, 4 day cost, 5 week cost,
// 6 month cost.
struct AlertCheckResult {
    bool ShowWindow = false;
    // The code whose text the warning window shows: that of the first period that
    // shows the window in this check (0 when none does).
    int16_t WindowKind = 0;
    // The code of the last period found over its limit, day -> week -> month (0
    // when none is), whether or not it showed the window.
    int16_t AlertKind = 0;
    // Sound files to play, in order; each replaces the one before, so the last
    // is the one heard.
    std::vector<std::string> SoundsToPlay;
};

// The once-a-minute check of the day, week and month limits during a
// connection, with its repeat counters: a period over its limit warns at the
// first check that finds it so, then at every Minutes-th such check (a Minutes of
// 0 or below counts as 1). The counters count checks with the limit exceeded and
// go back to 0 only through ResetCounters (when the connection ends).
class AlertMonitor {
public:
    AlertCheckResult Check(
        const AlertSettings& settings, PeriodMeasure day, PeriodMeasure week, PeriodMeasure month);
    void ResetCounters();

private:
    int counts_[3] = {0, 0, 0};
};

// The warning window's message for an alert code (any unknown code gives the
// month-cost text).
std::string AlertText(int16_t alertKind, const AlertSettings& settings);

}  // namespace tollix
