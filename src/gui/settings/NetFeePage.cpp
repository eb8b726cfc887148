#include "gui/settings/NetFeePage.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
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

using C = ConnectionSetting;

QString FeeText(Money fee)
{
    return QString::fromStdString(MoneyText(fee));
}

void EnableAll(std::initializer_list<QWidget*> widgets, const std::vector<QWidget*>& more, bool enabled)
{
    for (QWidget* w : widgets)
        w->setEnabled(enabled);
    for (QWidget* w : more)
        w->setEnabled(enabled);
}

}  // namespace

NetFeePage::NetFeePage(SettingsContext& context, QWidget* parent)
    : QWidget(parent)
    , context_(context)
{
    setObjectName("SSTab1_0");
    auto* layout = new QVBoxLayout(this);

    auto* selector = new QGroupBox(this);
    selector->setObjectName("fraConnection");
    auto* selectorLayout = new QGridLayout(selector);
    connections_ = new QComboBox(selector);
    connections_->setObjectName("cboConnectionName");
    // Only listed connections: a typed name would edit one connection in memory
    // while the file writes went to a section of another name.
    connections_->setEditable(false);
    connections_->setToolTip(tr("选取不同的连接名称可设置多个帐号"));
    connections_->setMinimumContentsLength(16);
    selectorLayout->addWidget(new QLabel(tr("连接名称"), selector), 0, 0);
    selectorLayout->addWidget(connections_, 0, 1, 1, 3);
    const QString feeTypes[3] = {tr("免费"), tr("按分钟算"), tr("额定小时")};
    for (int i = 0; i < 3; ++i) {
        feeTypes_[size_t(i)] = new QRadioButton(feeTypes[i], selector);
        feeTypes_[size_t(i)]->setObjectName(QString("otnFeetype_%1").arg(i));
        selectorLayout->addWidget(feeTypes_[size_t(i)], 1, i + 1);
        connect(feeTypes_[size_t(i)], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on)
                OnFeeTypeChosen(i);
        });
    }
    layout->addWidget(selector);

    auto* columns = new QHBoxLayout;
    layout->addLayout(columns);
    BuildMinuteGroup(columns);
    BuildRatedGroup(columns);

    connect(connections_, &QComboBox::activated, this, &NetFeePage::ShowChosenConnection);
    auto feeBox = [this](QLineEdit* box, ConnectionSetting field) {
        OnUserEdit(context_, box, [this, field](std::string_view text) {
            return context_.editor.ConnectionFee(ConnectionText(), field, text);
        });
    };
    feeBox(fullFee_, C::FullFee);
    feeBox(halfFee_, C::HalfFee);
    feeBox(ratedHalfFee_, C::HalfFee);
    feeBox(ratedFee_, C::FixFee);
    feeBox(beyondFee_, C::ExcelFee);
    OnUserEdit(context_, ratedHours_,
        [this](std::string_view text) { return context_.editor.FixHour(ConnectionText(), text); });
    ConnectPeriodBox(minutePeriod_);
    ConnectPeriodBox(ratedPeriod_);
    minutePeriod_->ReportSaturdayOnFocusOut();
}

void NetFeePage::BuildMinuteGroup(QHBoxLayout* columns)
{
    auto* column = new QVBoxLayout;
    auto* grid = new QGridLayout;
    auto* fullLabel = new QLabel(tr("全价："), this);
    fullFee_ = TextBox("txtNetFee", "0.06", this);
    auto* fullUnit = new QLabel(tr("元/分钟"), this);
    auto* halfLabel = new QLabel(tr("折价时间内为:"), this);
    halfFee_ = TextBox("txtHalfFee", "0.03", this);
    auto* halfUnit = new QLabel(tr("元/分钟"), this);
    grid->addWidget(fullLabel, 0, 0);
    grid->addWidget(fullFee_, 0, 1);
    grid->addWidget(fullUnit, 0, 2);
    grid->addWidget(halfLabel, 1, 0);
    grid->addWidget(halfFee_, 1, 1);
    grid->addWidget(halfUnit, 1, 2);
    column->addLayout(grid);
    minutePeriod_ = new DiscountPeriodBox("Frame1", "", "cekEveryDay", this);
    column->addWidget(minutePeriod_);
    column->addStretch();
    columns->addLayout(column);
    minuteCaptions_ = {fullLabel, fullUnit, halfLabel, halfUnit};
}

