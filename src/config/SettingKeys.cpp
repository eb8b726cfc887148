#include "config/SettingKeys.h"

namespace tollix {

namespace {

constexpr size_t kOtherFormBuffer = 256;

int32_t ReadInt(const ProfileFile& file, std::string_view section, const SettingInfo& info)
{
    return file.ReadInt(section, info.key, info.defaultInt);
}

int16_t ReadInt16(const ProfileFile& file, std::string_view section, const SettingInfo& info)
{
    return NarrowTo16(ReadInt(file, section, info));
}

std::string ReadText(const ProfileFile& file, std::string_view section, const SettingInfo& info)
{
    if (info.form == SettingForm::Text)
        return file.ReadText(section, info.key, info.defaultText, info.bufferSize);
    return file.ReadText(section, info.key, std::to_string(info.defaultInt), kOtherFormBuffer);
}

ProfileWriteResult Written(ProfileWriteResult result, std::string* error)
{
    if (!result && error)
        *error = result.Message;
    return result;
}

}  // namespace

int32_t ReadSettingInt(const ProfileFile& file, Setting s)
{
    return ReadInt(file, Info(s).section, Info(s));
}

int16_t ReadSettingInt16(const ProfileFile& file, Setting s)
{
    return ReadInt16(file, Info(s).section, Info(s));
}

Money ReadSettingMoney(const ProfileFile& file, Setting s)
{
    return SettingMoney(Info(s), ReadSettingInt(file, s));
}

std::string ReadSettingText(const ProfileFile& file, Setting s)
{
    return ReadText(file, Info(s).section, Info(s));
}

ProfileWriteResult WriteSetting(ProfileFile& file, Setting s, std::string_view value, std::string* error)
{
    return Written(file.Write(Info(s).section, Info(s).key, value), error);
}

int32_t ReadConnectionInt(const ProfileFile& file, std::string_view connection, ConnectionSetting s)
{
    return ReadInt(file, connection, Info(s));
}

int16_t ReadConnectionInt16(const ProfileFile& file, std::string_view connection, ConnectionSetting s)
{
    return ReadInt16(file, connection, Info(s));
}

Money ReadConnectionMoney(const ProfileFile& file, std::string_view connection, ConnectionSetting s)
{
    return SettingMoney(Info(s), ReadConnectionInt(file, connection, s));
}

std::string ReadConnectionText(const ProfileFile& file, std::string_view connection, ConnectionSetting s)
{
    return ReadText(file, connection, Info(s));
}

ProfileWriteResult WriteConnectionSetting(ProfileFile& file, std::string_view connection, ConnectionSetting s,
    std::string_view value, std::string* error)
{
    return Written(file.Write(connection, Info(s).key, value), error);
}

}  // namespace tollix
