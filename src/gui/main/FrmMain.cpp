#include "gui/main/FrmMain.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

#include "base/Clock.h"
#include "config/SettingKeys.h"
#include "dialup/DialupService.h"
#include "gui/alerts/FrmAlert.h"
#include "gui/common/MessageBoxes.h"
#include "gui/common/ShellCommands.h"
#include "gui/common/SoundPlayer.h"
#include "gui/common/Toolbars.h"
#include "meter/Program.h"
#include "meter/SessionJournal.h"
#include "tariff/TariffSet.h"

namespace tollix {

namespace {

FrmMain::WindowOpener& SettingsOpener()
{
    static FrmMain::WindowOpener opener;
    return opener;
}
FrmMain::WindowOpener& HistoryOpener()
{
    static FrmMain::WindowOpener opener;
    return opener;
}
FrmMain::WindowOpener& DialOpener()
{
    static FrmMain::WindowOpener opener;
    return opener;
}

QString Q(const std::string& s)
{
    return QString::fromStdString(s);
}

QLabel* ValueLabel(const char* name, QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setMinimumWidth(260);
    return label;
}

struct ValueRow {
    const char* caption;
    const char* name;
    QLabel** label;
};

// A column of fixed captions with their value labels beside them.
void AddValueRows(
    QGridLayout* grid, QWidget* parent, const char* captionName, std::initializer_list<ValueRow> rows)
{
    int i = 0;
    for (const ValueRow& row : rows) {
        auto* caption = new QLabel(QString::fromUtf8(row.caption), parent);
        if (captionName)
            caption->setObjectName(QString("%1_%2").arg(captionName).arg(i));
        *row.label = ValueLabel(row.name, parent);
        grid->addWidget(caption, i, 0, Qt::AlignRight);
        grid->addWidget(*row.label, i, 1);
        ++i;
    }
}

}  // namespace

void FrmMain::SetSettingsOpener(WindowOpener opener)
{
    SettingsOpener() = std::move(opener);
}
void FrmMain::SetHistoryOpener(WindowOpener opener)
{
    HistoryOpener() = std::move(opener);
}
void FrmMain::SetDialOpener(WindowOpener opener)
{
    DialOpener() = std::move(opener);
}

FrmMain::FrmMain(
    Program& program, DialupService& dialup, const Clock& clock, SoundPlayer& sound, QWidget* parent)
    : QMainWindow(parent)
    , program_(program)
    , dialup_(dialup)
    , clock_(clock)
    , sound_(sound)
    , session_(program, clock)
{
    setObjectName("FrmMain");
    setWindowTitle("Tollix V3.1");
    setWindowIcon(QIcon(":/icons/tollix.svg"));
    BuildWindow();
    BuildMenus();
    BuildToolbar();

    tmrStartOnce_ = new QTimer(this);
    tmrStartOnce_->setObjectName("tmrStartOnce");
    tmrStartOnce_->setInterval(1000);
    tmrStartOnce_->setSingleShot(true);
    connect(tmrStartOnce_, &QTimer::timeout, this, &FrmMain::tmrStartOnce_Timer);
    tmrSystemtime_ = new QTimer(this);
    tmrSystemtime_->setObjectName("tmrSystemtime");
    tmrSystemtime_->setInterval(1000);
    connect(tmrSystemtime_, &QTimer::timeout, this, &FrmMain::tmrSystemtime_Timer);
    tmrPlayWave_ = new QTimer(this);
    tmrPlayWave_->setObjectName("tmrPlayWave");
    tmrPlayWave_->setInterval(60000);
    connect(tmrPlayWave_, &QTimer::timeout, this, &FrmMain::tmrPlayWave_Timer);
}

FrmMain::~FrmMain() = default;

void FrmMain::BuildWindow()
{
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);

    Frame1_ = new QGroupBox("上一次连接", central);
    Frame1_->setObjectName("Frame1");
    AddValueRows(new QGridLayout(Frame1_), Frame1_, nullptr,
        {{"当前连接名称:", "lblCurrentName", &lblCurrentName_},
            {"开始连接时间:", "lblStarttime", &lblStarttime_},
            {"至今持续时间:", "lblDuration", &lblDuration_},
            {"此次连接电话费：", "lblCurrentTelFee", &lblCurrentTelFee_},
            {"此次连接入网费:", "lblCurrentNetFee", &lblCurrentNetFee_},
            {"此次连接总费用:", "lblTotalPrice", &lblTotalPrice_}});
    layout->addWidget(Frame1_);

