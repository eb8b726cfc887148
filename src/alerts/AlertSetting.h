#pragma once

#include <cstdint>
#include <string>

#include "base/Money.h"
#include "config/ProfileFile.h"

namespace tollix {

// One of the day, week and month limits.
struct AlertSetting {
    int16_t Check = 0;          // the alert is on
    int16_t Hours = 0;          // time limit in whole hours
    int16_t WaveCheck = 0;      // play FilePath with the warning
    int16_t Minutes = 0;        // repeat the warning every this many checks (0 or below: every check)
    std::string FilePath;       // the sound file (at most 39 bytes as stored on disk)
    int16_t AlertStandard = 0;  // 0 connected time against Hours, anything else cost against Fee
    Money Fee;                  // cost limit in yuan
};

struct AlertSettings {
    AlertSetting DayAlert, WeekAlert, MonthAlert;
};

// Loads the three alerts from "Alert Setting" (day, week, month).
AlertSettings InitialAlertSettings(const ProfileFile& file);

}  // namespace tollix
