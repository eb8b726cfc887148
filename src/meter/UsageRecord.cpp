#include "meter/UsageRecord.h"

#include <bit>

namespace tollix {

namespace {

void PutLE(unsigned char* out, uint64_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out[i] = static_cast<unsigned char>(value >> (8 * i));
}

uint64_t GetLE(const unsigned char* in, int bytes)
{
    uint64_t value = 0;
    for (int i = bytes - 1; i >= 0; --i)
        value = (value << 8) | in[i];
    return value;
}

}  // namespace

std::array<unsigned char, kUsageRecordSize> EncodeUsageRecord(const UsageRecord& record)
{
    std::array<unsigned char, kUsageRecordSize> bytes{};
    PutLE(&bytes[0], std::bit_cast<uint64_t>(record.StartDate.Days()), 8);
    PutLE(&bytes[8], static_cast<uint64_t>(record.TelFee.Raw()), 8);
    PutLE(&bytes[16], static_cast<uint64_t>(record.NetFee.Raw()), 8);
    PutLE(&bytes[24], static_cast<uint16_t>(record.Connections), 2);
    PutLE(&bytes[26], static_cast<uint32_t>(record.Seconds), 4);
    PutLE(&bytes[30], static_cast<uint32_t>(record.CallUnits), 4);
    return bytes;
}

UsageRecord DecodeUsageRecord(const unsigned char* bytes34)
{
    UsageRecord record;
    record.StartDate = DateTime::FromDays(std::bit_cast<double>(GetLE(bytes34, 8)));
    record.TelFee = Money::FromRaw(static_cast<int64_t>(GetLE(bytes34 + 8, 8)));
    record.NetFee = Money::FromRaw(static_cast<int64_t>(GetLE(bytes34 + 16, 8)));
    record.Connections = static_cast<int16_t>(GetLE(bytes34 + 24, 2));
    record.Seconds = static_cast<int32_t>(GetLE(bytes34 + 26, 4));
    record.CallUnits = static_cast<int32_t>(GetLE(bytes34 + 30, 4));
    return record;
}

}  // namespace tollix