    auto* frame2 = new QGroupBox("合计", central);
    frame2->setObjectName("Frame2");
    auto* frame2Layout = new QVBoxLayout(frame2);
    auto* options = new QHBoxLayout;
    const char* periods[] = {"今天", "这个星期", "这个月", "不定时间段"};
    for (int i = 0; i < 4; ++i) {
        otnSelectDay_[size_t(i)] = new QRadioButton(periods[i], frame2);
        otnSelectDay_[size_t(i)]->setObjectName(QString("otnSelectDay_%1").arg(i));
        options->addWidget(otnSelectDay_[size_t(i)]);
        connect(otnSelectDay_[size_t(i)], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on) {
                program_.SelectedPeriod = static_cast<int16_t>(i);
                ShowOptionButton(i);
            }
        });
    }
    {
        const QSignalBlocker quiet(otnSelectDay_[0]);
        otnSelectDay_[0]->setChecked(true);
    }
    frame2Layout->addLayout(options);
    auto* grid2 = new QGridLayout;
    AddValueRows(grid2, frame2, "Label1",
        {{"起算日期:", "lblStartDate", &lblStartDate_}, {"总耗时:", "lblTotalTime", &lblTotalTime_},
            {"上网次数:", "lblConnectionTimes", &lblConnectionTimes_},
            {"总费用:", "lblTotalCost", &lblTotalCost_}, {"入网费:", "lblNetFee", &lblNetFee_},
            {"电话费:", "lblTelfee", &lblTelfee_}});
    frame2Layout->addLayout(grid2);
    layout->addWidget(frame2);
    setCentralWidget(central);

    auto* bar = new QStatusBar(this);
    bar->setObjectName("StatusBar1");
    auto* panel1 = new QWidget(bar);
    auto* panel1Layout = new QHBoxLayout(panel1);
    panel1Layout->setContentsMargins(0, 0, 0, 0);
    panel1Icon_ = new QLabel(panel1);
    panel1Icon_->setObjectName("StatusBar1_Picture1");
    panel1_ = new QLabel("当前状态：", panel1);
    panel1_->setObjectName("StatusBar1_Panel1");
    panel1Layout->addWidget(panel1Icon_);
    panel1Layout->addWidget(panel1_);
    panel2_ = new QLabel("当前系统时间：", bar);
    panel2_->setObjectName("StatusBar1_Panel2");
    bar->addWidget(panel1, 1);
    bar->addWidget(panel2_, 1);
    setStatusBar(bar);
}

