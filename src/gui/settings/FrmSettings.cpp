#include "gui/settings/FrmSettings.h"

#include <QCloseEvent>
#include <QIcon>
#include <QTabWidget>

#include "gui/common/Toolbars.h"
#include "gui/settings/AlertPage.h"
#include "gui/settings/NetFeePage.h"
#include "gui/settings/ResetPage.h"
#include "gui/settings/TelFeePage.h"
#include "meter/Program.h"

namespace tollix {

FrmSettings::FrmSettings(
    Program& program, DialupService& dialup, const Clock& clock, SoundPlayer& sound, QWidget* parent)
    : QMainWindow(parent)
    , editor_(program.Tariffs, program.Alerts, program.Reset, program.Profile)
    , saveFailures_(new SaveFailureNotice(this))
    , context_{program, editor_, clock, *saveFailures_}
{
    setObjectName("frmSettings");
    setWindowTitle(tr("设置中心"));
    setWindowIcon(QIcon(":/icons/tollix.svg"));
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_QuitOnClose, false);

    AddToolbar(
        this,
        {{QT_TRANSLATE_NOOP("Toolbar", "返回"), "back", QT_TRANSLATE_NOOP("Toolbar", "返回主窗口")},
            {QT_TRANSLATE_NOOP("Toolbar", "显示帮助"), "help", QT_TRANSLATE_NOOP("Toolbar", "解答一些问题")}},
        [this](const QString& caption) {
            if (caption == "返回")
                close();  // closeEvent brings the main window back first
            else if (caption == "显示帮助")
                emit helpRequested();
        },
        &toolbar_);
    tabs_ = new QTabWidget(this);
    tabs_->setObjectName("SSTab1");
    netFeePage_ = new NetFeePage(context_);
    telFeePage_ = new TelFeePage(context_);
    alertPage_ = new AlertPage(context_, sound);
    resetPage_ = new ResetPage(context_, dialup);
    tabs_->addTab(netFeePage_, tr("上网费设置"));
    tabs_->addTab(telFeePage_, tr("电话费设置"));
    tabs_->addTab(alertPage_, tr("报警设置"));
    tabs_->addTab(resetPage_, tr("置零设置"));
    tabs_->setCurrentIndex(0);
    setCentralWidget(tabs_);
    connect(netFeePage_, &NetFeePage::holidayChanged, this, &FrmSettings::tariffsChanged);
    connect(telFeePage_, &TelFeePage::holidayChanged, this, &FrmSettings::tariffsChanged);
    connect(resetPage_, &ResetPage::periodZeroed, this, &FrmSettings::periodZeroed);

    // Nothing the filling changes may reach the settings.
    netFeePage_->Fill();
    alertPage_->Fill();
    resetPage_->Fill();
    telFeePage_->Fill();
    connect(saveFailures_, &SaveFailureNotice::failed, this, &FrmSettings::ShowHeldValues);
}

void FrmSettings::ShowHeldValues()
{
    const bool recording = context_.recording;
    context_.recording = false;
    netFeePage_->ShowChosenConnection();
    alertPage_->Fill();
    resetPage_->Fill();
    telFeePage_->Fill();
    context_.recording = recording;
}

FrmSettings::~FrmSettings() = default;

void FrmSettings::SetFileChooser(SoundFileChooser chooser)
{
    alertPage_->SetFileChooser(std::move(chooser));
}

void FrmSettings::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    context_.recording = true;
}

void FrmSettings::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    context_.recording = true;
}

void FrmSettings::closeEvent(QCloseEvent* event)
{
    emit closed();
    event->accept();
}

}  // namespace tollix
