#include "gui/main/FrmMain.h"

#include <QtWidgets>

#include <functional>

#include "WindowTestSupport.h"
#include "gui/common/SoundOutput.h"

using namespace tollix;
using namespace tollix::test;

namespace {

// A Wednesday noon: daytime prices, no weekend discount.
const DateTime kNoon = At(2024, 3, 13, 12);

// The demo line's phonebook: "163", "169多媒体通信网", "ChinaNet-Guangzhou-56K".
const char* const kName1 = "163";

// The program on the demo line, with the commands the main window tests use.
struct MainWorld : ProgramWorld {
    explicit MainWorld(DateTime start, const std::string& iniUtf8 = "")
        : ProgramWorld(start, iniUtf8)
    {
        Start();
    }
    void Tick(int seconds)
    {
        clock.Advance(seconds);
        main->OnMonitorTick();
    }
    // Dials and waits the demo modem's three seconds; the tick opens the session.
    void Connect(const std::string& name)
    {
        QVERIFY(dialup->DialConnection(name).Started);
        Tick(3);
        QVERIFY(dialup->IsConnected());
    }
    void Drop()
    {
        dialup->HangUp();
        Tick(1);
        QVERIFY(!dialup->IsConnected());
    }
    QString Text(const QString& label) const { return Child<QLabel>(main, label)->text(); }
    // Any of the window's actions: the menus', the toolbar's and the tray menu's.
    QAction* Action(const QString& name) const { return Child<QAction>(main, name); }
    QRadioButton* Option(int i) const { return Child<QRadioButton>(main, QString("otnSelectDay_%1").arg(i)); }
};

// The texts the window shows: value labels by name, and pseudo names for the
// caption, the frame, the status bar panels and the tray menu's time entry.
void ExpectShown(MainWorld& w, const QString& expected, const char* step)
{
    for (const QString& pair : expected.split('|')) {
        const QString what = pair.section('=', 0, 0), text = pair.section('=', 1);
        QAction* time = w.Action("mnuConnectedTime");
        const QString actual = what == "caption" ? w.main->windowTitle()
            : what == "Frame1"                   ? Child<QGroupBox>(w.main, "Frame1")->title()
            : what.startsWith("panel")           ? w.Text("StatusBar1_Panel" + what.mid(5))
            : what != time->objectName()         ? w.Text(what)
            : time->isVisible()                  ? time->text()
                                                 : "<hidden>";
        QVERIFY2(actual == text,
            qPrintable(QString("%1: %2 shows \"%3\", expected \"%4\"").arg(step, what, actual, text)));
    }
}

}  // namespace

class FrmMainTest : public QObject {
    Q_OBJECT
private slots:
    void oneConnectionFromDialToDrop()
    {
        MainWorld w(kNoon);
        const struct {
            const char* step;
            std::function<void()> act;
            bool connected;
            const char* shown;  // what=text pairs, split by "|"
        } steps[] = {
            {"at rest", [] {}, false,
                "caption=Tollix V3.1|Frame1=上一次连接|panel1=当前状态：断开|lblCurrentName="
                "|mnuConnectedTime=<hidden>|lblStartDate=2024年3月13日|lblTotalTime= (0个电话)"
                "|lblConnectionTimes=0次|lblTotalCost=0 元"},
            // The totals follow the open connection tick by tick. The session's
            // own labels are the session's to pin: one of them stands for all.
            {"line up",
                [&] {
                    w.Connect(kName1);
                    w.Tick(62);
                    w.Tick(123);
                },
                true,
                "caption=3分5秒 (2个电话)|Frame1=本次连接|panel1=当前状态：接通"
                "|panel2=当前系统时间：2024年03月13日12点03分|mnuConnectedTime=3分5秒 (2个电话)"
                "|lblCurrentName=163|lblDuration=3分5秒 (2个电话)|lblTotalTime=3分5秒 (2个电话)"
                "|panel3=已用流量：0.8 MB|lblConnectionTimes=1次|lblTelfee=0.24 元|lblTotalCost=0.64 元"},
            // The upper labels keep the connection just ended; the totals hold
            // it as stored.
            {"line dropped", [&] { w.Drop(); }, false,
                "caption=Tollix 3.1|Frame1=上一次连接|panel1=当前状态：断开|panel3=|mnuConnectedTime=<hidden>"
                "|lblDuration=3分5秒 (2个电话)|lblTotalTime=4分 (2个电话)"},
        };
        for (const auto& s : steps) {
            s.act();
            ExpectShown(w, s.shown, s.step);
            // Dialling is offered while no connection is up, hanging up while one is.
            for (auto [name, whenConnected] : {std::pair{"mnuVDialup", false}, {"Toolbar1_1", false},
                     {"mnuVHangup", true}, {"mnuHangup", true}, {"Toolbar1_2", true}})
                QVERIFY2(w.Action(name)->isEnabled() == (s.connected == whenConnected),
                    qPrintable(QString(s.step) + ": " + name));
            QVERIFY2(Child<QMenu>(w.main, "mnuDial")->isEnabled() == !s.connected, s.step);
        }
    }