void FrmMain::BuildMenus()
{
    auto action = [this](QMenu* menu, const char* name, const char* text, auto handler) {
        QAction* a = menu->addAction(QString::fromUtf8(text));
        a->setObjectName(name);
        connect(a, &QAction::triggered, this, handler);
        return a;
    };
    auto separator = [](QMenu* menu, const char* name) { menu->addSeparator()->setObjectName(name); };

    QMenu* file = menuBar()->addMenu("文件(&F)");
    file->setObjectName("mnuFile");
    mnuVDialup_ = action(file, "mnuVDialup", "拨号上网(&D)", &FrmMain::OpenDial);
    mnuVHangup_ = action(file, "mnuVHangup", "挂断连接(&H)", &FrmMain::HangUpCommand);
    mnuVHangup_->setEnabled(false);
    separator(file, "mnuflag7");
    action(file, "mnuEmail", "给作者写封E-mail", [] { OpenMailLink(true); });
    action(file, "mnuExit", "退出(&X)", [this] { EndProgram(); });

    QMenu* settings = menuBar()->addMenu("设定(&S)");
    settings->setObjectName("mnuSettings");
    mnuAutoHide_ = action(settings, "mnuAutoHide", "启动后自动隐藏(&I)", &FrmMain::ToggleAutoHide);
    mnuAutoHide_->setCheckable(true);
    mnuPlayWave_ = action(settings, "mnuPlayWave", "接通后播放声音(&P)", &FrmMain::TogglePlayWave);
    mnuPlayWave_->setCheckable(true);
    separator(settings, "mnuFlag4");
    action(settings, "InsertShortCut", "添加捷径到启动组(&T)", [this] { InsertShortCut(this); });
    action(settings, "mnuAddDesktop", "添加捷径到桌面(&D)", [this] { AddDesktopShortcut(this); });

    QMenu* window = menuBar()->addMenu("窗口(&W)");
    window->setObjectName("mnuWindow");
    action(window, "mnuSettingWindow", "设置中心(&E)", &FrmMain::OpenSettings);
    action(window, "mnuHistory", "历史记录(&R)", &FrmMain::OpenHistory);

    QMenu* help = menuBar()->addMenu("帮助(&H)");
    help->setObjectName("mnuhelp");
    action(help, "mnuShowhelp", "显示帮助(&L)", [this] { ShowHelp(this); });
    separator(help, "mnuflag");
    action(help, "mnuAboutTollix", "关于Tollix V3.1(&A)", [this] { ShowAbout(this); });

    // The popup menu lives at the tray icon only.
    mnuPopupmenu_ = new QMenu("Popupmenu", this);
    mnuPopupmenu_->setObjectName("mnuPopupmenu");
    mnuConnectedTime_ = mnuPopupmenu_->addAction("连接时间");
    mnuConnectedTime_->setObjectName("mnuConnectedTime");
    mnuConnectedTime_->setVisible(false);
    mnuflag2_ = mnuPopupmenu_->addSeparator();
    mnuflag2_->setObjectName("mnuflag2");
    mnuflag2_->setVisible(false);
    mnuDial_ = mnuPopupmenu_->addMenu("拨号上网");
    mnuDial_->setObjectName("mnuDial");
    for (int i = 1; i <= 6; ++i) {
        QAction* a = action(mnuDial_, "", "", [this, i] { DialProfile(i); });
        a->setObjectName(QString("mnuProfile_%1").arg(i));
        a->setText(QString("Profile%1").arg(i));
        a->setVisible(i == 1);
        mnuProfile_[size_t(i)] = a;
    }
    mnuHangup_ = action(mnuPopupmenu_, "mnuHangup", "挂断连接", &FrmMain::HangUpCommand);
    mnuHangup_->setEnabled(false);
    QMenu* feeSetting = mnuPopupmenu_->addMenu("今天折价设置");
    feeSetting->setObjectName("mnuFeeSetting");
    QMenu* netHalf = feeSetting->addMenu("今天入网费折价");
    netHalf->setObjectName("mnuTodayNetHalf");
    for (int i = 1; i <= 6; ++i) {
        QAction* a = action(netHalf, "", "", [this, i] { HalfProfile(i); });
        a->setObjectName(QString("mnuhalfProfile_%1").arg(i));
        a->setText(QString("Profile%1").arg(i));
        a->setCheckable(true);
        a->setVisible(false);
        mnuhalfProfile_[size_t(i)] = a;
    }
    mnuTodayTelHalf_ = action(feeSetting, "mnuTodayTelHalf", "今天电话费折价", &FrmMain::TodayTelHalf);
    mnuTodayTelHalf_->setCheckable(true);
    separator(mnuPopupmenu_, "mnuFlag3");
    action(mnuPopupmenu_, "mnuOpen", "主窗口", &FrmMain::RestoreMainWindow);
    action(mnuPopupmenu_, "mnuShowSettingWindow", "设置中心", &FrmMain::OpenSettings);
    action(mnuPopupmenu_, "mnushowHistory", "历史记录", &FrmMain::OpenHistory);
    separator(mnuPopupmenu_, "mnuflag6");
    action(mnuPopupmenu_, "mnupopEmail", "给作者写封E-mail", [] { OpenMailLink(false); });
    action(mnuPopupmenu_, "mnuAbout", "关于Tollix V3.1", [this] { ShowAbout(this); });
    action(mnuPopupmenu_, "mnuPopupExit", "退出", [this] { EndProgram(); });
}

