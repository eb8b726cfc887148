#include "gui/settings/AlertPage.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QVBoxLayout>

#include "gui/settings/SettingsContext.h"
#include "meter/Program.h"

namespace tollix {

AlertPage::AlertPage(SettingsContext& context, SoundPlayer& sound, QWidget* parent)
    : QWidget(parent)
    , context_(context)
{
    setObjectName("SSTab1_2");
    chooseFile_ = [](QWidget* owner, const QString& current) {
        const QString folder = current.trimmed().isEmpty() ? QString() : QFileInfo(current.trimmed()).path();
        return QFileDialog::getOpenFileName(owner, tr("选择声音文件"), folder, tr("声音文件 (*.wav)"));
    };
    auto* layout = new QVBoxLayout(this);
    for (int i = 0; i < 3; ++i) {
        alerts_[size_t(i)] = new AlertBox(i, context_, chooseFile_, sound, this);
        layout->addWidget(alerts_[size_t(i)]);
    }
    layout->addStretch();
}

void AlertPage::Fill()
{
    const AlertSettings& a = context_.program.Alerts;
    alerts_[0]->Fill(a.DayAlert);
    alerts_[1]->Fill(a.WeekAlert);
    alerts_[2]->Fill(a.MonthAlert);
}

}  // namespace tollix