void NetFeePage::BuildRatedGroup(QHBoxLayout* columns)
{
    auto* column = new QVBoxLayout;
    auto* grid = new QGridLayout;
    auto* month = new QLabel(tr("每月"), this);
    ratedHours_ = TextBox("txtExcelHour", "30", this);
    auto* hours = new QLabel(tr("小时"), this);
    ratedFee_ = TextBox("txtExcelFee", "0.06", this);
    auto* yuan = new QLabel(tr("元"), this);
    auto* beyond = new QLabel(tr("超过额定小时后"), this);
    beyondFee_ = TextBox("txtExcelMinute", "0.06", this);
    auto* beyondUnit = new QLabel(tr("元/分钟"), this);
    auto* halfLabel = new QLabel(tr("折价时间内为:"), this);
    ratedHalfFee_ = TextBox("txtFixHalf", "0.03", this);
    auto* halfUnit = new QLabel(tr("元/分钟"), this);
    grid->addWidget(month, 0, 0);
    grid->addWidget(ratedHours_, 0, 1);
    grid->addWidget(hours, 0, 2);
    grid->addWidget(ratedFee_, 0, 3);
    grid->addWidget(yuan, 0, 4);
    grid->addWidget(beyond, 1, 0, 1, 2);
    grid->addWidget(beyondFee_, 1, 3);
    grid->addWidget(beyondUnit, 1, 4);
    grid->addWidget(halfLabel, 2, 0, 1, 2);
    grid->addWidget(ratedHalfFee_, 2, 3);
    grid->addWidget(halfUnit, 2, 4);
    column->addLayout(grid);
    ratedPeriod_ = new DiscountPeriodBox("Frame3", "Fix", "cekFixEveryday", this);
    column->addWidget(ratedPeriod_);
    column->addStretch();
    columns->addLayout(column);
    ratedCaptions_ = {month, hours, yuan, beyond, beyondUnit, halfLabel, halfUnit};
}

void NetFeePage::ConnectPeriodBox(DiscountPeriodBox* box)
{
    connect(
        box, &DiscountPeriodBox::periodPicked, this, [this](ConnectionSetting field, const QString& text) {
            if (context_.recording)
                context_.Record(
                    context_.editor.ConnectionPeriod(ConnectionText(), field, text.toStdString()));
        });
    connect(box, &DiscountPeriodBox::flagToggled, this, [this](ConnectionSetting field, bool on) {
        if (context_.recording)
            context_.Record(context_.editor.ConnectionFlag(ConnectionText(), field, on));
    });
    connect(box, &DiscountPeriodBox::holidayToggled, this, [this](bool on) {
        if (!context_.recording)
            return;
        context_.Record(context_.editor.ConnectionHoliday(ConnectionText(), on, context_.clock.Now()));
        emit holidayChanged();
    });
}

std::string NetFeePage::ConnectionText() const
{
    return connections_->currentText().toStdString();
}

void NetFeePage::ShowChosenConnection()
{
    ShowConnectionFee(context_.program.Tariffs.FindConnectionTariff(ConnectionText()));
}

void NetFeePage::Fill()
{
    for (const ConnectionTariff& t : context_.program.Tariffs.Connections)
        connections_->addItem(QString::fromStdString(t.Name));
    ShowConnectionFee(1);
    connections_->setCurrentIndex(connections_->count() > 0 ? 0 : -1);
}

void NetFeePage::ShowConnectionFee(int index)
{
    const TariffSet& tariffs = context_.program.Tariffs;
    if (index < 1 || index > tariffs.ConnectionCount())
        return;
    // A copy: the handlers the filling starts write the shown values back.
    const ConnectionTariff t = tariffs.Connection(index);
    switch (t.FeeType) {
    case 0:
        EnableMinuteGroup(false);
        EnableRatedGroup(false);
        break;
    case 1:
        EnableMinuteGroup(true);
        EnableRatedGroup(false);
        fullFee_->setText(FeeText(t.FullFee));
        halfFee_->setText(FeeText(t.HalfFee));
        minutePeriod_->Fill(t);
        break;
    case 2:
        EnableMinuteGroup(false);
        EnableRatedGroup(true);
        ratedHours_->setText(QString::number(t.FixHour));
        ratedFee_->setText(FeeText(t.FixFee));
        beyondFee_->setText(FeeText(t.ExcelFee));
        ratedHalfFee_->setText(FeeText(t.HalfFee));
        ratedPeriod_->Fill(t);
        break;
    default:
        // Only a hand-edited file gets here: nothing is offered until the user
        // chooses a fee type, which then writes a valid one.
        EnableMinuteGroup(false);
        EnableRatedGroup(false);
        ClearFeeTypeChoice();
        return;
    }
    feeTypes_[size_t(t.FeeType)]->setChecked(true);
}

void NetFeePage::OnFeeTypeChosen(int feeType)
{
    if (!context_.recording)
        return;
    const std::string connection = ConnectionText();
    const int index = context_.editor.SetFeeType(connection, feeType);
    ShowConnectionFee(index);
    context_.Record(context_.editor.WriteFeeType(connection, feeType));
}

void NetFeePage::ClearFeeTypeChoice()
{
    for (QRadioButton* b : feeTypes_) {
        if (!b->isChecked())
            continue;
        b->setAutoExclusive(false);
        b->setChecked(false);
        b->setAutoExclusive(true);
    }
}

void NetFeePage::EnableMinuteGroup(bool enabled)
{
    EnableAll({fullFee_, halfFee_}, minuteCaptions_, enabled);
    minutePeriod_->EnableControls(enabled);
}

void NetFeePage::EnableRatedGroup(bool enabled)
{
    EnableAll({ratedHours_, ratedFee_, beyondFee_, ratedHalfFee_}, ratedCaptions_, enabled);
    ratedPeriod_->EnableControls(enabled);
}

}  // namespace tollix
