#include "gui/WindowRegistry.h"

#include <QCoreApplication>

#include "gui/alerts/FrmAlert.h"
#include "gui/common/LateModule.h"
#include "gui/common/MessageBoxes.h"
#include "gui/dialup/FrmDialUp.h"
#include "gui/history/FrmHistory.h"
#include "gui/main/FrmMain.h"
#include "gui/settings/FrmSettings.h"
#include "gui/shell/AboutWindow.h"
#include "gui/shell/HelpWindow.h"

namespace tollix {

namespace {

// Puts a window over the middle of its owner the first time it is shown.
void PlaceNear(QWidget* window, QWidget* owner)
{
    if (!owner)
        return;
    QWidget* top = owner->window();
    if (!top->isVisible())
        return;
    // A window that chose its own size keeps it; the others take their layout's.
    if (!window->testAttribute(Qt::WA_Resized))
        window->adjustSize();
    window->move(top->geometry().center() - window->rect().center());
}

void Raise(QWidget* window)
{
    window->showNormal();
    window->raise();
    window->activateWindow();
}

template <typename Window> Window* ShowShared(QPointer<Window>& shared, QWidget* near)
{
    if (!shared) {
        shared = new Window;
        PlaceNear(shared, near);
    }
    Raise(shared);
    return shared;
}

}  // namespace

WindowRegistry::WindowRegistry(
    Program& program, DialupService& dialup, const Clock& clock, SoundPlayer& sound)
    : program_(program)
    , dialup_(dialup)
    , clock_(clock)
    , sound_(sound)
{ }

WindowRegistry::~WindowRegistry()
{
    delete settings_.data();
    delete history_.data();
    delete dial_.data();
    delete alert_.data();
    delete charts_.data();
}

FrmMain& WindowRegistry::Main()
{
    if (main_)
        return *main_;
    main_ = std::make_unique<FrmMain>(program_, dialup_, clock_, sound_);
    FrmMain* main = main_.get();
    connect(main, &FrmMain::settingsRequested, this, &WindowRegistry::OpenSettings);
    connect(main, &FrmMain::historyRequested, this, &WindowRegistry::OpenHistory);
    connect(main, &FrmMain::chartsRequested, this, &WindowRegistry::OpenCharts);
    connect(main, &FrmMain::dialRequested, this, &WindowRegistry::OpenDial);
    connect(main, &FrmMain::helpRequested, this, [main] { ShowHelp(main); });
    connect(main, &FrmMain::aboutRequested, this, [main] { ShowAbout(main); });
    connect(main, &FrmMain::alertRequested, this, &WindowRegistry::ShowAlert);
    return *main_;
}

void WindowRegistry::RestoreMain()
{
    if (main_)
        main_->RestoreMainWindow();
}

FrmSettings* WindowRegistry::OpenSettings()
{
    if (!settings_) {
        settings_ = new FrmSettings(program_, dialup_, clock_, sound_);
        FrmSettings* settings = settings_;
        connect(settings, &FrmSettings::closed, this, &WindowRegistry::RestoreMain);
        connect(settings, &FrmSettings::helpRequested, this, [settings] { ShowHelp(settings); });
        if (main_) {
            connect(settings, &FrmSettings::tariffsChanged, main_.get(), &FrmMain::ShowTariffSwitches);
            connect(settings, &FrmSettings::periodZeroed, main_.get(), &FrmMain::OnPeriodZeroed);
        }
    }
    if (main_)
        main_->hide();
    settings_->show();
    settings_->raise();
    settings_->activateWindow();
    return settings_;
}

FrmHistory* WindowRegistry::OpenHistory()
{
    if (main_)
        main_->HideMainWindow();
    if (history_) {
        Raise(history_);
        return history_;
    }
    history_ = new FrmHistory(program_, clock_);
    FrmHistory* history = history_;
    connect(history, &FrmHistory::returned, this, &WindowRegistry::RestoreMain);
    connect(history, &FrmHistory::helpRequested, this, [history] { ShowHelp(history); });
    connect(history, &FrmHistory::chartsRequested, this, &WindowRegistry::OpenCharts);
    history->show();
    // Loaded once shown, so that a message about a damaged log has the window behind it.
    history->Start();
    return history_;
}

FrmDialUp* WindowRegistry::OpenDial()
{
    if (!dial_) {
        dial_ = new FrmDialUp(program_, dialup_, main_.get());
        PlaceNear(dial_, main_.get());
    }
    Raise(dial_);
    return dial_;
}

QWidget* WindowRegistry::OpenCharts()
{
    if (!charts_) {
        using CreateFunction = QWidget* (*)(Program&, const Clock&);
        QString error;
        auto create = reinterpret_cast<CreateFunction>(
            LateModuleFunction("tollix_charts", "TollixCreateCharts", &error));
        if (!create) {
            ShowMessage(main_.get(), "Tollix",
                QCoreApplication::translate("WindowRegistry", "无法载入图表模块：%1。请重新安装 Tollix。")
                    .arg(error),
                QMessageBox::Warning);
            return nullptr;
        }
        charts_ = create(program_, clock_);
    }
    Raise(charts_);
    QMetaObject::invokeMethod(charts_, "Start");
    return charts_;
}

FrmAlert* WindowRegistry::ShowAlert(const QString& text)
{
    if (!alert_)
        alert_ = new FrmAlert(text);
    alert_->show();
    alert_->raise();
    return alert_;
}

HelpWindow* WindowRegistry::ShowHelp(QWidget* near)
{
    static QPointer<HelpWindow> shared;
    return ShowShared(shared, near);
}

AboutWindow* WindowRegistry::ShowAbout(QWidget* near)
{
    static QPointer<AboutWindow> shared;
    return ShowShared(shared, near);
}

}  // namespace tollix
