#include "ui/FrmMain.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <memory>
#include <vector>

#include "alerts/SoundPlayer.h"
#include "core/Clock.h"
#include "core/Program.h"
#include "dialup/DialupService.h"
#include "ui/WindowRegistry.h"
#include "WindowTestSupport.h"

using namespace tollix;
using tollix::test::BoxAnswerer;
using tollix::test::IniValue;
using tollix::test::VisibleTopLevel;
using tollix::test::WriteBytes;

namespace {

DateTime At(int y, int mo, int d, int h = 12, int mi = 0, int s = 0)
{
    return *DateTime::FromCivil(y, mo, d, h, mi, s);
}

// The demo line's phonebook: "163", "169多媒体通信网", "ChinaNet-Guangzhou-56K".
const char* const kName1 = "163";
const char* const kName2 = "169多媒体通信网";

// A data folder, the demo line on a hand-moved clock, and the main window
// started on them. The window's own one-second timer is stopped: the test
// ticks by hand after moving the clock.
class MainWorld {
public:
    explicit MainWorld(DateTime start, const std::string& iniUtf8 = "")
        : clock_(start)
    {
        if (!iniUtf8.empty())
            WriteBytes(Ini(), iniUtf8);
        dialup_ = CreateDialupService(true, clock_);
        Start();
    }
    ~MainWorld()
    {
        main_.reset();
        program_.reset();
    }

    // Loads everything from the data folder again, as a new start of the program.
    void Start()
    {
        main_.reset();
        program_ = std::make_unique<Program>(Folder());
        LoadSettings(*program_, dialup_->Phonebook().Entries, clock_.Now());
        main_ = std::make_unique<FrmMain>(*program_, *dialup_, clock_, sound_);
        loaded_ = main_->Form_Load();
        main_->findChild<QTimer*>("tmrSystemtime")->stop();
        main_->findChild<QTimer*>("tmrStartOnce")->stop();
    }

    bool Loaded() const { return loaded_; }
    FrmMain& Main() { return *main_; }
    Program& State() { return *program_; }
    ManualClock& Clock() { return clock_; }
    DialupService& Dialup() { return *dialup_; }
    SoundPlayer& Sound() { return sound_; }
    std::filesystem::path Folder() const { return std::filesystem::path(dir_.path().toStdString()); }
    std::filesystem::path Ini() const { return Folder() / "tollix.ini"; }

    void Tick(int seconds)
    {
        clock_.Advance(seconds);
        main_->tmrSystemtime_Timer();
    }
    // Dials and waits the demo modem's three seconds; the tick opens the session.
    void Connect(const std::string& name)
    {
        QVERIFY(dialup_->DialConnection(name).Started);
        Tick(3);
        QVERIFY(dialup_->IsConnected());
    }
    void Drop()
    {
        dialup_->HangUp();
        Tick(1);
        QVERIFY(!dialup_->IsConnected());
    }

