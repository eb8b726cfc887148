#include "gui/main/SessionBox.h"

#include <QGridLayout>
#include <QLabel>

#include "gui/common/EngineText.h"
#include "gui/main/ValueRows.h"
#include "meter/ConnectionSession.h"

namespace tollix {

SessionBox::SessionBox(QWidget* parent)
    : QGroupBox(tr("上一次连接"), parent)
{
    setObjectName("Frame1");
    AddValueRows(new QGridLayout(this), this, nullptr,
        {{tr("当前连接名称:"), "lblCurrentName", &currentName_},
            {tr("开始连接时间:"), "lblStarttime", &startTime_},
            {tr("至今持续时间:"), "lblDuration", &duration_},
            {tr("此次连接电话费："), "lblCurrentTelFee", &telFee_},
            {tr("此次连接入网费:"), "lblCurrentNetFee", &netFee_},
            {tr("此次连接总费用:"), "lblTotalPrice", &totalPrice_}});
}

void SessionBox::ShowStarted(const ConnectionSession& session)
{
    startTime_->setText(Q(session.StartTimeText()));
    setTitle(tr("本次连接"));
}

void SessionBox::ShowEnded()
{
    setTitle(tr("上一次连接"));
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
