#include "gui/settings/DiscountPeriodBox.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QLabel>

namespace tollix {

namespace {

using C = ConnectionSetting;

QComboBox* PeriodCombo(const QString& name, bool hours, const QString& initial, QWidget* parent)
{
    auto* combo = new QComboBox(parent);
    combo->setObjectName(name);
    combo->setEditable(true);
    // A typed text counts only once a list item is picked; it never becomes an item.
    combo->setInsertPolicy(QComboBox::NoInsert);
    if (hours) {
        for (int h = 1; h <= 24; ++h)
            combo->addItem(QString::number(h));
    } else {
        combo->addItems({"00", "15", "30", "45"});
    }
    combo->setEditText(initial);
    combo->setMinimumContentsLength(3);
    return combo;
}

QCheckBox* CheckBox(const QString& text, const QString& name, QWidget* parent)
{
    auto* box = new QCheckBox(text, parent);
    box->setObjectName(name);
    return box;
}

}  // namespace

DiscountPeriodBox::DiscountPeriodBox(
    const QString& frameName, const QString& prefix, const QString& everydayName, QWidget* parent)
    : QGroupBox(tr("折价时间段"), parent)
{
    setObjectName(frameName);
    auto* grid = new QGridLayout(this);
    holiday_ = CheckBox(tr("今天节假日折价"), "cek" + prefix + "Holiday", this);
    everyday_ = CheckBox(tr("每天"), everydayName, this);
    startHour_ = PeriodCombo("cbo" + prefix + "StartHour", true, "21", this);
    startMinute_ = PeriodCombo("cbo" + prefix + "StartMinute", false, "00", this);
    endHour_ = PeriodCombo("cbo" + prefix + "EndHour", true, "7", this);
    endMinute_ = PeriodCombo("cbo" + prefix + "EndMinute", false, "00", this);
    saturday_ = CheckBox(tr("星期六全天"), "cek" + prefix + "Saturday", this);
    sunday_ = CheckBox(tr("星期日全天"), "cek" + prefix + "Sunday", this);
    auto* dot1 = new QLabel(tr("点"), this);
    auto* to = new QLabel(tr("分到"), this);
    auto* nextDay = new QLabel(tr("次日"), this);
    auto* dot2 = new QLabel(tr("点"), this);
    auto* minute = new QLabel(tr("分"), this);
    captions_ = {dot1, to, nextDay, dot2, minute};

    grid->addWidget(holiday_, 0, 0, 1, 5);
    grid->addWidget(everyday_, 1, 0);
    grid->addWidget(startHour_, 1, 1);
    grid->addWidget(dot1, 1, 2);
    grid->addWidget(startMinute_, 1, 3);
    grid->addWidget(to, 1, 4);
    grid->addWidget(nextDay, 2, 0, Qt::AlignRight);
    grid->addWidget(endHour_, 2, 1);
    grid->addWidget(dot2, 2, 2);
    grid->addWidget(endMinute_, 2, 3);
    grid->addWidget(minute, 2, 4);
    grid->addWidget(saturday_, 3, 0, 1, 5);
    grid->addWidget(sunday_, 4, 0, 1, 5);

    for (auto [combo, field] : {std::pair{startHour_, C::StartHour}, {startMinute_, C::StartMinute},
             {endHour_, C::EndHour}, {endMinute_, C::EndMinute}})
        connect(combo, &QComboBox::activated, this,
            [this, combo, field](int index) { emit periodPicked(field, combo->itemText(index)); });
    for (auto [box, field] : {std::pair{everyday_, C::EverydayFlag}, {sunday_, C::SundayFlag}})
        connect(box, &QCheckBox::toggled, this, [this, field](bool on) { emit flagToggled(field, on); });
    saturdayToggled_ = connect(
        saturday_, &QCheckBox::toggled, this, [this](bool on) { emit flagToggled(C::SaturdayFlag, on); });
    connect(holiday_, &QCheckBox::toggled, this, &DiscountPeriodBox::holidayToggled);
}

void DiscountPeriodBox::Fill(int16_t everyday, int16_t saturday, int16_t sunday, int16_t startHour,
    int16_t startMinute, int16_t endHour, int16_t endMinute, int16_t holiday)
{
    everyday_->setChecked(everyday != 0);
    saturday_->setChecked(saturday != 0);
    sunday_->setChecked(sunday != 0);
    startHour_->setEditText(QString::number(startHour));
    startMinute_->setEditText(QString::number(startMinute));
    endHour_->setEditText(QString::number(endHour));
    endMinute_->setEditText(QString::number(endMinute));
    holiday_->setChecked(holiday != 0);
}

void DiscountPeriodBox::EnableControls(bool enabled)
{
    for (QWidget* w : std::initializer_list<QWidget*>{
             holiday_, everyday_, saturday_, sunday_, startHour_, startMinute_, endHour_, endMinute_})
        w->setEnabled(enabled);
    for (QWidget* w : captions_)
        w->setEnabled(enabled);
}

void DiscountPeriodBox::EnableTimes(bool enabled)
{
    for (QComboBox* c : {startHour_, startMinute_, endHour_, endMinute_})
        c->setEnabled(enabled);
}

void DiscountPeriodBox::ReportSaturdayOnFocusOut()
{
    disconnect(saturdayToggled_);
    connect(saturday_, &QCheckBox::clicked, this, [this](bool on) { emit flagToggled(C::SaturdayFlag, on); });
    saturday_->installEventFilter(this);
}

bool DiscountPeriodBox::eventFilter(QObject* watched, QEvent* event)
{
    // Recording on the click as well keeps a tick followed straight by "返回"
    // from being lost; the focus leaving with the window or a popup is no edit.
    if (watched == saturday_ && event->type() == QEvent::FocusOut) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            emit flagToggled(C::SaturdayFlag, saturday_->isChecked());
    }
    return QGroupBox::eventFilter(watched, event);
}

}  // namespace tollix