    QString Text(const char* label) const
    {
        if (auto* l = main_->findChild<QLabel*>(label))
            return l->text();
        return QStringLiteral("<no label %1>").arg(label);
    }
    QAction* Action(const char* name) const { return main_->findChild<QAction*>(name); }
    QMenu* Menu(const char* name) const { return main_->findChild<QMenu*>(name); }
    QRadioButton* Option(int i) const
    {
        return main_->findChild<QRadioButton*>(QStringLiteral("otnSelectDay_%1").arg(i));
    }

private:
    QTemporaryDir dir_;
    ManualClock clock_;
    std::unique_ptr<DialupService> dialup_;
    SoundPlayer sound_;
    std::unique_ptr<Program> program_;
    std::unique_ptr<FrmMain> main_;
    bool loaded_ = false;
};

using Expected = std::vector<std::pair<const char*, QString>>;

// The texts the window shows: value labels by name, and a few pseudo names for
// the caption, the frame and the status bar panels.
QString Shown(MainWorld& w, const char* what)
{
    const QString name = QString::fromLatin1(what);
    if (name == "caption")
        return w.Main().windowTitle();
    if (name == "Frame1")
        return w.Main().findChild<QGroupBox*>("Frame1")->title();
    if (name == "panel1")
        return w.Text("StatusBar1_Panel1");
    if (name == "panel2")
        return w.Text("StatusBar1_Panel2");
    if (name == "mnuConnectedTime")
        return w.Action("mnuConnectedTime")->isVisible() ? w.Action("mnuConnectedTime")->text() : "<hidden>";
    return w.Text(what);
}

void ExpectShown(MainWorld& w, const Expected& expected, const char* step)
{
    for (const auto& [what, text] : expected) {
        const QString actual = Shown(w, what);
        QVERIFY2(actual == text,
            qPrintable(QStringLiteral("%1: %2 shows \"%3\", expected \"%4\"")
                           .arg(QString::fromUtf8(step), what, actual, text)));
    }
}

// Dialling is offered while no connection is up, hanging up while one is.
void ExpectCommandsFor(MainWorld& w, bool connected, const char* step)
{
    const struct {
        const char* name;
        bool enabledWhenConnected;
    } entries[] = {
        { "mnuVDialup", false },
        { "Toolbar1_1", false },
        { "mnuVHangup", true },
        { "mnuHangup", true },
        { "Toolbar1_2", true },
    };
    for (const auto& e : entries) {
        QAction* a = w.Action(e.name);
        QVERIFY2(a, e.name);
        QVERIFY2(a->isEnabled() == (connected == e.enabledWhenConnected),
            qPrintable(QStringLiteral("%1: %2 enabled is %3").arg(step, e.name).arg(a->isEnabled())));
    }
    QVERIFY2(w.Menu("mnuDial")->isEnabled() == !connected, step);
}

void CloseAlertWindows()
{
    while (QWidget* alert = VisibleTopLevel("frmAlert"))
        alert->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

class FrmMainTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { CloseAlertWindows(); }

    void oneConnectionFromDialToDrop()
    {
        MainWorld w(At(2024, 3, 13)); // a Wednesday: no weekend discount
        QVERIFY(w.Loaded());
        const QString rest = QStringLiteral("上一次连接");
        const struct {
            const char* step;
            std::function<void()> act;
            bool connected;
            Expected shown;
        } steps[] = {
            { "at rest", [] {}, false,
                { { "caption", "Tollix V3.1" }, { "Frame1", rest }, { "panel1", "当前状态：断开" },
                    { "lblCurrentName", "" }, { "mnuConnectedTime", "<hidden>" },
                    { "lblStartDate", "2024年3月13日" }, { "lblTotalTime", " (0个电话)" },
                    { "lblConnectionTimes", "0次" }, { "lblTelfee", "0 元" }, { "lblNetFee", "0 元" },
                    { "lblTotalCost", "0 元" } } },
            { "line up", [&] { w.Connect(kName1); }, true,
                { { "caption", " (1个电话)" }, { "Frame1", "本次连接" }, { "panel1", "当前状态：接通" },
                    { "panel2", "当前系统时间：2024年03月13日12点00分" },
                    { "mnuConnectedTime", " (1个电话)" }, { "lblCurrentName", "163" },
                    { "lblStarttime", "2024年03月13日12点00分" }, { "lblDuration", " (1个电话)" },
                    { "lblCurrentTelFee", "0.12元  (现在0.12元/个电话)" },
                    { "lblCurrentNetFee", "0.1元  (现在0.1元/分钟)" }, { "lblTotalPrice", "0.22 元" },
                    { "lblTotalTime", " (1个电话)" }, { "lblConnectionTimes", "1次" },
                    { "lblTelfee", "0.12 元" }, { "lblNetFee", "0.1 元" }, { "lblTotalCost", "0.22 元" } } },
            { "second minute", [&] { w.Tick(62); }, true,
                { { "caption", "1分2秒 (1个电话)" }, { "lblDuration", "1分2秒 (1个电话)" },
                    { "lblCurrentTelFee", "0.12元  (现在0.12元/个电话)" },
                    { "lblCurrentNetFee", "0.2元  (现在0.1元/分钟)" }, { "lblTotalPrice", "0.32 元" },
                    { "lblTotalTime", "1分2秒 (1个电话)" }, { "lblTelfee", "0.12 元" },
                    { "lblNetFee", "0.2 元" }, { "lblTotalCost", "0.32 元" } } },
            { "second call unit", [&] { w.Tick(123); }, true,
                { { "caption", "3分5秒 (2个电话)" }, { "mnuConnectedTime", "3分5秒 (2个电话)" },
                    { "panel2", "当前系统时间：2024年03月13日12点03分" },
                    { "lblCurrentTelFee", "0.24元  (现在0.12元/个电话)" },
                    { "lblCurrentNetFee", "0.4元  (现在0.1元/分钟)" }, { "lblTotalPrice", "0.64 元" },
                    { "lblTotalTime", "3分5秒 (2个电话)" }, { "lblConnectionTimes", "1次" },
                    { "lblTelfee", "0.24 元" }, { "lblNetFee", "0.4 元" }, { "lblTotalCost", "0.64 元" } } },
            // The upper labels keep the connection just ended; the totals hold
            // it rounded up to whole minutes.
            { "line dropped", [&] { w.Drop(); }, false,
                { { "caption", "Tollix 3.1" }, { "Frame1", rest }, { "panel1", "当前状态：断开" },
                    { "mnuConnectedTime", "<hidden>" }, { "lblCurrentName", "163" },
                    { "lblStarttime", "2024年03月13日12点00分" }, { "lblDuration", "3分5秒 (2个电话)" },
                    { "lblCurrentTelFee", "0.24元  (现在0.12元/个电话)" }, { "lblTotalPrice", "0.64 元" },
                    { "lblTotalTime", "4分 (2个电话)" }, { "lblConnectionTimes", "1次" },
                    { "lblTelfee", "0.24 元" }, { "lblNetFee", "0.4 元" }, { "lblTotalCost", "0.64 元" } } },
            { "idle tick", [&] { w.Tick(60); }, false,
                { { "caption", "Tollix 3.1" }, { "panel2", "当前系统时间：2024年03月13日12点04分" },
                    { "lblDuration", "3分5秒 (2个电话)" }, { "lblTotalTime", "4分 (2个电话)" } } },
        };
        for (const auto& s : steps) {
            s.act();
            if (QTest::currentTestFailed())
                return;
            ExpectShown(w, s.shown, s.step);
            ExpectCommandsFor(w, s.connected, s.step);
            if (QTest::currentTestFailed())
                return;
        }
        // Recorded where a restart finds it.
        QVERIFY(std::filesystem::file_size(w.State().LogPath) > 0);
        w.Start();
        ExpectShown(w,
            { { "lblTotalTime", "4分 (2个电话)" }, { "lblConnectionTimes", "1次" },
                { "lblTotalCost", "0.64 元" } },
            "after a restart");
    }

    void periodOptions()
    {
        // Four connections on four days; the week starts on Sunday, the month on the 1st.
        MainWorld w(At(2024, 2, 28));
        const struct {
            DateTime day;
            int seconds; // connected before the drop
        } sessions[] = {
            { At(2024, 2, 28), 50 }, // 1 min, 1 unit
            { At(2024, 3, 5), 130 }, // 3 min, 1 unit
            { At(2024, 3, 11), 200 }, // 4 min, 2 units
            { At(2024, 3, 13), 50 }, // 1 min, 1 unit
        };
        for (const auto& s : sessions) {
            w.Clock().Set(s.day);
            w.Connect(kName1);
            w.Tick(s.seconds);
            w.Drop();
        }
        const struct {
            int option;
            const char* caption;
            Expected shown;
        } periods[] = {
            { 1, "这个星期",
                { { "lblStartDate", "2024年3月11日" }, { "lblTotalTime", "5分 (3个电话)" },
                    { "lblConnectionTimes", "2次" }, { "lblTelfee", "0.36 元" }, { "lblNetFee", "0.5 元" },
                    { "lblTotalCost", "0.86 元" } } },
            { 2, "这个月",
                { { "lblStartDate", "2024年3月5日" }, { "lblTotalTime", "8分 (4个电话)" },
                    { "lblConnectionTimes", "3次" }, { "lblTelfee", "0.48 元" }, { "lblNetFee", "0.8 元" },
                    { "lblTotalCost", "1.28 元" } } },
            { 3, "不定时间段",
                { { "lblStartDate", "2024年2月28日" }, { "lblTotalTime", "9分 (5个电话)" },
                    { "lblConnectionTimes", "4次" }, { "lblTelfee", "0.6 元" }, { "lblNetFee", "0.9 元" },
                    { "lblTotalCost", "1.5 元" } } },
            { 0, "今天",
                { { "lblStartDate", "2024年3月13日" }, { "lblTotalTime", "1分 (1个电话)" },
                    { "lblConnectionTimes", "1次" }, { "lblTelfee", "0.12 元" }, { "lblNetFee", "0.1 元" },
                    { "lblTotalCost", "0.22 元" } } },
        };
        QVERIFY(w.Option(0)->isChecked());
        for (const auto& p : periods) {
            QRadioButton* option = w.Option(p.option);
            QCOMPARE(option->text(), QString::fromUtf8(p.caption));
            option->click();
            QCOMPARE(int(w.State().SelectedPeriod), p.option);
            ExpectShown(w, p.shown, p.caption);
            // The tick keeps showing the chosen period.
            w.Tick(1);
            ExpectShown(w, p.shown, p.caption);
        }
    }

    void fixedMonthlyFeeShownForRatedHours_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("todayNet");
        QTest::addColumn<QString>("monthNet");
        QTest::addColumn<QString>("monthTotal");
        // "163" is rated hours with no free hours left: each minute after the
        // first costs 0.15; the second entry keeps the default per-minute tariff.
        QTest::newRow("rated hours") << "163"
                                     << "0.45 元"
                                     << "0.45+200 元"
                                     << "0.69+200 元";
        QTest::newRow("per minute") << "169多媒体通信网"
                                    << "0.4 元"
                                    << "0.4 元"
                                    << "0.64 元";
    }
    void fixedMonthlyFeeShownForRatedHours()
    {
        QFETCH(QString, entry);
        QFETCH(QString, todayNet);
        QFETCH(QString, monthNet);
        QFETCH(QString, monthTotal);
        MainWorld w(
            At(2024, 3, 13), "[163]\r\nFee Type=2\r\nFix Hour=0\r\nExcel Fee=150\r\nFix Fee=200000\r\n");
        w.Option(2)->click();
        w.Connect(entry.toStdString());
        for (int i = 0; i < 3; ++i)
            w.Tick(60);
        w.Tick(5);
        ExpectShown(
            w, { { "lblNetFee", monthNet }, { "lblTotalCost", monthTotal } }, "month while connected");
        w.Drop();
        ExpectShown(w, { { "lblNetFee", monthNet }, { "lblTotalCost", monthTotal } }, "month after the drop");
        w.Option(0)->click();
        ExpectShown(w, { { "lblNetFee", todayNet } }, "today");
        QVERIFY(!w.Text("lblTotalCost").contains('+'));
        w.Option(3)->click();
        QVERIFY(!w.Text("lblNetFee").contains('+'));
    }

