#include "gui/main/TotalsBox.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "gui/common/EngineText.h"
#include "gui/main/ValueRows.h"
#include "meter/Program.h"

namespace tollix {

TotalsBox::TotalsBox(QWidget* parent)
    : QGroupBox(tr("合计"), parent)
{
    setObjectName("Frame2");
    auto* layout = new QVBoxLayout(this);
    auto* options = new QHBoxLayout;
    const QString periods[] = {tr("今天"), tr("这个星期"), tr("这个月"), tr("不定时间段")};
    for (int i = 0; i < 4; ++i) {
        QRadioButton* option = new QRadioButton(periods[i], this);
        option->setObjectName(QString("otnSelectDay_%1").arg(i));
        options->addWidget(option);
        connect(option, &QRadioButton::toggled, this, [this, i](bool on) {
            if (on)
                emit periodChosen(i);
        });
        periodOptions_[size_t(i)] = option;
    }
    {
        const QSignalBlocker quiet(periodOptions_[0]);
        periodOptions_[0]->setChecked(true);
    }
    layout->addLayout(options);
    auto* grid = new QGridLayout;
    AddValueRows(grid, this, "Label1",
        {{tr("起算日期:"), "lblStartDate", &startDate_}, {tr("总耗时:"), "lblTotalTime", &totalTime_},
            {tr("上网次数:"), "lblConnectionTimes", &connections_},
            {tr("总费用:"), "lblTotalCost", &totalCost_}, {tr("入网费:"), "lblNetFee", &netFee_},
            {tr("电话费:"), "lblTelfee", &telFee_}});
    layout->addLayout(grid);
}

void TotalsBox::Show(const Program& program, int period)
{
    if (period < 0 || period > 3)
        return;
    const UsageRecord& r = program.Stats.Records[size_t(period)];
    const Money t = program.Stats.RunningTelFee[size_t(period)];
    const Money n = program.Stats.RunningNetFee[size_t(period)];
    startDate_->setText(Q(DateText(r.StartDate)));
    totalTime_->setText(tr("%1 (%2个电话)").arg(Q(DurationText(r.Seconds))).arg(r.CallUnits));
    connections_->setText(tr("%1次").arg(r.Connections));
    telFee_->setText(tr("%1 元").arg(Q(MoneyText(t))));
    // The month of a rated-hours connection carries its fixed monthly fee.
    std::string fixed;
    const int16_t idx = program.FeeTypeTwoIndex;
    if (period == Month && program.FeeTypeTwo && idx >= 1 && idx <= program.Tariffs.ConnectionCount())
        fixed = "+" + MoneyText(program.Tariffs.Connection(idx).FixFee);
    netFee_->setText(tr("%1 元").arg(Q(MoneyText(n) + fixed)));
    totalCost_->setText(tr("%1 元").arg(Q(MoneyText(n + t) + fixed)));
}

}  // namespace tollix
