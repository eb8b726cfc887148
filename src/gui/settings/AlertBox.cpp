#include "gui/settings/AlertBox.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "gui/common/SoundPlayer.h"
#include "gui/settings/PageWidgets.h"
#include "gui/settings/SettingsContext.h"

namespace tollix {

AlertBox::AlertBox(int index, SettingsContext& context, const SoundFileChooser& chooseFile,
    SoundPlayer& sound, QWidget* parent)
    : QGroupBox(parent)
    , index_(index)
    , context_(context)
    , chooseFile_(chooseFile)
    , sound_(sound)
{
    setObjectName(QString("fraAlert_%1").arg(index));
    Build();
    ConnectEdits();
}

void AlertBox::Build()
{
    const QString captions[3] = {tr("每天报警"), tr("每星期报警"), tr("每月报警")};
    const char* hours[3] = {"2", "10", "30"};
    auto named = [this](QWidget* w, const char* base) {
        w->setObjectName(QString("%1_%2").arg(base).arg(index_));
        return w;
    };
    auto* grid = new QGridLayout(this);
    on_ = new QCheckBox(captions[index_], this);
    byTime_ = new QRadioButton(tr("用时超过"), this);
    hours_ = new QLineEdit(hours[index_], this);
    auto* hourUnit = new QLabel(tr("小时"), this);
    byFee_ = new QRadioButton(tr("费用超过"), this);
    fee_ = new QLineEdit("2", this);
    auto* yuan = new QLabel(tr("元"), this);
    repeat_ = new QCheckBox(tr("超时后每隔"), this);
    minutes_ = new QLineEdit("5", this);
    auto* minuteText = new QLabel(tr("分钟播放声音文件"), this);
    auto* pathLabel = new QLabel(tr("声音文件的路径"), this);
    file_ = new QLineEdit(this);
    select_ = new QPushButton(tr("选择"), this);
    test_ = new QPushButton(tr("试听"), this);
    named(on_, "cekAlert");
    named(byTime_, "otnExcelTime");
    named(hours_, "txtHour");
    named(byFee_, "otnExcelFee");
    named(fee_, "txtAlertFee");
    named(repeat_, "cekInterval");
    named(minutes_, "txtMinute");
    named(file_, "txtFile");
    named(select_, "cmdSelect");
    named(test_, "cmdTest");

    grid->addWidget(on_, 0, 0);
    grid->addWidget(byTime_, 0, 1);
    grid->addWidget(hours_, 0, 2);
    grid->addWidget(hourUnit, 0, 3);
    grid->addWidget(byFee_, 0, 4);
    grid->addWidget(fee_, 0, 5);
    grid->addWidget(yuan, 0, 6);
    grid->addWidget(repeat_, 1, 0);
    grid->addWidget(minutes_, 1, 1);
    grid->addWidget(minuteText, 1, 2, 1, 3);
    grid->addWidget(pathLabel, 2, 0);
    grid->addWidget(file_, 2, 1, 1, 4);
    grid->addWidget(select_, 2, 5);
    grid->addWidget(test_, 2, 6);
    rowWidgets_ = {byTime_, hours_, hourUnit, byFee_, fee_, yuan, repeat_, minutes_, minuteText};
    pathWidgets_ = {pathLabel, file_, select_, test_};
}

void AlertBox::ConnectEdits()
{
    SettingsEditor& editor = context_.editor;
    const int i = index_;
    connect(on_, &QCheckBox::toggled, this, [this, &editor, i](bool on) {
        if (!context_.recording)
            return;
        EnableRows();
        context_.Record(editor.AlertCheck(i, on));
    });
    connect(repeat_, &QCheckBox::toggled, this, [this, &editor, i](bool on) {
        if (!context_.recording)
            return;
        EnableRows();
        context_.Record(editor.AlertWaveCheck(i, on));
    });
    for (auto [option, standard] : {std::pair{byTime_, 0}, {byFee_, 1}})
        connect(option, &QRadioButton::toggled, this, [this, &editor, i, standard](bool on) {
            if (on && context_.recording)
                context_.Record(editor.AlertStandard(i, standard));
        });
    OnUserEdit(context_, hours_, [&editor, i](std::string_view t) { return editor.AlertHours(i, t); });
    OnUserEdit(context_, fee_, [&editor, i](std::string_view t) { return editor.AlertFee(i, t); });
    OnUserEdit(context_, minutes_, [&editor, i](std::string_view t) { return editor.AlertMinutes(i, t); });
    OnUserEdit(context_, file_, [&editor, i](std::string_view t) { return editor.AlertFilePath(i, t); });
    connect(select_, &QPushButton::clicked, this, &AlertBox::ChooseFile);
    connect(test_, &QPushButton::clicked, this, &AlertBox::PlayFile);
}

void AlertBox::Fill(const AlertSetting& alert)
{
    const AlertSetting a = alert;
    on_->setChecked(a.Check != 0);
    hours_->setText(QString::number(a.Hours));
    fee_->setText(QString::fromStdString(MoneyText(a.Fee)));
    repeat_->setChecked(a.WaveCheck != 0);
    minutes_->setText(QString::number(a.Minutes));
    file_->setText(QString::fromStdString(a.FilePath));
    (a.AlertStandard != 0 ? byFee_ : byTime_)->setChecked(true);
    EnableRows();
}

void AlertBox::EnableRows()
{
    const bool on = on_->isChecked();
    for (QWidget* w : rowWidgets_)
        w->setEnabled(on);
    const bool path = on && repeat_->isChecked();
    for (QWidget* w : pathWidgets_)
        w->setEnabled(path);
}

void AlertBox::ChooseFile()
{
    const QString chosen = chooseFile_ ? chooseFile_(window(), file_->text()) : QString();
    // A cancelled dialog leaves the path as it was.
    if (!chosen.isEmpty())
        file_->setText(chosen);
}

void AlertBox::PlayFile()
{
    // Blanks after the name would name no file.
    QString path = file_->text();
    while (path.endsWith(' '))
        path.chop(1);
    sound_.Play(path);
}

}  // namespace tollix
