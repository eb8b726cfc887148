#include "gui/main/FrmMain.h"

#include <cstdio>
#include <utility>

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>

#include "base/Clock.h"
#include "dialup/DialupService.h"
#include "gui/common/EngineText.h"
#include "gui/common/MessageBoxes.h"
#include "gui/common/SaveFailureNotice.h"
#include "gui/common/ShellCommands.h"
#include "gui/common/SoundPlayer.h"
#include "gui/main/MainCommands.h"
#include "gui/main/MainTray.h"
#include "gui/main/SessionBox.h"
#include "gui/main/TotalsBox.h"
#include "history/UsageArchive.h"
#include "meter/Program.h"
#include "meter/SessionJournal.h"

namespace tollix {

namespace {

QTimer* AddTimer(QObject* owner, const char* name, int interval)
{
    auto* timer = new QTimer(owner);
    timer->setObjectName(name);
    timer->setInterval(interval);
    return timer;
}

}  // namespace

FrmMain::FrmMain(
    Program& program, DialupService& dialup, const Clock& clock, SoundPlayer& sound, QWidget* parent)
    : QMainWindow(parent)
    , program_(program)
    , dialup_(dialup)
    , clock_(clock)
    , sound_(sound)
    , session_(program, clock)
    , editor_(program.Tariffs, program.Alerts, program.Reset, program.Profile)
{
    setObjectName("FrmMain");
    setWindowTitle("Tollix V3.1");
    setWindowIcon(QIcon(":/icons/tollix.svg"));
    saveFailures_ = new SaveFailureNotice(this);
    BuildWindow();
    commands_ = new MainCommands(this);
    ConnectCommands();

    startHideTimer_ = AddTimer(this, "tmrStartOnce", 1000);
    startHideTimer_->setSingleShot(true);
    connect(startHideTimer_, &QTimer::timeout, this, &FrmMain::OnStartedOnce);
    monitorTimer_ = AddTimer(this, "tmrSystemtime", 1000);
    connect(monitorTimer_, &QTimer::timeout, this, &FrmMain::OnMonitorTick);
    alertTimer_ = AddTimer(this, "tmrPlayWave", 60000);
    connect(alertTimer_, &QTimer::timeout, this, &FrmMain::OnAlertCheck);
}

FrmMain::~FrmMain() = default;

void FrmMain::BuildWindow()
{
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    sessionBox_ = new SessionBox(central);
    layout->addWidget(sessionBox_);
    totalsBox_ = new TotalsBox(central);
    layout->addWidget(totalsBox_);
    connect(totalsBox_, &TotalsBox::periodChosen, this, [this](int period) {
        program_.SelectedPeriod = static_cast<int16_t>(period);
        ShowTotals(period);
    });
    setCentralWidget(central);

    auto* bar = new QStatusBar(this);
    bar->setObjectName("StatusBar1");
    auto* statePanel = new QWidget(bar);
    auto* stateLayout = new QHBoxLayout(statePanel);
    stateLayout->setContentsMargins(0, 0, 0, 0);
    stateIcon_ = new QLabel(statePanel);
    stateIcon_->setObjectName("StatusBar1_Picture1");
    stateText_ = new QLabel(tr("当前状态："), statePanel);
    stateText_->setObjectName("StatusBar1_Panel1");
    stateLayout->addWidget(stateIcon_);
    stateLayout->addWidget(stateText_);
    clockText_ = new QLabel(tr("当前系统时间："), bar);
    clockText_->setObjectName("StatusBar1_Panel2");
    bar->addWidget(statePanel, 1);
    bar->addWidget(clockText_, 1);
    dataText_ = new QLabel(bar);
    dataText_->setObjectName("StatusBar1_Panel3");
    bar->addWidget(dataText_);
    setStatusBar(bar);
}

void FrmMain::ConnectCommands()
{
    MainCommands* c = commands_;
    connect(c, &MainCommands::dialRequested, this, &FrmMain::dialRequested);
    connect(c, &MainCommands::dialEntryRequested, this, &FrmMain::DialEntry);
    connect(c, &MainCommands::hangUpRequested, this, &FrmMain::HangUpCommand);
    connect(c, &MainCommands::exitRequested, this, [this] { EndProgram(); });
    connect(c, &MainCommands::autoHideToggled, this,
        [this](bool on) { SetStartFlag(Setting::AutoHide, on, program_.AutoHide); });
    connect(c, &MainCommands::playWaveToggled, this,
        [this](bool on) { SetStartFlag(Setting::PlayWave, on, program_.PlayWave); });
    connect(c, &MainCommands::startupShortcutRequested, this, [this] { InsertShortCut(this); });
    connect(c, &MainCommands::desktopShortcutRequested, this, [this] { AddDesktopShortcut(this); });
    connect(c, &MainCommands::mailRequested, this, [](bool trailingBlank) { OpenMailLink(trailingBlank); });
    connect(c, &MainCommands::settingsRequested, this, &FrmMain::settingsRequested);
    connect(c, &MainCommands::historyRequested, this, &FrmMain::historyRequested);
    connect(c, &MainCommands::chartsRequested, this, &FrmMain::chartsRequested);
    connect(c, &MainCommands::helpRequested, this, &FrmMain::helpRequested);
    connect(c, &MainCommands::aboutRequested, this, &FrmMain::aboutRequested);
    connect(c, &MainCommands::restoreRequested, this, &FrmMain::RestoreMainWindow);
    connect(c, &MainCommands::hideRequested, this, &FrmMain::HideMainWindow);
    connect(c, &MainCommands::telephoneDiscountToggled, this, &FrmMain::SetTelephoneDiscount);
    connect(c, &MainCommands::connectionDiscountToggled, this, &FrmMain::SetConnectionDiscount);
}

bool FrmMain::Start()
{
    commands_->ShowTariffs(program_.Tariffs);
    commands_->ShowStartChecks(program_.AutoHide, program_.PlayWave);
    ShowLineState(false);
    tray_ = new MainTray(this, commands_->Popup());
    connect(tray_, &MainTray::activated, this, &FrmMain::RestoreMainWindow);
    connect(tray_, &MainTray::Changed, this, &FrmMain::OnTrayChanged);

    // Before recovery, so a connection recovered now reaches the archive too.
    UseArchive(program_, dialup_.BackendName());
    // A link still up since before a crash is the same connection, not a new one.
    const std::string link = dialup_.IsConnected() ? dialup_.CurrentLink().Identity : std::string();
    RecoveryResult recovery = RecoverOpenSession(program_, clock_, link);

    std::string error;
    if (!OpenStatistics(program_, clock_.Now(), &error)) {
        ShowMessage(this, "Tollix", tr("无法打开统计文件，Tollix 不能继续运行。") + "\n" + Q(error),
            QMessageBox::Critical);
        return false;
    }
    // Only once the start has gone through: a start that stops leaves the
    // data folder as it was. SQLite is loaded at start only to take over an
    // existing log once, so reports and charts have it at once; otherwise the
    // archive opens when the first connection ends, which keeps the idle meter
    // small. A failure is told when a connection cannot be stored, and a
    // damaged archive when it is found.
    if (UsageArchive::ImportWaits(program_.DataFolder))
        OpenArchive(program_);
    if (session_.Adopt(recovery))
        ShowStartedState();
    ShowTotals(0);
    show();
    startHideTimer_->start();
    monitorTimer_->start();
    // Told once the window is up, without holding up the monitor.
    ShowArchiveNotice();
    if (recovery.Recovered)
        ShowNotice(Q(recovery.Report), QMessageBox::Information);
    if (!recovery.Error.empty())
        ShowNotice(Q(recovery.Error), QMessageBox::Warning);
    ShowStatisticsNotice();
    return true;
}

void FrmMain::ShowTariffSwitches()
{
    commands_->ShowTariffs(program_.Tariffs);
}

void FrmMain::OnStartedOnce()
{
    if (program_.AutoHide && tray_ && tray_->Available())
        hide();
    else
        autoHidePending_ = program_.AutoHide;
    startHideTimer_->stop();
}

void FrmMain::OnTrayChanged(bool available)
{
    if (ending_)
        return;
    if (available) {
        // What start-up or a minimise could not do without a tray, done now.
        if (autoHidePending_ || isMinimized())
            hide();
        autoHidePending_ = false;
    } else if (!isVisible()) {
        // Gone with the tray, the window would be out of reach.
        showMinimized();
    }
}

void FrmMain::OnMonitorTick()
{
    if (ending_)
        return;
    // Out of sight (minimised, or hidden in the tray) the clock is left alone:
    // formatting it every second is work for no one. Shown again, it catches up.
    if (isVisible() && !isMinimized())
        ShowClock();
    const bool connected = dialup_.IsConnected();
    // A dialer that gave up is told here, the program going on as before.
    if (const std::string failure = dialup_.TakeDialFailure(); !failure.empty())
        ShowNotice(Q(failure), QMessageBox::Warning);
    if (!connected && session_.Idle() && !session_.HasUnwritten())
        return;
    const std::string name = connected ? dialup_.GetDefaultConnection() : std::string();
    // Read on every connected tick: once the line is down its interface and
    // counters are gone, so the last counts read are the connection's.
    const LinkInfo link = connected ? dialup_.CurrentLink() : LinkInfo{};
    if (!name.empty() && !program_.Tariffs.HasConnectionTariff(name) && lateTariffNames_.insert(name).second)
        AddLateConnectionTariff(
            program_.Profile, dialup_.Phonebook().Entries, name, clock_.Now(), program_.Tariffs);
    TickResult result = session_.Tick(connected, name, link);
    if (result.Started) {
        ShowStartedState();
        if (result.PlayStartSound)
            sound_.PlayStartSound(program_.DataFolder);
    }
    if (connected) {
        const QString duration = Q(session_.DurationLabel());
        setWindowTitle(duration);
        commands_->ShowConnectedTime(duration);
        sessionBox_->ShowTick(session_, result, duration);
        ShowDataUsed(link);
        ShowTotals(program_.SelectedPeriod);
    }
    if (result.Ended) {
        ShowEndedState();
        emit SessionEnded();
    }
    if (!result.Error.empty())
        ShowNotice(Q(result.Error), QMessageBox::Warning);
    ShowArchiveNotice();
    ShowStatisticsNotice();
}

void FrmMain::ShowArchiveNotice()
{
    if (!program_.ArchiveNotice.empty())
        ShowNotice(Q(std::exchange(program_.ArchiveNotice, {})), QMessageBox::Warning);
}

void FrmMain::ShowStatisticsNotice()
{
    if (program_.Stats.Notice.empty())
        return;
    ShowNotice(Q(program_.Stats.Notice), QMessageBox::Information);
    program_.Stats.Notice.clear();
}

void FrmMain::ShowLineState(bool connected)
{
    commands_->ShowConnected(connected);
    stateIcon_->setPixmap(
        QIcon(connected ? ":/icons/connected.svg" : ":/icons/disconnected.svg").pixmap(16, 16));
    stateText_->setText(connected ? tr("当前状态：接通") : tr("当前状态：断开"));
}

void FrmMain::ShowStartedState()
{
    sessionBox_->ShowStarted(session_);
    alertTimer_->start();
    ShowLineState(true);
}

void FrmMain::ShowEndedState()
{
    setWindowTitle(Q(VersionTitle()));
    commands_->ShowConnectedTime({});
    sessionBox_->ShowEnded();
    ShowLineState(false);
    ShowDataUsed({});
    alertTimer_->stop();
    alerts_.ResetCounters();
    ShowTotals(program_.SelectedPeriod);
}

void FrmMain::ShowDataUsed(const LinkInfo& link)
{
    QString text;
    // Either counter alone would understate what the line carried.
    if (link.ReceivedBytes && link.SentBytes) {
        const double megabytes = double(*link.ReceivedBytes + *link.SentBytes) / (1024.0 * 1024.0);
        text = tr("已用流量：%1 MB").arg(megabytes, 0, 'f', 1);
    }
    dataText_->setText(text);
    if (tray_)
        tray_->ShowDataUsed(text);
}

void FrmMain::ShowTotals(int period)
{
    totalsBox_->Show(program_, period);
}

void FrmMain::OnPeriodZeroed(int period)
{
    if (program_.SelectedPeriod == period)
        ShowTotals(period);
}

void FrmMain::OnAlertCheck()
{
    const auto& records = program_.Stats.Records;
    auto measure = [&records](Period p) {
        return PeriodMeasure{records[p].Seconds, records[p].TelFee + records[p].NetFee};
    };
    AlertCheckResult result = alerts_.Check(program_.Alerts, measure(Today), measure(Week), measure(Month));
    if (result.ShowWindow)
        emit alertRequested(Q(AlertText(result.WindowKind, program_.Alerts)));
    if (!result.SoundsToPlay.empty())
        sound_.Play(Q(result.SoundsToPlay.back()));
}

void FrmMain::HangUpCommand()
{
    if (!dialup_.IsConnected())
        return;
    if (AskOkCancel(this, "Tollix", tr("你要挂断当前连接吗？")) != QMessageBox::Ok)
        return;
    HangUpResult result = HangUpAll(dialup_, clock_, [] {
        QEventLoop loop;
        QTimer::singleShot(50, &loop, &QEventLoop::quit);
        loop.exec();
    });
    if (!result.LineDown)
        ShowMessage(this, "Tollix",
            tr("已经发出挂断请求，但连接在30秒内仍未断开。请检查拨号程序（pppd）是否仍在运行。"),
            QMessageBox::Warning);
}

void FrmMain::DialEntry(int index)
{
    if (index < 1 || index > program_.Tariffs.ConnectionCount())
        return;
    DialResult result = dialup_.DialConnection(program_.Tariffs.Connection(index).Name);
    if (!result.Started)
        ShowMessage(this, "Tollix", Q(result.Error), QMessageBox::Warning);
}

void FrmMain::SetStartFlag(Setting key, bool on, bool& held)
{
    // A mark the file did not take goes back to what the program holds.
    if (!saveFailures_->Report(editor_.StartFlag(key, on, held)))
        commands_->ShowStartChecks(program_.AutoHide, program_.PlayWave);
}

void FrmMain::SetTelephoneDiscount(bool on)
{
    if (!saveFailures_->Report(editor_.TelephoneHoliday(on, clock_.Now())))
        commands_->ShowTariffs(program_.Tariffs);
}

void FrmMain::SetConnectionDiscount(int index, bool on)
{
    if (index < 1 || index > program_.Tariffs.ConnectionCount())
        return;
    const std::string name = program_.Tariffs.Connection(index).Name;
    if (!saveFailures_->Report(editor_.ConnectionHoliday(name, on, clock_.Now())))
        commands_->ShowTariffs(program_.Tariffs);
}

void FrmMain::HideMainWindow()
{
    if (tray_ && tray_->Available())
        hide();
    else
        showMinimized();
}

void FrmMain::RestoreMainWindow()
{
    setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    show();
    raise();
    activateWindow();
}

void FrmMain::ShowClock()
{
    clockText_->setText(tr("当前系统时间：") + Q(DateTimeText(clock_.Now())));
}

void FrmMain::showEvent(QShowEvent* event)
{
    ShowClock();
    QMainWindow::showEvent(event);
}

void FrmMain::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::WindowStateChange && !isMinimized())
        ShowClock();
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && isMinimized() && tray_ && tray_->Available())
        QTimer::singleShot(0, this, &QWidget::hide);
}