    void hangUpCommand_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::newRow("file menu") << "mnuVHangup";
        QTest::newRow("popup menu") << "mnuHangup";
        QTest::newRow("toolbar") << "Toolbar1_2";
    }
    void hangUpCommand()
    {
        QFETCH(QString, entry);
        MainWorld w(At(2024, 3, 13));
        w.Connect(kName1);
        QAction* hangUp = w.Action(entry.toLatin1().constData());

        {
            BoxAnswerer cancel({ QMessageBox::Cancel });
            hangUp->trigger();
            QCOMPARE(cancel.seen.size(), 1);
            QCOMPARE(cancel.seen[0].title, QStringLiteral("Tollix"));
            QCOMPARE(cancel.seen[0].text, QStringLiteral("你要挂断当前连接吗？"));
            QCOMPARE(cancel.seen[0].buttons, (QStringList { "确定", "取消" }));
            w.Tick(1);
            QVERIFY(w.Dialup().IsConnected());
        }
        {
            // The hang-up waits on the steady clock; time moves on while it does.
            QTimer time;
            QObject::connect(&time, &QTimer::timeout, [&] { w.Clock().Advance(1); });
            time.start(2);
            BoxAnswerer ok({ QMessageBox::Ok });
            hangUp->trigger();
            time.stop();
            QCOMPARE(ok.seen.size(), 1);
            QVERIFY(!w.Dialup().IsConnected());
            w.Tick(1);
            ExpectCommandsFor(w, false, "hung up");
        }

        // The line went down before the tick noticed: the entries are still
        // enabled, but there is nothing to ask about.
        w.Connect(kName1);
        w.Dialup().HangUp();
        w.Clock().Advance(1);
        BoxAnswerer none({ QMessageBox::Ok });
        hangUp->trigger();
        QTest::qWait(20);
        QVERIFY(none.seen.isEmpty());
    }

    void checkMarkTogglesAreStored_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("key");
        QTest::newRow("auto hide") << "mnuAutoHide"
                                   << "Auto Hide";
        QTest::newRow("play wave") << "mnuPlayWave"
                                   << "Play Wave";
    }
    void checkMarkTogglesAreStored()
    {
        QFETCH(QString, action);
        QFETCH(QString, key);
        MainWorld w(At(2024, 3, 13));
        QAction* toggle = w.Action(action.toLatin1().constData());
        const QByteArray k = key.toLatin1();
        QVERIFY(!toggle->isChecked());
        toggle->trigger();
        QVERIFY(toggle->isChecked());
        QCOMPARE(IniValue(w.Ini(), "Start Settings", k.constData()), QStringLiteral("-1"));
        w.Start();
        QVERIFY(w.Action(action.toLatin1().constData())->isChecked());
        w.Action(action.toLatin1().constData())->trigger();
        QCOMPARE(IniValue(w.Ini(), "Start Settings", k.constData()), QStringLiteral("0"));
        QCOMPARE(key == "Auto Hide" ? w.State().AutoHide : w.State().PlayWave, false);
    }

    void todayDiscountSwitches_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("section");
        QTest::addColumn<int>("connection"); // 0: the telephone tariff
        QTest::newRow("telephone") << "mnuTodayTelHalf"
                                   << "Telephone Fee" << 0;
        QTest::newRow("second connection") << "mnuhalfProfile_2"
                                           << "169多媒体通信网" << 2;
    }
    void todayDiscountSwitches()
    {
        QFETCH(QString, action);
        QFETCH(QString, section);
        QFETCH(int, connection);
        const QByteArray name = action.toLatin1();
        const QByteArray sectionText = section.toUtf8();
        MainWorld w(At(2024, 3, 13, 10, 0));
        auto flag = [&] {
            return connection == 0 ? w.State().Tariffs.Telephone.HolidayFlag
                                   : w.State().Tariffs.Connection(connection).HolidayFlag;
        };
        auto switchAction
            = [&] { return w.Menu("mnuPopupmenu")->findChild<QAction*>(QString::fromLatin1(name)); };
        QVERIFY(switchAction());
        QVERIFY(switchAction()->isCheckable());

        const struct {
            const char* step;
            int advanceMinutes;
            bool on;
        } clicks[] = { { "first click", 0, true }, { "second click", 5, false }, { "third click", 5, true } };
        for (const auto& c : clicks) {
            w.Clock().Advance(c.advanceMinutes * 60);
            switchAction()->trigger();
            QVERIFY2(switchAction()->isChecked() == c.on, c.step);
            QVERIFY2(flag() == (c.on ? 1 : 0), c.step);
            QCOMPARE(IniValue(w.Ini(), sectionText.constData(), "Holiday Flag"),
                c.on ? QStringLiteral("1") : QStringLiteral("0"));
            QCOMPARE(IniValue(w.Ini(), sectionText.constData(), "Holiday Start"),
                QString::fromStdString(GeneralDateText(w.Clock().Now())));
        }

        // The switch holds for the rest of the day it was set on.
        w.Clock().Set(At(2024, 3, 13, 23, 59));
        w.Start();
        QVERIFY(switchAction()->isChecked());
        QCOMPARE(flag(), int16_t(1));
        w.Clock().Set(At(2024, 3, 14, 0, 1));
        w.Start();
        QVERIFY(!switchAction()->isChecked());
        QCOMPARE(flag(), int16_t(0));
    }

    void discountMenuListsTheConnections()
    {
        MainWorld w(At(2024, 3, 13));
        QMenu* popup = w.Menu("mnuPopupmenu");
        const QStringList names = { "163", "169多媒体通信网", "ChinaNet-Guangzhou-56K" };
        for (int i = 1; i <= 6; ++i) {
            for (const char* prefix : { "mnuProfile_", "mnuhalfProfile_" }) {
                QAction* a = popup->findChild<QAction*>(QStringLiteral("%1%2").arg(prefix).arg(i));
                QVERIFY(a);
                QCOMPARE(a->isVisible(), i <= names.size());
                if (i <= names.size())
                    QCOMPARE(a->text(), names[i - 1]);
            }
        }
    }

    void switchesPriceWhatComesNext()
    {
        // A unit and a minute that begin after the switch is set use the discount.
        MainWorld w(At(2024, 3, 13));
        w.Connect(kName1);
        w.Menu("mnuPopupmenu")->findChild<QAction*>("mnuTodayTelHalf")->trigger();
        w.Menu("mnuPopupmenu")->findChild<QAction*>("mnuhalfProfile_1")->trigger();
        w.Tick(180);
        ExpectShown(w,
            { { "lblCurrentTelFee", "0.18元  (现在0.06元/个电话)" },
                { "lblCurrentNetFee", "0.25元  (现在0.05元/分钟)" } },
            "after switching both on");
    }

    void alertWindow_data()
    {
        QTest::addColumn<QString>("settings");
        QTest::addColumn<QString>("text"); // empty: no window
        QTest::addColumn<QString>("sound");
        QTest::newRow("day, time") << "DayCheck=1\r\nDayhours=0\r\n"
                                   << "你今天的用时超过0小时了！"
                                   << "";
        QTest::newRow("day, fee, with sound")
            << "DayCheck=1\r\nDay "
               "AlertStandard=1\r\nDayFee=0\r\nDayWaveCheck=1\r\nDayFilePath=/alerts/day.wav\r\n"
            << "你今天的费用超过0元了!"
            << "/alerts/day.wav";
        QTest::newRow("week, time") << "WeekCheck=1\r\nWeekhours=0\r\n"
                                    << "你这个星期的用时超过0小时了！"
                                    << "";
        QTest::newRow("month, fee") << "MonthCheck=1\r\nMonth AlertStandard=1\r\nMonthFee=0\r\n"
                                    << "你这个月的费用超过0元了!"
                                    << "";
        QTest::newRow("limit not reached") << "DayCheck=1\r\nDayhours=3\r\n"
                                           << ""
                                           << "";
        QTest::newRow("all off") << ""
                                 << ""
                                 << "";
    }
    void alertWindow()
    {
        QFETCH(QString, settings);
        QFETCH(QString, text);
        QFETCH(QString, sound);
        MainWorld w(At(2024, 3, 13), "[Alert Setting]\r\n" + settings.toStdString());
        w.Connect(kName1);
        w.Tick(60);
        w.Main().tmrPlayWave_Timer();
        auto* alert = VisibleTopLevel("frmAlert");
        if (text.isEmpty()) {
            QVERIFY(!alert);
        } else {
            QVERIFY(alert);
            QCOMPARE(alert->findChild<QLabel*>("lblAlertText")->text(), text);
        }
        QCOMPARE(w.Sound().LastRequested(), sound);
    }

    void dialDialogFromTheMenus()
    {
        RegisterWindows();
        MainWorld w(At(2024, 3, 13));
        for (const char* entry : { "mnuVDialup", "Toolbar1_1" }) {
            w.Action(entry)->trigger();
            QWidget* dialog = VisibleTopLevel("frmDialUp");
            QVERIFY2(dialog, entry);
            QVERIFY(!dialog->isModal());
            QPointer<QWidget> guard = dialog;
            dialog->close();
            QTRY_VERIFY(!guard);
        }
    }
};

QTEST_MAIN(FrmMainTest)
#include "FrmMainTest.moc"