void FrmMain::BuildToolbar()
{
    // The tool tips are the buttons' longer Chinese descriptions.
    const QList<QAction*> actions = AddToolbar(
        this,
        {
            {"拨号上网", "dial", "开始花钱"},
            {"挂断连接", "hangup", "玩够了"},
            {"设置中心", "settings", "设置话费,网费,报警,置零"},
            {"历史记录", "history", "秋后算帐"},
            {"隐藏", "hide", "隐藏到右下角"},
            {"显示帮助", "help", "解答一些问题"},
            {"退出", "exit", "退出Tollix"},
        },
        [this](const QString& caption) {
            if (caption == "拨号上网")
                OpenDial();
            else if (caption == "挂断连接")
                HangUpCommand();
            else if (caption == "历史记录")
                OpenHistory();
            else if (caption == "设置中心")
                OpenSettings();
            else if (caption == "隐藏")
                HideMainWindow();
            else if (caption == "显示帮助")
                ShowHelp(this);
            else if (caption == "退出")
                EndProgram();
        },
        &Toolbar1_);
    for (int i = 1; i <= 7; ++i)
        toolButtons_[size_t(i)] = actions[i - 1];
    toolButtons_[2]->setEnabled(false);
}

void FrmMain::BuildTray()
{
    if (!QSystemTrayIcon::isSystemTrayAvailable()) {
        // Without a notification area the popup menu opens on the window instead.
        centralWidget()->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(centralWidget(), &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { mnuPopupmenu_->popup(centralWidget()->mapToGlobal(pos)); });
        return;
    }
    tray_ = new QSystemTrayIcon(QIcon(":/icons/tollix.svg"), this);
    tray_->setObjectName("TrayIcon");
    tray_->setToolTip(Q(VersionTitle()));
    tray_->setContextMenu(mnuPopupmenu_);
    connect(tray_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::DoubleClick)
            RestoreMainWindow();
    });
    tray_->show();
}

bool FrmMain::TrayAvailable() const
{
    return tray_ != nullptr;
}

bool FrmMain::Form_Load()
{
    IniMenu();
    mnuAutoHide_->setChecked(program_.AutoHide);
    mnuPlayWave_->setChecked(program_.PlayWave);
    toolButtons_[1]->setEnabled(true);
    toolButtons_[2]->setEnabled(false);
    panel1Icon_->setPixmap(QIcon(":/icons/disconnected.svg").pixmap(16, 16));
    panel1_->setText("当前状态：断开");
    BuildTray();

    RecoveryResult recovery = RecoverOpenSession(program_);

    std::string error;
    if (!OpenStatistics(program_, clock_.Now(), &error)) {
        ShowMessage(
            this, "Tollix", Q("无法打开统计文件，Tollix 不能继续运行。\n" + error), QMessageBox::Critical);
        return false;
    }
    ShowOptionButton(0);
    show();
    tmrStartOnce_->start();
    tmrSystemtime_->start();
    // Told once the window is up, without holding up the monitor.
    if (recovery.Recovered)
        ShowNotice(Q(recovery.Report), QMessageBox::Information);
    if (!recovery.Error.empty())
        ShowNotice(Q(recovery.Error), QMessageBox::Warning);
    return true;
}

void FrmMain::IniMenu()
{
    const TariffSet& tariffs = program_.Tariffs;
    const int n = std::min(tariffs.ConnectionCount(), 6);
    for (int i = 1; i <= n; ++i) {
        const QString name = Q(tariffs.Connection(i).Name);
        // Names are shown as they are; '&' would otherwise become a shortcut mark.
        QString caption = name;
        caption.replace("&", "&&");
        mnuProfile_[size_t(i)]->setText(caption);
        mnuProfile_[size_t(i)]->setVisible(true);
        mnuhalfProfile_[size_t(i)]->setText(caption);
        mnuhalfProfile_[size_t(i)]->setVisible(true);
        mnuhalfProfile_[size_t(i)]->setChecked(tariffs.Connection(i).HolidayFlag != 0);
    }
    mnuTodayTelHalf_->setChecked(tariffs.Telephone.HolidayFlag != 0);
}

void FrmMain::RefreshMenusFromTariffs()
{
    IniMenu();
}

void FrmMain::tmrStartOnce_Timer()
{
    // Without a notification area a hidden window could never be brought back.
    if (mnuAutoHide_->isChecked() && TrayAvailable())
        hide();
    tmrStartOnce_->stop();
}

