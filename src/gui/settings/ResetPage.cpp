#include "gui/settings/ResetPage.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "base/Clock.h"
#include "dialup/DialupService.h"
#include "gui/common/MessageBoxes.h"
#include "gui/settings/PageWidgets.h"
#include "gui/settings/SettingsContext.h"
#include "meter/Program.h"

namespace tollix {

namespace {

const char* const kZeroQuestions[4][2] = {
    {QT_TRANSLATE_NOOP("tollix::ResetPage", "将今天的所有数值都变0,你肯定吗？"),
        QT_TRANSLATE_NOOP("tollix::ResetPage", "将今天的数值置零")},
    {QT_TRANSLATE_NOOP("tollix::ResetPage", "将这个星期的所有数值都变成0 , 你肯定吗？"),
        QT_TRANSLATE_NOOP("tollix::ResetPage", "将这个星期的数值置零")},
    {QT_TRANSLATE_NOOP("tollix::ResetPage", "将这个月的所有数值都变成0 , 你肯定吗？"),
        QT_TRANSLATE_NOOP("tollix::ResetPage", "将这个月的数值置零")},
    {QT_TRANSLATE_NOOP("tollix::ResetPage", "将总数的所有数值都变成0 , 你肯定吗？"),
        QT_TRANSLATE_NOOP("tollix::ResetPage", "将总数的数值置零")},
};

}  // namespace

ResetPage::ResetPage(SettingsContext& context, DialupService& dialup, QWidget* parent)
    : QWidget(parent)
    , context_(context)
    , dialup_(dialup)
{
    setObjectName("SSTab1_3");
    auto* layout = new QVBoxLayout(this);

    weekDay_ = new QComboBox(this);
    weekDay_->setObjectName("cboResetWeek");
    // Only a picked weekday is recorded, so the box offers the seven and nothing else.
    weekDay_->setEditable(false);
    weekDay_->addItems(
        {tr("星期日"), tr("星期一"), tr("星期二"), tr("星期三"), tr("星期四"), tr("星期五"), tr("星期六")});
    weekDay_->setCurrentIndex(0);
    layout->addLayout(LabelledRow(tr("每个星期的"), weekDay_, tr("号凌晨0点正将星期值自动置零"), this));

    monthDay_ = TextBox("txtResetMonth", "1", this);
    layout->addLayout(LabelledRow(tr("每个月的"), monthDay_, tr("号凌晨0点正将月值自动置零"), this));

    auto* buttons = new QGridLayout;
    const QString captions[4] = {tr("现在将今天的值置零"), tr("现在将这个星期的值置零"),
        tr("现在将这个月的值置零"), tr("现在将不定时间段的值置零")};
    for (int i = 0; i < 4; ++i) {
        zeroButtons_[size_t(i)] = new QPushButton(captions[i], this);
        zeroButtons_[size_t(i)]->setObjectName(QString("cmdReset_%1").arg(i));
        buttons->addWidget(zeroButtons_[size_t(i)], i / 2, i % 2);
        connect(zeroButtons_[size_t(i)], &QPushButton::clicked, this, [this, i] { ZeroPeriod(i); });
    }
    layout->addLayout(buttons);

    connectDelay_ = TextBox("txtAddSecond", "10", this);
    layout->addLayout(LabelledRow(tr("拨号成功后"), connectDelay_, tr("秒接入网络"), this));
    auto* explanation
        = new QLabel(tr("从modem接通到网络响应有一段延迟的时间，而程序是从网络的响应开始计时的，"
                        "设置这个数值会更精确地计算你的上网时间。"),
            this);
    explanation->setWordWrap(true);
    layout->addWidget(explanation);
    layout->addStretch();

    connect(weekDay_, &QComboBox::activated, this,
        [this](int index) { context_.Record(context_.editor.ResetWeek(index)); });
    OnUserEdit(
        context_, monthDay_, [this](std::string_view text) { return context_.editor.ResetMonth(text); });
    OnUserEdit(
        context_, connectDelay_, [this](std::string_view text) { return context_.editor.ProAdd(text); });
}

void ResetPage::Fill()
{
    const ResetSettings& r = context_.program.Reset;
    connectDelay_->setText(QString::number(r.ProAddSeconds));
    monthDay_->setText(QString::number(r.ResetMonthDay));
    // A weekday outside the week (a hand-edited file) shows no day until one is picked.
    weekDay_->setCurrentIndex(r.ResetWeekDay >= 0 && r.ResetWeekDay <= 6 ? r.ResetWeekDay : -1);
}

void ResetPage::ZeroPeriod(int period)
{
    if (period < 0 || period > 3)
        return;
    if (dialup_.IsConnected()) {
        ShowMessage(this, "Tollix", tr("正在连接时不能置零"));
        return;
    }
    if (AskOkCancel(this, tr(kZeroQuestions[period][1]), tr(kZeroQuestions[period][0])) != QMessageBox::Ok)
        return;
    Program& program = context_.program;
    StatisticsFile& file = program.StatsFile;
    const bool wasOpen = file.IsOpen();
    std::string error;
    bool written = wasOpen || file.Open(&error);
    // Memory is zeroed even when the file cannot take it, so the main window
    // shows what the user asked for; the user is told the file kept the old values.
    written = program.Stats.ResetPeriod(
                  file, static_cast<Period>(period), context_.clock.Now(), written ? &error : nullptr)
        && written;
    if (!wasOpen)
        file.Close();
    if (!written)
        ShowMessage(this, "Tollix",
            tr("统计数值已置零，但无法写入统计文件 %1：%2")
                .arg(QString::fromStdString(file.Path().string()), QString::fromStdString(error)),
            QMessageBox::Warning);
    emit periodZeroed(period);
}

}  // namespace tollix
