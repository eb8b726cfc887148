#include "dialup/DemoDialupService.h"
#include "base/Translation.h"

#include <algorithm>

namespace tollix {

namespace {

// One plain name, one in Chinese, one longer than the log's 15 characters.
const char* const kDemoEntries[] = {"163", "169多媒体通信网", "ChinaNet-Guangzhou-56K"};

}  // namespace

PhonebookResult DemoDialupService::Phonebook()
{
    PhonebookResult result;
    result.Entries.assign(std::begin(kDemoEntries), std::end(kDemoEntries));
    return result;
}

void DemoDialupService::Advance()
{
    if (clock_.SteadyMillis() < changeAt_)
        return;
    if (state_ == LineState::Dialling) {
        state_ = LineState::Up;
        upSince_ = changeAt_;
    } else if (state_ == LineState::HangingUp) {
        state_ = LineState::Down;
        name_.clear();
    }
}

bool DemoDialupService::IsConnected()
{
    Advance();
    return state_ == LineState::Up || state_ == LineState::HangingUp;
}

std::string DemoDialupService::GetDefaultConnection()
{
    return IsConnected() ? name_ : std::string();
}

LinkInfo DemoDialupService::CurrentLink()
{
    LinkInfo link;
    if (!IsConnected())
        return link;
    link.Interface = "demo0";
    link.Identity = "demo " + std::to_string(dials_) + " " + name_;
    const auto millis = static_cast<uint64_t>(std::max<int64_t>(0, clock_.SteadyMillis() - upSince_));
    link.ReceivedBytes = millis * 4;  // 4000 bytes a second
    link.SentBytes = millis / 2;      // 500 bytes a second
    return link;
}

DialResult DemoDialupService::DialConnection(const std::string& name)
{
    DialResult result;
    Advance();
    if (std::find(std::begin(kDemoEntries), std::end(kDemoEntries), name) == std::end(kDemoEntries)) {
        result.Error = Tr("“%1”不是演示线路电话簿中的连接，不能拨号。", {name});
        return result;
    }
    if (state_ != LineState::Down) {
        result.Error = Tr("演示线路正在使用中，请先挂断连接。");
        return result;
    }
    state_ = LineState::Dialling;
    name_ = name;
    ++dials_;
    changeAt_ = clock_.SteadyMillis() + kDialMillis;
    result.Started = true;
    return result;
}

void DemoDialupService::HangUp()
{
    Advance();
    if (state_ == LineState::Dialling) {
        state_ = LineState::Down;
        name_.clear();
    } else if (state_ == LineState::Up) {
        state_ = LineState::HangingUp;
        changeAt_ = clock_.SteadyMillis() + kHangUpMillis;
    }
}

}  // namespace tollix
