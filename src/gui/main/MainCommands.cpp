#include "gui/main/MainCommands.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

#include "gui/common/Toolbars.h"
#include "tariff/TariffSet.h"

namespace tollix {

namespace {

template <typename Receiver, typename Handler>
QAction* AddEntry(QMenu* menu, const char* name, const QString& text, Receiver* receiver, Handler handler)
{
    QAction* a = menu->addAction(text);
    a->setObjectName(name);
    QObject::connect(a, &QAction::triggered, receiver, handler);
    return a;
}

void AddSeparator(QMenu* menu, const char* name)
{
    menu->addSeparator()->setObjectName(name);
}

}  // namespace

MainCommands::MainCommands(QMainWindow* window)
    : QObject(window)
{
    BuildMenuBar(window);
    BuildPopup(window);
    BuildToolbar(window);
}

void MainCommands::BuildMenuBar(QMainWindow* window)
{
    QMenu* file = window->menuBar()->addMenu(tr("文件(&F)"));
    file->setObjectName("mnuFile");
    fileDial_ = AddEntry(file, "mnuVDialup", tr("拨号上网(&D)"), this, &MainCommands::dialRequested);
    fileHangUp_ = AddEntry(file, "mnuVHangup", tr("挂断连接(&H)"), this, &MainCommands::hangUpRequested);
    fileHangUp_->setEnabled(false);
    AddSeparator(file, "mnuflag7");
    AddEntry(file, "mnuEmail", tr("给作者写封E-mail"), this, [this] { emit mailRequested(true); });
    AddEntry(file, "mnuExit", tr("退出(&X)"), this, &MainCommands::exitRequested);

    QMenu* settings = window->menuBar()->addMenu(tr("设定(&S)"));
    settings->setObjectName("mnuSettings");
    // The actions have already inverted their check marks when they report.
    autoHide_ = AddEntry(settings, "mnuAutoHide", tr("启动后自动隐藏(&I)"), this,
        [this] { emit autoHideToggled(autoHide_->isChecked()); });
    autoHide_->setCheckable(true);
    playWave_ = AddEntry(settings, "mnuPlayWave", tr("接通后播放声音(&P)"), this,
        [this] { emit playWaveToggled(playWave_->isChecked()); });
    playWave_->setCheckable(true);
    AddSeparator(settings, "mnuFlag4");
    AddEntry(settings, "InsertShortCut", tr("添加捷径到启动组(&T)"), this,
        &MainCommands::startupShortcutRequested);
    AddEntry(
        settings, "mnuAddDesktop", tr("添加捷径到桌面(&D)"), this, &MainCommands::desktopShortcutRequested);

    QMenu* windows = window->menuBar()->addMenu(tr("窗口(&W)"));
    windows->setObjectName("mnuWindow");
    AddEntry(windows, "mnuSettingWindow", tr("设置中心(&E)"), this, &MainCommands::settingsRequested);
    AddEntry(windows, "mnuHistory", tr("历史记录(&R)"), this, &MainCommands::historyRequested);
    AddEntry(windows, "mnuCharts", tr("用量图表(&C)"), this, &MainCommands::chartsRequested);

    QMenu* help = window->menuBar()->addMenu(tr("帮助(&H)"));
    help->setObjectName("mnuhelp");
    AddEntry(help, "mnuShowhelp", tr("显示帮助(&L)"), this, &MainCommands::helpRequested);
    AddSeparator(help, "mnuflag");
    AddEntry(help, "mnuAboutTollix", tr("关于Tollix V3.1(&A)"), this, &MainCommands::aboutRequested);
}

void MainCommands::BuildPopup(QMainWindow* window)
{
    popup_ = new QMenu("Popupmenu", window);
    popup_->setObjectName("mnuPopupmenu");
    connectedTime_ = popup_->addAction(tr("连接时间"));
    connectedTime_->setObjectName("mnuConnectedTime");
    connectedTime_->setVisible(false);
    connectedTimeSeparator_ = popup_->addSeparator();
    connectedTimeSeparator_->setObjectName("mnuflag2");
    connectedTimeSeparator_->setVisible(false);
    dialMenu_ = popup_->addMenu(tr("拨号上网"));
    dialMenu_->setObjectName("mnuDial");
    for (int i = 1; i <= 6; ++i) {
        QAction* a = AddEntry(dialMenu_, "", QString(), this, [this, i] { emit dialEntryRequested(i); });
        a->setObjectName(QString("mnuProfile_%1").arg(i));
        a->setText(QString("Profile%1").arg(i));
        a->setVisible(i == 1);
        dialEntries_[size_t(i - 1)] = a;
    }
    popupHangUp_ = AddEntry(popup_, "mnuHangup", tr("挂断连接"), this, &MainCommands::hangUpRequested);
    popupHangUp_->setEnabled(false);
    QMenu* feeSetting = popup_->addMenu(tr("今天折价设置"));
    feeSetting->setObjectName("mnuFeeSetting");
    QMenu* netHalf = feeSetting->addMenu(tr("今天入网费折价"));
    netHalf->setObjectName("mnuTodayNetHalf");
    for (int i = 1; i <= 6; ++i) {
        QAction* a = AddEntry(netHalf, "", QString(), this,
            [this, i] { emit connectionDiscountToggled(i, discountEntries_[size_t(i - 1)]->isChecked()); });
        a->setObjectName(QString("mnuhalfProfile_%1").arg(i));
        a->setText(QString("Profile%1").arg(i));
        a->setCheckable(true);
        a->setVisible(false);
        discountEntries_[size_t(i - 1)] = a;
    }
    telephoneDiscount_ = AddEntry(feeSetting, "mnuTodayTelHalf", tr("今天电话费折价"), this,
        [this] { emit telephoneDiscountToggled(telephoneDiscount_->isChecked()); });
    telephoneDiscount_->setCheckable(true);
    AddSeparator(popup_, "mnuFlag3");
    AddEntry(popup_, "mnuOpen", tr("主窗口"), this, &MainCommands::restoreRequested);
    AddEntry(popup_, "mnuShowSettingWindow", tr("设置中心"), this, &MainCommands::settingsRequested);
    AddEntry(popup_, "mnushowHistory", tr("历史记录"), this, &MainCommands::historyRequested);
    AddSeparator(popup_, "mnuflag6");
    AddEntry(popup_, "mnupopEmail", tr("给作者写封E-mail"), this, [this] { emit mailRequested(false); });
    AddEntry(popup_, "mnuAbout", tr("关于Tollix V3.1"), this, &MainCommands::aboutRequested);
    AddEntry(popup_, "mnuPopupExit", tr("退出"), this, &MainCommands::exitRequested);
}

void MainCommands::BuildToolbar(QMainWindow* window)
{
    // The tool tips are the buttons' longer Chinese descriptions.
    const QList<QAction*> actions = AddToolbar(
        window,
        {
            {QT_TRANSLATE_NOOP("Toolbar", "拨号上网"), "dial", QT_TRANSLATE_NOOP("Toolbar", "开始花钱")},
            {QT_TRANSLATE_NOOP("Toolbar", "挂断连接"), "hangup", QT_TRANSLATE_NOOP("Toolbar", "玩够了")},
            {QT_TRANSLATE_NOOP("Toolbar", "设置中心"), "settings",
                QT_TRANSLATE_NOOP("Toolbar", "设置话费,网费,报警,置零")},
            {QT_TRANSLATE_NOOP("Toolbar", "历史记录"), "history", QT_TRANSLATE_NOOP("Toolbar", "秋后算帐")},
            {QT_TRANSLATE_NOOP("Toolbar", "隐藏"), "hide", QT_TRANSLATE_NOOP("Toolbar", "隐藏到右下角")},
            {QT_TRANSLATE_NOOP("Toolbar", "显示帮助"), "help", QT_TRANSLATE_NOOP("Toolbar", "解答一些问题")},
            {QT_TRANSLATE_NOOP("Toolbar", "退出"), "exit", QT_TRANSLATE_NOOP("Toolbar", "退出Tollix")},
        },
        [this](const QString& caption) {
            if (caption == "拨号上网")
                emit dialRequested();
            else if (caption == "挂断连接")
                emit hangUpRequested();
            else if (caption == "历史记录")
                emit historyRequested();
            else if (caption == "设置中心")
                emit settingsRequested();
            else if (caption == "隐藏")
                emit hideRequested();
            else if (caption == "显示帮助")
                emit helpRequested();
            else if (caption == "退出")
                emit exitRequested();
        },
        &toolbar_);
    toolDial_ = actions[0];
    toolHangUp_ = actions[1];
    toolHangUp_->setEnabled(false);
}

void MainCommands::ShowTariffs(const TariffSet& tariffs)
{
    const int n = std::min(tariffs.ConnectionCount(), 6);
    for (int i = 1; i <= n; ++i) {
        // Names are shown as they are; '&' would otherwise become a shortcut mark.
        QString caption = QString::fromStdString(tariffs.Connection(i).Name);
        caption.replace("&", "&&");
        QAction* dial = dialEntries_[size_t(i - 1)];
        QAction* discount = discountEntries_[size_t(i - 1)];
        dial->setText(caption);
        dial->setVisible(true);
        discount->setText(caption);
        discount->setVisible(true);
        discount->setChecked(tariffs.Connection(i).HolidayFlag != 0);
    }
    telephoneDiscount_->setChecked(tariffs.Telephone.HolidayFlag != 0);
}

void MainCommands::ShowStartChecks(bool autoHide, bool playWave)
{
    autoHide_->setChecked(autoHide);
    playWave_->setChecked(playWave);
}

void MainCommands::ShowConnected(bool connected)
{
    toolDial_->setEnabled(!connected);
    toolHangUp_->setEnabled(connected);
    dialMenu_->setEnabled(!connected);
    fileDial_->setEnabled(!connected);
    popupHangUp_->setEnabled(connected);
    fileHangUp_->setEnabled(connected);
}

void MainCommands::ShowConnectedTime(const QString& duration)
{
    connectedTime_->setVisible(!duration.isEmpty());
    connectedTimeSeparator_->setVisible(!duration.isEmpty());
    if (!duration.isEmpty())
        connectedTime_->setText(duration);
}

}  // namespace tollix
