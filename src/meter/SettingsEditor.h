#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "alerts/AlertSetting.h"
#include "base/DateTime.h"
#include "base/Money.h"
#include "config/ProfileFile.h"
#include "config/SettingKeys.h"
#include "tariff/TariffSet.h"

namespace tollix {

// What the settings window does with one edit: convert the control's text,
// store it in the program-wide settings and write the one key of tollix.ini at
// once. The window only reads its controls and calls these; it holds no format
// of its own. A text that does not convert leaves memory as it was; what the
// file then receives is said per function. Every edit returns what its write
// came to: where the file did not take a value, memory keeps the old one, so
// what the program prices with is what the next start reads.
class SettingsEditor {
public:
    SettingsEditor(TariffSet& tariffs, AlertSettings& alerts, ResetSettings& reset, ProfileFile& file)
        : tariffs_(tariffs)
        , alerts_(alerts)
        , reset_(reset)
        , file_(file)
    { }

    // ---- a connection's internet tariff. `connection` is the selector's text:
    // memory goes to the connection it names (FindConnectionTariff), the file
    // writes to the section of that name.

    // FullFee, HalfFee, FixFee or ExcelFee from a typed amount; the key gets the
    // amount in thousandths of a yuan. A text that is not an amount writes nothing.
    ProfileWriteResult ConnectionFee(
        std::string_view connection, ConnectionSetting field, std::string_view text);
    // "Fix Hour" gets the text as typed; FixHour the amount rounded to a whole
    // number, halves to the even one.
    ProfileWriteResult FixHour(std::string_view connection, std::string_view text);
    // A discount-period combo's picked item: StartHour, StartMinute, EndHour, EndMinute.
    ProfileWriteResult ConnectionPeriod(
        std::string_view connection, ConnectionSetting field, std::string_view comboText);
    // EverydayFlag, SaturdayFlag or SundayFlag.
    ProfileWriteResult ConnectionFlag(std::string_view connection, ConnectionSetting field, bool on);
    // HolidayFlag, then the keys "Holiday Flag" and "Holiday Start" (now). The
    // main window's today-discount switches use it too.
    ProfileWriteResult ConnectionHoliday(std::string_view connection, bool on, DateTime now);
    // The fee type in memory only; the index of the connection (0 when there is none).
    int SetFeeType(std::string_view connection, int feeType);
    // The file side of choosing a fee type, once the tab shows it: "免费" zeroes
    // both per-minute fees (memory and keys), then "Fee Type" is written. When
    // the file refuses it, memory goes back to the fee type the file holds.
    ProfileWriteResult WriteFeeType(std::string_view connection, int feeType);

    // ---- the telephone tariff ("Telephone Fee")

    // TelFullFee or TelHalfFee. The key always gets the fee in memory, so a text
    // that is not an amount writes the last valid fee again.
    ProfileWriteResult TelephoneFee(Setting field, std::string_view text);
    // 0 "每一分钟" (60 s), 1 "每三分钟" (180 s); other indexes do nothing.
    ProfileWriteResult TelephoneUnit(int index);
    // TelStartHour, TelStartMinute, TelEndHour or TelEndMinute.
    ProfileWriteResult TelephonePeriod(Setting field, std::string_view comboText);
    // TelEverydayFlag, TelSaturdayFlag or TelSundayFlag.
    ProfileWriteResult TelephoneFlag(Setting field, bool on);
    // HolidayFlag, then "Holiday Start" (now) and "Holiday Flag".
    ProfileWriteResult TelephoneHoliday(bool on, DateTime now);

    // ---- the alerts: index 0 day, 1 week, 2 month; any other index does nothing.

    // Check boxes and the standard: key first for the boxes, memory first for the standard.
    ProfileWriteResult AlertCheck(int index, bool on);
    ProfileWriteResult AlertWaveCheck(int index, bool on);
    ProfileWriteResult AlertStandard(int index, int standard);  // 0 time, 1 fee
    // Text boxes: the key gets the text as typed, memory the converted value.
    ProfileWriteResult AlertHours(int index, std::string_view text);
    ProfileWriteResult AlertFee(int index, std::string_view text);
    ProfileWriteResult AlertMinutes(int index, std::string_view text);
    ProfileWriteResult AlertFilePath(int index, std::string_view text);

    // ---- reset days and connect delay

    // The picked weekday, 0 Sunday .. 6 Saturday; other positions do nothing.
    ProfileWriteResult ResetWeek(int position);
    ProfileWriteResult ResetMonth(std::string_view text);
    ProfileWriteResult ProAdd(std::string_view text);

    // ---- start settings: AutoHide or PlayWave, held in `held` ("-1" on, "0" off).
    ProfileWriteResult StartFlag(Setting key, bool on, bool& held);

private:
    ConnectionTariff* Find(std::string_view connection);
    AlertSetting* Alert(int index);

    TariffSet& tariffs_;
    AlertSettings& alerts_;
    ResetSettings& reset_;
    ProfileFile& file_;
};

// ---- conversions of typed text

// A typed amount of money (blanks around it, optional sign, at most one '.').
std::optional<Money> FeeFromText(std::string_view text);
// A typed number rounded to a whole one, halves to the even number; nothing
// when it is not a number or leaves the 16-bit range.
std::optional<int16_t> WholeNumber16(std::string_view text);
// The same within the 32-bit range.
std::optional<int32_t> WholeNumber32(std::string_view text);
// The alert sound path kept in memory: the whole text without trailing blanks
// (a padded name would name no file). It is never cut: a sound under a home
// folder is longer than the old 40-character field, and a cut path names no file.
std::string SoundPathFromText(std::string_view text);

}  // namespace tollix
