#include "gui/settings/TelFeePage.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include "base/Clock.h"
#include "gui/settings/DiscountPeriodBox.h"
#include "gui/settings/PageWidgets.h"
#include "gui/settings/SettingsContext.h"
#include "meter/Program.h"

namespace tollix {

namespace {

// The telephone section holds the same period keys as a connection's.
Setting TelephoneKey(ConnectionSetting field)
{
    switch (field) {
    case ConnectionSetting::StartHour:
        return Setting::TelStartHour;
    case ConnectionSetting::StartMinute:
        return Setting::TelStartMinute;
    case ConnectionSetting::EndHour:
        return Setting::TelEndHour;
    case ConnectionSetting::EndMinute:
        return Setting::TelEndMinute;
    case ConnectionSetting::EverydayFlag:
        return Setting::TelEverydayFlag;
    case ConnectionSetting::SaturdayFlag:
        return Setting::TelSaturdayFlag;
    default:
        return Setting::TelSundayFlag;
    }
}

}  // namespace

TelFeePage::TelFeePage(SettingsContext& context, QWidget* parent)
    : QWidget(parent)
    , context_(context)
{
    setObjectName("SSTab1_1");
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    units_[0] = new QRadioButton(tr("每一分钟"), this);
    units_[0]->setObjectName("otnTelUnit_0");
    units_[1] = new QRadioButton(tr("每三分钟"), this);
    units_[1]->setObjectName("otnTelUnit_1");
    fullFee_ = TextBox("txtTelFee", "0.12", this);
    halfFee_ = TextBox("txtTelHalf", "0.03", this);
    grid->addWidget(units_[0], 0, 0);
    grid->addWidget(units_[1], 1, 0);
    grid->addWidget(new QLabel(tr("为一个电话,每个电话为"), this), 0, 1, 2, 1);
    grid->addWidget(fullFee_, 0, 2, 2, 1);
    grid->addWidget(new QLabel(tr("元"), this), 0, 3, 2, 1);
    grid->addWidget(new QLabel(tr("折价时间内每个电话为:"), this), 2, 0, 1, 2);
    grid->addWidget(halfFee_, 2, 2);
    grid->addWidget(new QLabel(tr("元"), this), 2, 3);
    layout->addLayout(grid);
    period_ = new DiscountPeriodBox("Frame2", "Tel", "cekTelEveryDay", this);
    layout->addWidget(period_);
    layout->addStretch();

    for (int i = 0; i < 2; ++i)
        connect(units_[size_t(i)], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on && context_.recording)
                context_.Record(context_.editor.TelephoneUnit(i));
        });
    OnUserEdit(context_, fullFee_,
        [this](std::string_view text) { return context_.editor.TelephoneFee(Setting::TelFullFee, text); });
    OnUserEdit(context_, halfFee_,
        [this](std::string_view text) { return context_.editor.TelephoneFee(Setting::TelHalfFee, text); });
    connect(period_, &DiscountPeriodBox::periodPicked, this,
        [this](ConnectionSetting field, const QString& text) {
            if (context_.recording)
                context_.Record(context_.editor.TelephonePeriod(TelephoneKey(field), text.toStdString()));
        });
    connect(period_, &DiscountPeriodBox::flagToggled, this, [this](ConnectionSetting field, bool on) {
        if (context_.recording)
            context_.Record(context_.editor.TelephoneFlag(TelephoneKey(field), on));
    });
    connect(period_, &DiscountPeriodBox::holidayToggled, this, [this](bool on) {
        if (!context_.recording)
            return;
        context_.Record(context_.editor.TelephoneHoliday(on, context_.clock.Now()));
        emit holidayChanged();
    });
}

void TelFeePage::Fill()
{
    const TelephoneTariff t = context_.program.Tariffs.Telephone;
    fullFee_->setText(QString::fromStdString(MoneyText(t.FullFee)));
    halfFee_->setText(QString::fromStdString(MoneyText(t.HalfFee)));
    period_->Fill(t);
    // Set here only: ticking "每天" later leaves the combos as they opened.
    period_->EnableTimes(t.EverydayFlag != 0);
    units_[t.TelUnit == 60 ? 0 : 1]->setChecked(true);
}

}  // namespace tollix