    // The option picks the period the totals show, and the tick keeps showing
    // it. "163" is rated hours with no free hours (each minute past them costs
    // 0.15), and the month's totals carry the fixed monthly fee, open
    // connection or not.
    void periodOptions()
    {
        MainWorld w(
            At(2024, 3, 5, 12), "[163]\r\nFee Type=2\r\nFix Hour=0\r\nExcel Fee=150\r\nFix Fee=200000\r\n");
        w.Connect(kName1);
        w.Tick(130);
        w.Drop();
        w.clock.Set(kNoon);
        w.Connect(kName1);
        w.Tick(185);
        QVERIFY(w.Option(0)->isChecked());
        for (auto [option, drop, shown] :
            {std::tuple{2, false, "lblNetFee=0.9+200 元|lblTotalCost=1.26+200 元"},
                {2, true, "lblNetFee=0.9+200 元|lblTotalCost=1.26+200 元"},
                {3, false, "lblStartDate=2024年3月5日|lblNetFee=0.9 元|lblTotalCost=1.26 元"}}) {
            if (drop)
                w.Drop();
            w.Option(option)->click();
            w.Tick(1);
            ExpectShown(w, shown, drop ? "after the drop" : "period");
        }
    }

    // The toolbar's button asks like the menus' entries, which share its code.
    void hangUpCommand()
    {
        MainWorld w(kNoon);
        w.Connect(kName1);
        QAction* hangUp = w.Action("Toolbar1_2");
        {
            BoxAnswerer cancel({QMessageBox::Cancel});
            hangUp->trigger();
            QCOMPARE(cancel.seen.size(), 1);
            QCOMPARE(QStringList({cancel.seen[0].title, cancel.seen[0].text}) + cancel.seen[0].buttons,
                (QStringList{"Tollix", "你要挂断当前连接吗？", "确定", "取消"}));
            w.Tick(1);
            QVERIFY(w.dialup->IsConnected());
        }
        // The hang-up waits on the steady clock; time moves on while it does.
        QTimer time;
        QObject::connect(&time, &QTimer::timeout, [&] { w.clock.Advance(1); });
        time.start(2);
        BoxAnswerer ok({QMessageBox::Ok});
        hangUp->trigger();
        time.stop();
        QCOMPARE(ok.seen.size(), 1);
        QVERIFY(!w.dialup->IsConnected());
    }

    // Each switch, set and cleared, holds its mark across a restart; which
    // keys they write and what memory holds is the settings editor's to pin.
    void menuSwitchesAndDiscountMenus()
    {
        MainWorld w(At(2024, 3, 13, 10));
        const QStringList switches = {"mnuAutoHide", "mnuTodayTelHalf", "mnuhalfProfile_2"};
        for (const bool on : {true, false}) {
            for (const QString& action : switches)
                w.Action(action)->trigger();
            w.Start();
            for (const QString& action : switches)
                QVERIFY2(w.Action(action)->isChecked() == on, qPrintable(action));
        }
        // The discount menus list the phonebook's entries, one item each.
        const QStringList names = {"163", "169多媒体通信网", "ChinaNet-Guangzhou-56K"};
        for (int i = 1; i <= 6; ++i)
            for (const char* prefix : {"mnuProfile_", "mnuhalfProfile_"}) {
                QAction* a = w.Action(prefix + QString::number(i));
                QCOMPARE(a->isVisible(), i <= names.size());
                QCOMPARE(a->text(), i <= names.size() ? names[i - 1] : a->text());
            }
    }

