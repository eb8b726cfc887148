#include "gui/main/SessionBox.h"

#include <QGridLayout>
#include <QLabel>

#include "gui/common/EngineText.h"
#include "gui/main/ValueRows.h"
#include "meter/ConnectionSession.h"

namespace tollix {

SessionBox::SessionBox(QWidget* parent)
    : QGroupBox("上一次连接", parent)
{
    setObjectName("Frame1");
    AddValueRows(new QGridLayout(this), this, nullptr,
        {{"当前连接名称:", "lblCurrentName", &currentName_}, {"开始连接时间:", "lblStarttime", &startTime_},
            {"至今持续时间:", "lblDuration", &duration_}, {"此次连接电话费：", "lblCurrentTelFee", &telFee_},
            {"此次连接入网费:", "lblCurrentNetFee", &netFee_},
            {"此次连接总费用:", "lblTotalPrice", &totalPrice_}});
}

void SessionBox::ShowStarted(const ConnectionSession& session)
{
    startTime_->setText(Q(session.StartTimeText()));
    setTitle("本次连接");
}

void SessionBox::ShowEnded()
{
    setTitle("上一次连接");
}

void SessionBox::ShowTick(const ConnectionSession& session, const TickResult& result, const QString& duration)
{
    if (result.UnitCharged)
        telFee_->setText(Q(session.TelFeeLabel()));
    if (result.MinuteCharged) {
        netFee_->setText(Q(session.NetFeeLabel()));
        totalPrice_->setText(Q(session.TotalPriceLabel()));
    }
    duration_->setText(duration);
    currentName_->setText(Q(session.CurrentName()));
}

}  // namespace tollix