void FrmMain::tmrSystemtime_Timer()
{
    if (ending_)
        return;
    panel2_->setText(Q("当前系统时间：" + DateTimeText(clock_.Now())));
    const bool connected = dialup_.IsConnected();
    if (!connected && session_.Idle())
        return;
    const std::string name = connected ? dialup_.GetDefaultConnection() : std::string();
    TickResult result = session_.Tick(connected, name);
    if (result.Started) {
        ShowStartedState();
        if (result.PlayStartSound)
            sound_.PlayStartSound(program_.DataFolder);
    }
    if (connected)
        ShowConnectedTexts(result);
    if (result.Ended) {
        ShowEndedState();
        emit SessionEnded();
    }
    if (!result.Error.empty())
        ShowError(Q(result.Error));
}

void FrmMain::ShowStartedState()
{
    lblStarttime_->setText(Q(session_.StartTimeText()));
    tmrPlayWave_->start();
    toolButtons_[1]->setEnabled(false);
    toolButtons_[2]->setEnabled(true);
    panel1Icon_->setPixmap(QIcon(":/icons/connected.svg").pixmap(16, 16));
    panel1_->setText("当前状态：接通");
    Frame1_->setTitle("本次连接");
    mnuDial_->setEnabled(false);
    mnuVDialup_->setEnabled(false);
    mnuHangup_->setEnabled(true);
    mnuVHangup_->setEnabled(true);
}

void FrmMain::ShowConnectedTexts(const TickResult& result)
{
    if (result.UnitCharged)
        lblCurrentTelFee_->setText(Q(session_.TelFeeLabel()));
    if (result.MinuteCharged) {
        lblCurrentNetFee_->setText(Q(session_.NetFeeLabel()));
        lblTotalPrice_->setText(Q(session_.TotalPriceLabel()));
    }
    const QString duration = Q(session_.DurationLabel());
    setWindowTitle(duration);
    mnuConnectedTime_->setVisible(true);
    mnuflag2_->setVisible(true);
    mnuConnectedTime_->setText(duration);
    lblDuration_->setText(duration);
    lblCurrentName_->setText(Q(session_.CurrentName()));
    ShowOptionButton(program_.SelectedPeriod);
}

void FrmMain::ShowEndedState()
{
    setWindowTitle(Q(VersionTitle()));
    mnuConnectedTime_->setVisible(false);
    mnuflag2_->setVisible(false);
    Frame1_->setTitle("上一次连接");
    toolButtons_[1]->setEnabled(true);
    toolButtons_[2]->setEnabled(false);
    panel1Icon_->setPixmap(QIcon(":/icons/disconnected.svg").pixmap(16, 16));
    panel1_->setText("当前状态：断开");
    mnuDial_->setEnabled(true);
    mnuVDialup_->setEnabled(true);
    mnuHangup_->setEnabled(false);
    mnuVHangup_->setEnabled(false);
    tmrPlayWave_->stop();
    alerts_.ResetCounters();
    ShowOptionButton(program_.SelectedPeriod);
}

void FrmMain::ShowOptionButton(int index)
{
    if (index < 0 || index > 3)
        return;
    const UsageRecord& r = program_.Stats.Records[size_t(index)];
    const Money t = program_.Stats.RunningTelFee[size_t(index)];
    const Money n = program_.Stats.RunningNetFee[size_t(index)];
    lblStartDate_->setText(Q(DateText(r.StartDate)));
    lblTotalTime_->setText(Q(DurationText(r.Seconds) + " (" + std::to_string(r.CallUnits) + "个电话)"));
    lblConnectionTimes_->setText(Q(std::to_string(r.Connections) + "次"));
    lblTelfee_->setText(Q(MoneyText(t) + " 元"));
    std::string fixed;
    const int16_t idx = program_.FeeTypeTwoIndex;
    if (index == Month && program_.FeeTypeTwo && idx >= 1 && idx <= program_.Tariffs.ConnectionCount())
        fixed = "+" + MoneyText(program_.Tariffs.Connection(idx).FixFee);
    lblNetFee_->setText(Q(MoneyText(n) + fixed + " 元"));
    lblTotalCost_->setText(Q(MoneyText(n + t) + fixed + " 元"));
}

void FrmMain::tmrPlayWave_Timer()
{
    const auto& records = program_.Stats.Records;
    auto measure = [&records](Period p) {
        return PeriodMeasure{records[p].Seconds, records[p].TelFee + records[p].NetFee};
    };
    AlertCheckResult result = alerts_.Check(program_.Alerts, measure(Today), measure(Week), measure(Month));
    if (result.ShowWindow) {
        if (!alertWindow_)
            alertWindow_ = new FrmAlert(Q(AlertText(result.WindowKind, program_.Alerts)));
        alertWindow_->show();
        alertWindow_->raise();
    }
    if (!result.SoundsToPlay.empty())
        sound_.Play(Q(result.SoundsToPlay.back()));
}

