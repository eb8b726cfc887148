#pragma once

#include <array>
#include <cstdint>

#include "base/DateTime.h"
#include "base/Money.h"

namespace tollix {

// One statistics period: today, this week, this month or all time.
struct UsageRecord {
    DateTime StartDate;  // when the period's statistics started
    Money TelFee;
    Money NetFee;
    int16_t Connections = 0;
    int32_t Seconds = 0;
    int32_t CallUnits = 0;

    bool operator==(const UsageRecord&) const = default;
};

// The four periods; period p is record p + 1 of Price.DB.
enum Period { Today = 0, Week = 1, Month = 2, Total = 3 };

constexpr int kUsageRecordSize = 34;

// The 34 bytes of a record in Price.DB, little-endian, no padding:
// StartDate double, TelFee and NetFee as ten-thousandths in 64 bits,
// Connections 16 bits, Seconds and CallUnits 32 bits.
std::array<unsigned char, kUsageRecordSize> EncodeUsageRecord(const UsageRecord& record);

// Reads 34 bytes as they stand. A start date that is not a finite day count
// within years 100 to 9999 is read too (its counters may still be sound);
// Statistics::LoadFrom repairs it before anything shows or uses it.
UsageRecord DecodeUsageRecord(const unsigned char* bytes34);

}  // namespace tollix