void FrmMain::closeEvent(QCloseEvent* event)
{
    // Closing the window is a way out like any other; the user's No keeps it.
    if (!EndProgram())
        event->ignore();
}

bool FrmMain::EndProgram()
{
    if (ending_)
        return true;
    if (dialup_.IsConnected()) {
        if (!AskYesNo(this, "Tollix", tr("退出程序将丢失此次连接的资料，你确定吗?")))
            return false;
    }
    ending_ = true;
    session_.Discard();
    if (session_.HasUnwritten())
        ShowMessage(this, "Tollix", Q(session_.UnwrittenText()), QMessageBox::Warning);
    if (tray_)
        tray_->Hide();
    QCoreApplication::exit(0);
    return true;
}

void FrmMain::EndBySystem()
{
    if (ending_)
        return;
    ending_ = true;
    session_.EndNow();
    // No window may hold up the system's end: the reason goes to the error output.
    if (session_.HasUnwritten())
        std::fprintf(stderr, "Tollix: %s\n", session_.UnwrittenText().c_str());
    if (tray_)
        tray_->Hide();
    QCoreApplication::exit(0);
}

void FrmMain::ShowNotice(const QString& text, QMessageBox::Icon icon)
{
    // Not modal: the monitor must keep ticking while the message is up.
    auto* box = new QMessageBox(icon, "Tollix", text, QMessageBox::Ok, this);
    box->setObjectName("noticeBox");
    box->button(QMessageBox::Ok)->setText(OkButtonText());
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setModal(false);
    box->show();
}

}  // namespace tollix