    // The beep (here for a file that is gone) replaces a sound still playing.
    void beepReplacesThePlayingSound()
    {
        struct Output : SoundOutput {
            QStringList calls;
            bool HasAudioOutput() override { return true; }
            void Play(const QUrl&, std::function<void()>) override { calls << "play"; }
            void Stop() override { calls << "stop"; }
        };
        auto output = std::make_unique<Output>();
        const QStringList& calls = output->calls;
        SoundPlayer player(std::move(output));
        player.Play(":/sounds/start.wav");
        player.Play("/no/such/sound.wav");
        QCOMPARE(calls, (QStringList{"play", "stop"}));
    }

    // A passed limit opens the warning and plays its sound; when an alert
    // is due is the alert monitor's to pin.
    void alertWindow()
    {
        MainWorld w(kNoon,
            "[Alert Setting]\r\nDayCheck=1\r\nDay AlertStandard=1\r\nDayFee=0\r\nDayWaveCheck=1\r\n"
            "DayFilePath=/alerts/day.wav\r\n");
        w.Connect(kName1);
        w.Tick(60);
        QSignalSpy played(&w.sound, &tollix::SoundPlayer::Requested);
        w.main->OnAlertCheck();
        auto* alert = VisibleTopLevel("frmAlert");
        QVERIFY(alert);
        QCOMPARE(Child<QLabel>(alert, "lblAlertText")->text(), QStringLiteral("你今天的费用超过0元了!"));
        QCOMPARE(played.value(0).value(0).toString(), QStringLiteral("/alerts/day.wav"));
    }

    // The window registry opens each window from the main window's commands,
    // not modal; the settings window hides the main window until "返回"
    // discards it, and a switch changed there shows in the main window's menu.
    void windowsOpenFromTheCommands()
    {
        MainWorld w(kNoon);
        for (auto [entry, name] : {std::pair{"mnuSettingWindow", "frmSettings"}, {"mnuHistory", "frmHistory"},
                 {"mnuVDialup", "frmDialUp"}, {"mnuShowhelp", "frmHelp"}, {"mnuAboutTollix", "frmAbout"}}) {
            w.Action(entry)->trigger();
            QPointer<QWidget> window = VisibleTopLevel(name);
            QVERIFY2(window && !window->isModal(), entry);
            if (QString(name) == "frmSettings") {
                QVERIFY(!w.main->isVisible());
                ClickLeft(Child<QAbstractButton>(window, "cekTelHoliday"));
                QVERIFY(w.Action("mnuTodayTelHalf")->isChecked());
                Child<QAction>(window, "Toolbar1_1")->trigger();
            } else {
                window->close();
            }
            QTRY_VERIFY(!window);
            // Without a tray the main window makes way for the history window
            // by minimising; its title bar's close button leaves it so.
            QVERIFY2(QString(name) == "frmHistory" ? w.main->isMinimized() : w.main->isVisible(), entry);
            w.main->RestoreMainWindow();
        }
        // The history window's "返回" brings the main window back.
        w.Action("mnuHistory")->trigger();
        Child<QAction>(VisibleTopLevel("frmHistory"), "Toolbar1_4")->trigger();
        QTRY_VERIFY(!w.main->isMinimized());
    }

    // SQLite is left unloaded at start unless a log waits to be taken over; a
    // damaged archive found at the first connection's end is told then.
    void archiveOpensWhenFirstNeeded()
    {
        MainWorld w(kNoon);
        WriteFile(w.Folder() / "usage.sqlite", "not a database, but long enough to look like a file of one");
        w.Start();
        QVERIFY(!VisibleTopLevel("noticeBox"));
        w.Connect(kName1);
        w.Drop();
        auto* notice = VisibleTopLevel("noticeBox");
        QVERIFY(notice && qobject_cast<QMessageBox*>(notice)->text().contains("usage.sqlite.damaged"));
    }
};

QTEST_MAIN(FrmMainTest)
#include "FrmMainTest.moc"