void FrmMain::HangUpCommand()
{
    if (!dialup_.IsConnected())
        return;
    if (AskOkCancel(this, "Tollix", "你要挂断当前连接吗？") != QMessageBox::Ok)
        return;
    HangUpResult result = HangUpAll(dialup_, clock_, [] {
        QEventLoop loop;
        QTimer::singleShot(50, &loop, &QEventLoop::quit);
        loop.exec();
    });
    if (!result.LineDown)
        ShowMessage(this, "Tollix",
            "已经发出挂断请求，但连接在30秒内仍未断开。请检查拨号程序（pppd）是否仍在运行。",
            QMessageBox::Warning);
}

void FrmMain::DialProfile(int index)
{
    if (index < 1 || index > program_.Tariffs.ConnectionCount())
        return;
    DialResult result = dialup_.DialConnection(program_.Tariffs.Connection(index).Name);
    if (!result.Started)
        ShowMessage(this, "Tollix", Q(result.Error), QMessageBox::Warning);
}

void FrmMain::ToggleAutoHide()
{
    // The action has already inverted its check mark.
    program_.AutoHide = mnuAutoHide_->isChecked();
    WriteSetting(program_.Profile, Setting::AutoHide, program_.AutoHide ? "-1" : "0");
}

void FrmMain::TogglePlayWave()
{
    program_.PlayWave = mnuPlayWave_->isChecked();
    WriteSetting(program_.Profile, Setting::PlayWave, program_.PlayWave ? "-1" : "0");
}

void FrmMain::TodayTelHalf()
{
    const bool on = mnuTodayTelHalf_->isChecked();
    program_.Tariffs.Telephone.HolidayFlag = on ? 1 : 0;
    WriteTodayDiscount(program_.Profile, "Telephone Fee", on, clock_.Now());
}

void FrmMain::HalfProfile(int index)
{
    if (index < 1 || index > program_.Tariffs.ConnectionCount())
        return;
    const bool on = mnuhalfProfile_[size_t(index)]->isChecked();
    ConnectionTariff& tariff = program_.Tariffs.Connection(index);
    tariff.HolidayFlag = on ? 1 : 0;
    // A connection's switch writes its flag first, then the moment it was set.
    WriteConnectionSetting(program_.Profile, tariff.Name, ConnectionSetting::HolidayFlag, on ? "1" : "0");
    WriteConnectionSetting(
        program_.Profile, tariff.Name, ConnectionSetting::HolidayStart, GeneralDateText(clock_.Now()));
}

void FrmMain::OpenSettings()
{
    if (SettingsOpener())
        SettingsOpener()(*this);
}

void FrmMain::OpenHistory()
{
    if (HistoryOpener())
        HistoryOpener()(*this);
}

void FrmMain::OpenDial()
{
    if (DialOpener())
        DialOpener()(*this);
}

void FrmMain::HideMainWindow()
{
    if (TrayAvailable())
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

void FrmMain::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && isMinimized() && TrayAvailable())
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
        if (!AskYesNo(this, "Tollix", "退出程序将丢失此次连接的资料，你确定吗?"))
            return false;
    }
    ending_ = true;
    session_.Discard();
    if (tray_)
        tray_->hide();
    QCoreApplication::exit(0);
    return true;
}

void FrmMain::EndBySystem()
{
    if (ending_)
        return;
    ending_ = true;
    session_.EndNow();
    if (tray_)
        tray_->hide();
    QCoreApplication::exit(0);
}

void FrmMain::ShowError(const QString& text)
{
    ShowNotice(text, QMessageBox::Warning);
}

void FrmMain::ShowNotice(const QString& text, QMessageBox::Icon icon)
{
    // Not modal: the monitor must keep ticking while the message is up.
    auto* box = new QMessageBox(icon, "Tollix", text, QMessageBox::Ok, this);
    box->setObjectName("noticeBox");
    box->button(QMessageBox::Ok)->setText("确定");
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setModal(false);
    box->show();
}

}  // namespace tollix
