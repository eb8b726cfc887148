#include "config/FrmSettings.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QToolBar>
#include <QAction>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <deque>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <memory>

#include "alerts/SoundPlayer.h"
#include "core/Clock.h"
#include "core/ConnectionSession.h"
#include "core/Program.h"
#include "dialup/DialupService.h"

#include "WindowTestSupport.h"

using namespace tollix;
using tollix::test::BoxAnswerer;

namespace {

// Every line unique, so an expected edit can be named by the line it replaces.
// ASCII only: the bytes on disk are the same in GBK.
const char* const kIni =
    "[Telephone Fee]\r\n"
    "Half Fee=60\r\n"
    "Tel Unit=60\r\n"
    "Everyday Flag=0\r\n"
    "[ChinaNet]\r\n"
    "Fee Type=1\r\n"
    "Full Fee=100\r\n"
    "Half Fee=50\r\n"
    "Everyday Flag=1\r\n"
    "Start Hour=22\r\n"
    "Start Minute=30\r\n"
    "[Rated]\r\n"
    "Fee Type=2\r\n"
    "Fix Hour=40\r\n"
    "Fix Fee=150000\r\n"
    "Excel Fee=80\r\n"
    "Half Fee=40\r\n"
    "Holiday Flag=1\r\n"
    "Holiday Start={today}\r\n"
    "[Free]\r\n"
    "Fee Type=0\r\n"
    "Full Fee=90\r\n"
    "Half Fee=45\r\n"
    "[Odd]\r\n"
    "Fee Type=7\r\n"
    "[Alert Setting]\r\n"
    "DayCheck=1\r\n"
    "DayWaveCheck=0\r\n"
    "DayFee=20\r\n"
    "WeekCheck=1\r\n"
    "Weekhours=10\r\n"
    "MonthCheck=1\r\n"
    "MonthWaveCheck=1\r\n"
    "[Reset]\r\n"
    "Month=1\r\n"
    "Week=0\r\n"
    "[ProAdd]\r\n"
    "ProAdd Seconds=10\r\n";

const std::vector<std::string> kPhonebook = {"ChinaNet", "Rated", "Free", "Odd"};

DateTime Start()
{
    return *DateTime::FromCivil(2024, 3, 15, 10, 0, 0);
}

QString Now(const Clock& clock)
{
    return QString::fromStdString(GeneralDateText(clock.Now()));
}

// A data folder with tollix.ini, the settings loaded from it, and the window open.
struct Fixture {
    QTemporaryDir dir;
    ManualClock clock{Start()};
    std::unique_ptr<DialupService> dialup = CreateDialupService(true, clock);
    SoundPlayer sound;
    std::unique_ptr<Program> program;
    QPointer<FrmSettings> window;

    Fixture()
    {
        QString ini = QString::fromLatin1(kIni).replace("{today}", Now(clock));
        WriteIni(ini.toStdString());
        program = std::make_unique<Program>(dir.path().toStdString());
        LoadSettings(*program, kPhonebook, clock.Now());
        Open();
    }
    ~Fixture() { delete window.data(); }

    void Open()
    {
        delete window.data();
        window = new FrmSettings(*program, *dialup, clock, sound, nullptr);
        window->show();
    }
    std::string IniPath() const { return (dir.path() + "/tollix.ini").toStdString(); }
    void WriteIni(const std::string& bytes) const
    {
        std::ofstream(IniPath(), std::ios::binary | std::ios::trunc) << bytes;
    }
    QString Ini() const
    {
        std::ifstream in(IniPath(), std::ios::binary);
        return QString::fromStdString(std::string(std::istreambuf_iterator<char>(in), {}));
    }
    template <typename T>
    T* Find(const QString& name) const
    {
        T* w = window->findChild<T*>(name);
        if (!w)
            qFatal("no control %s", qPrintable(name));
        return w;
    }
    void Choose(const QString& connection)
    {
        auto* combo = Find<QComboBox>("cboConnectionName");
        const int index = combo->findText(connection);
        combo->setCurrentIndex(index);
        emit combo->activated(index);
    }
    void Type(const QString& control, const QString& text)
    {
        auto* box = Find<QLineEdit>(control);
        box->setFocus();
        box->selectAll();
        if (text.isEmpty())
            QTest::keyClick(box, Qt::Key_Backspace);
        else
            QTest::keyClicks(box, text);
    }
    void Pick(const QString& control, const QString& item)
    {
        auto* combo = Find<QComboBox>(control);
        const int index = combo->findText(item);
        QVERIFY2(index >= 0, qPrintable(item));
        combo->setCurrentIndex(index);
        emit combo->activated(index);
    }
    // Clicked near the left edge: a check box or option button takes a click
    // only on its mark and caption, which a wide cell's centre can miss.
    void Click(const QString& control)
    {
        auto* button = Find<QAbstractButton>(control);
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(qMin(6, button->width() / 2), button->height() / 2));
    }
};

using MemoryReader = std::function<QString(const Program&)>;

QString Text(Money m)
{
    return QString::fromStdString(MoneyText(m));
}

const std::map<QString, MemoryReader>& Readers()
{
    static const std::map<QString, MemoryReader> readers = {
        {"ChinaNet.FullFee", [](const Program& p) { return Text(p.Tariffs.Connection(1).FullFee); }},
        {"ChinaNet.HalfFee", [](const Program& p) { return Text(p.Tariffs.Connection(1).HalfFee); }},
        {"ChinaNet.StartMinute", [](const Program& p) { return QString::number(p.Tariffs.Connection(1).StartMinute); }},
        {"ChinaNet.SaturdayFlag", [](const Program& p) { return QString::number(p.Tariffs.Connection(1).SaturdayFlag); }},
        {"ChinaNet.HolidayFlag", [](const Program& p) { return QString::number(p.Tariffs.Connection(1).HolidayFlag); }},
        {"Rated.FixHour", [](const Program& p) { return QString::number(p.Tariffs.Connection(2).FixHour); }},
        {"Rated.HalfFee", [](const Program& p) { return Text(p.Tariffs.Connection(2).HalfFee); }},
        {"Tel.FullFee", [](const Program& p) { return Text(p.Tariffs.Telephone.FullFee); }},
        {"Tel.TelUnit", [](const Program& p) { return QString::number(p.Tariffs.Telephone.TelUnit); }},
        {"Tel.EndHour", [](const Program& p) { return QString::number(p.Tariffs.Telephone.EndHour); }},
        {"Tel.EverydayFlag", [](const Program& p) { return QString::number(p.Tariffs.Telephone.EverydayFlag); }},
        {"Tel.HolidayFlag", [](const Program& p) { return QString::number(p.Tariffs.Telephone.HolidayFlag); }},
        {"Day.Fee", [](const Program& p) { return Text(p.Alerts.DayAlert.Fee); }},
        {"Week.Hours", [](const Program& p) { return QString::number(p.Alerts.WeekAlert.Hours); }},
        {"Month.Standard", [](const Program& p) { return QString::number(p.Alerts.MonthAlert.AlertStandard); }},
        {"Month.FilePath", [](const Program& p) { return QString::fromStdString(p.Alerts.MonthAlert.FilePath); }},
        {"Reset.Month", [](const Program& p) { return QString::number(p.Reset.ResetMonthDay); }},
        {"Reset.Week", [](const Program& p) { return QString::number(p.Reset.ResetWeekDay); }},
        {"Reset.ProAdd", [](const Program& p) { return QString::number(p.Reset.ProAddSeconds); }},
    };
    return readers;
}

const QString kLong = "/home/user/sounds/a-rather-long-alert-name-beyond-forty.wav";

}  // namespace

class FrmSettingsTest : public QObject {
    Q_OBJECT
private slots:
    void openingShowsFirstConnectionAndWritesNothing();
    void singleEdits_data();
    void singleEdits();
    void feeTypeChoices();
    void choosingConnectionStampsChangedHoliday();
    void alertFrameEnabledStates_data();
    void alertFrameEnabledStates();
    void zeroing_data();
    void zeroing();
    void soundFileButtons();
    void reopeningShowsEditsFromMemory();
    void priceEditPricesNextUnitOfOpenConnection();
};

void FrmSettingsTest::openingShowsFirstConnectionAndWritesNothing()
{
    Fixture f;
    const QString before = f.Ini();
    QVERIFY(f.window->FormShown());
    QCOMPARE(f.Find<QTabWidget>("SSTab1")->currentIndex(), 0);
    QCOMPARE(f.Find<QComboBox>("cboConnectionName")->currentText(), QString("ChinaNet"));
    QCOMPARE(f.Find<QLineEdit>("txtNetFee")->text(), QString("0.1"));
    QCOMPARE(f.Find<QComboBox>("cboStartHour")->currentText(), QString("22"));
    QVERIFY(f.Find<QRadioButton>("otnFeetype_1")->isChecked());
    QVERIFY(f.Find<QLineEdit>("txtNetFee")->isEnabled());
    // The rated-hours group was never filled: its first texts, disabled.
    QCOMPARE(f.Find<QLineEdit>("txtExcelFee")->text(), QString("0.06"));
    QVERIFY(!f.Find<QLineEdit>("txtExcelFee")->isEnabled());
    QCOMPARE(f.Find<QComboBox>("cboResetWeek")->currentText(), QString("星期日"));
    QCOMPARE(f.Ini(), before);

    // "每天" of the telephone tab was clear at opening: its combos stay disabled.
    QVERIFY(!f.Find<QComboBox>("cboTelStartHour")->isEnabled());
    f.Click("cekTelEveryDay");
    QVERIFY(!f.Find<QComboBox>("cboTelStartHour")->isEnabled());
}

// One edit each: what memory holds and the exact bytes of tollix.ini after it.
void FrmSettingsTest::singleEdits_data()
{
    QTest::addColumn<QString>("connection");  // chosen first; empty keeps the first one
    QTest::addColumn<QString>("action");      // type, pick or click
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("memory");
    QTest::addColumn<QString>("oldLines");  // replaced in the file by newLines; empty: file unchanged
    QTest::addColumn<QString>("newLines");

    QTest::newRow("fee 0.06") << "" << "type" << "txtNetFee" << "0.06" << "ChinaNet.FullFee" << "0.06"
                              << "Full Fee=100" << "Full Fee=60";
    QTest::newRow("fee 0.0625 keeps its half thousandth")
        << "" << "type" << "txtNetFee" << "0.0625" << "ChinaNet.FullFee" << "0.0625" << "Full Fee=100"
        << "Full Fee=62.5";
    QTest::newRow("fee cleared writes nothing") << "" << "type" << "txtNetFee" << "" << "ChinaNet.FullFee" << "0.1"
                                                << "" << "";
    QTest::newRow("fee letters write nothing") << "" << "type" << "txtNetFee" << "abc" << "ChinaNet.FullFee"
                                               << "0.1" << "" << "";
    QTest::newRow("discount fee") << "" << "type" << "txtHalfFee" << "0.035" << "ChinaNet.HalfFee" << "0.035"
                                  << "Half Fee=50" << "Half Fee=35";
    QTest::newRow("telephone fee") << "" << "type" << "txtTelFee" << "0.2" << "Tel.FullFee" << "0.2"
                                   << "Everyday Flag=0" << "Everyday Flag=0\r\nFull Fee=200";
    QTest::newRow("telephone fee cleared rewrites the last valid one")
        << "" << "type" << "txtTelFee" << "" << "Tel.FullFee" << "0.12" << "Everyday Flag=0"
        << "Everyday Flag=0\r\nFull Fee=120";
    QTest::newRow("telephone fee letters rewrite the last valid one")
        << "" << "type" << "txtTelFee" << "x" << "Tel.FullFee" << "0.12" << "Everyday Flag=0"
        << "Everyday Flag=0\r\nFull Fee=120";
    QTest::newRow("Fix Hour 30.5 rounds to even") << "Rated" << "type" << "txtExcelHour" << "30.5"
                                                  << "Rated.FixHour" << "30" << "Fix Hour=40" << "Fix Hour=30.5";
    QTest::newRow("Fix Hour 31.5 rounds to even") << "Rated" << "type" << "txtExcelHour" << "31.5"
                                                  << "Rated.FixHour" << "32" << "Fix Hour=40" << "Fix Hour=31.5";
    QTest::newRow("Fix Hour abc written as typed") << "Rated" << "type" << "txtExcelHour" << "abc"
                                                   << "Rated.FixHour" << "40" << "Fix Hour=40" << "Fix Hour=abc";
    QTest::newRow("rated discount fee") << "Rated" << "type" << "txtFixHalf" << "0.025" << "Rated.HalfFee"
                                        << "0.025" << "Half Fee=40" << "Half Fee=25";
    QTest::newRow("minute 00") << "" << "pick" << "cboStartMinute" << "00" << "ChinaNet.StartMinute" << "0"
                               << "Start Minute=30" << "Start Minute=00";
    QTest::newRow("telephone end hour") << "" << "pick" << "cboTelEndHour" << "8" << "Tel.EndHour" << "8"
                                        << "Everyday Flag=0" << "Everyday Flag=0\r\nEnd Hour=8";
    QTest::newRow("telephone every day") << "" << "click" << "cekTelEveryDay" << "" << "Tel.EverydayFlag" << "1"
                                         << "Everyday Flag=0" << "Everyday Flag=1";
    QTest::newRow("Saturday recorded on the click")
        << "" << "click" << "cekSaturday" << "" << "ChinaNet.SaturdayFlag" << "1" << "Start Minute=30"
        << "Start Minute=30\r\nSaturday Flag=1";
    QTest::newRow("connection holiday: flag, then start")
        << "" << "click" << "cekHoliday" << "" << "ChinaNet.HolidayFlag" << "1" << "Start Minute=30"
        << "Start Minute=30\r\nHoliday Flag=1\r\nHoliday Start={now}";
    QTest::newRow("telephone holiday: start, then flag")
        << "" << "click" << "cekTelHoliday" << "" << "Tel.HolidayFlag" << "1" << "Everyday Flag=0"
        << "Everyday Flag=0\r\nHoliday Start={now}\r\nHoliday Flag=1";
    QTest::newRow("every three minutes") << "" << "click" << "otnTelUnit_1" << "" << "Tel.TelUnit" << "180"
                                         << "Tel Unit=60" << "Tel Unit=180";
    QTest::newRow("alert fee 2.5") << "" << "type" << "txtAlertFee_0" << "2.5" << "Day.Fee" << "2" << "DayFee=20"
                                   << "DayFee=2.5";
    QTest::newRow("alert fee 3.5") << "" << "type" << "txtAlertFee_0" << "3.5" << "Day.Fee" << "4" << "DayFee=20"
                                   << "DayFee=3.5";
    QTest::newRow("alert hours abc") << "" << "type" << "txtHour_1" << "abc" << "Week.Hours" << "10"
                                     << "Weekhours=10" << "Weekhours=abc";
    QTest::newRow("alert by fee") << "" << "click" << "otnExcelFee_2" << "" << "Month.Standard" << "1"
                                  << "MonthWaveCheck=1" << "MonthWaveCheck=1\r\nMonth AlertStandard=1";
    QTest::newRow("long sound path: whole in the file, 40 characters in memory")
        << "" << "type" << "txtFile_2" << kLong << "Month.FilePath" << kLong.left(40) << "MonthWaveCheck=1"
        << "MonthWaveCheck=1\r\nMonthFilePath=" + kLong;
    QTest::newRow("month day 15") << "" << "type" << "txtResetMonth" << "15" << "Reset.Month" << "15" << "Month=1"
                                  << "Month=15";
    QTest::newRow("month day abc") << "" << "type" << "txtResetMonth" << "abc" << "Reset.Month" << "1"
                                   << "Month=1" << "Month=abc";
    QTest::newRow("negative delay") << "" << "type" << "txtAddSecond" << "-5" << "Reset.ProAdd" << "-5"
                                    << "ProAdd Seconds=10" << "ProAdd Seconds=-5";
    QTest::newRow("Wednesday") << "" << "pick" << "cboResetWeek" << "星期三" << "Reset.Week" << "3" << "Week=0"
                               << "Week=3";
}

void FrmSettingsTest::singleEdits()
{
    QFETCH(QString, connection);
    QFETCH(QString, action);
    QFETCH(QString, control);
    QFETCH(QString, value);
    QFETCH(QString, field);
    QFETCH(QString, memory);
    QFETCH(QString, oldLines);
    QFETCH(QString, newLines);

    Fixture f;
    if (!connection.isEmpty())
        f.Choose(connection);
    f.clock.Advance(60);
    const QString before = f.Ini();
    if (action == "type")
        f.Type(control, value);
    else if (action == "pick")
        f.Pick(control, value);
    else
        f.Click(control);

    QCOMPARE(Readers().at(field)(*f.program), memory);
    QString expected = before;
    if (!oldLines.isEmpty()) {
        QCOMPARE(before.count(oldLines + "\r\n"), 1);
        expected.replace(oldLines + "\r\n", QString(newLines).replace("{now}", Now(f.clock)) + "\r\n");
    }
    QCOMPARE(f.Ini(), expected);
}

void FrmSettingsTest::feeTypeChoices()
{
    Fixture f;
    const QString initial = f.Ini();

    // "免费" zeroes both per-minute fees; "按分钟算" then shows them as 0.
    f.Click("otnFeetype_0");
    const ConnectionTariff& china = f.program->Tariffs.Connection(1);
    QCOMPARE(china.FeeType, int16_t(0));
    QCOMPARE(china.FullFee, Money());
    QCOMPARE(china.HalfFee, Money());
    QVERIFY(!f.Find<QLineEdit>("txtNetFee")->isEnabled());
    QVERIFY(!f.Find<QLineEdit>("txtExcelHour")->isEnabled());
    QString expected = initial;
    expected.replace("Fee Type=1\r\nFull Fee=100\r\nHalf Fee=50\r\n", "Fee Type=0\r\nFull Fee=0\r\nHalf Fee=0\r\n");
    QCOMPARE(f.Ini(), expected);
    f.Click("otnFeetype_1");
    QCOMPARE(f.Find<QLineEdit>("txtNetFee")->text(), QString("0"));
    QCOMPARE(f.Find<QLineEdit>("txtHalfFee")->text(), QString("0"));
    expected.replace("[ChinaNet]\r\nFee Type=0\r\n", "[ChinaNet]\r\nFee Type=1\r\n");
    QCOMPARE(f.Ini(), expected);

    // One discount fee for both groups.
    f.Choose("Rated");
    f.Type("txtFixHalf", "0.07");
    f.Click("otnFeetype_1");
    QCOMPARE(f.Find<QLineEdit>("txtHalfFee")->text(), QString("0.07"));
    QCOMPARE(f.program->Tariffs.Connection(2).HalfFee, Money::FromRaw(700));

    // A fee type no option stands for: nothing chosen, nothing enabled, until
    // the user picks one, which is then written.
    f.Choose("Odd");
    for (int i = 0; i < 3; ++i)
        QVERIFY(!f.Find<QRadioButton>(QString("otnFeetype_%1").arg(i))->isChecked());
    QVERIFY(!f.Find<QLineEdit>("txtNetFee")->isEnabled());
    QVERIFY(!f.Find<QLineEdit>("txtExcelHour")->isEnabled());
    QVERIFY(f.Ini().contains("[Odd]\r\nFee Type=7\r\n"));
    f.Click("otnFeetype_2");
    QCOMPARE(f.program->Tariffs.Connection(4).FeeType, int16_t(2));
    QVERIFY(f.Find<QLineEdit>("txtExcelHour")->isEnabled());
    QVERIFY(f.Ini().contains("[Odd]\r\nFee Type=2\r\n"));

    // Call units: three minutes, then one.
    f.Click("otnTelUnit_1");
    QVERIFY(f.Ini().contains("Tel Unit=180\r\n"));
    f.Click("otnTelUnit_0");
    QVERIFY(f.Ini().contains("Tel Unit=60\r\n"));
    QCOMPARE(f.program->Tariffs.Telephone.TelUnit, 60);
}

void FrmSettingsTest::choosingConnectionStampsChangedHoliday()
{
    Fixture f;
    f.clock.Advance(90);
    const QString before = f.Ini();
    // The refill ticks "今天节假日折价" of the rated group: its flag is written
    // back unchanged and its start stamped with the present moment.
    f.Choose("Rated");
    QVERIFY(f.Find<QCheckBox>("cekFixHoliday")->isChecked());
    QCOMPARE(f.program->Tariffs.Connection(2).HolidayFlag, int16_t(1));
    QString expected = before;
    const QString stampLine = "Holiday Start=" + QString::fromStdString(GeneralDateText(Start()));
    QCOMPARE(before.count(stampLine), 1);
    expected.replace(stampLine, "Holiday Start=" + Now(f.clock));
    QVERIFY(expected != before);
    QCOMPARE(f.Ini(), expected);
}

void FrmSettingsTest::alertFrameEnabledStates_data()
{
    // Day frame opens with the alert on and the sound repeat off.
    QTest::addColumn<QStringList>("clicks");
    QTest::addColumn<bool>("rowEnabled");   // thresholds, cekInterval, txtMinute
    QTest::addColumn<bool>("pathEnabled");  // txtFile, cmdSelect, cmdTest
    QTest::newRow("as opened") << QStringList{} << true << false;
    QTest::newRow("repeat on") << QStringList{"cekInterval_0"} << true << true;
    QTest::newRow("alert off") << QStringList{"cekInterval_0", "cekAlert_0"} << false << false;
    QTest::newRow("alert on again") << QStringList{"cekInterval_0", "cekAlert_0", "cekAlert_0"} << true << true;
    QTest::newRow("alert on again, repeat off") << QStringList{"cekAlert_0", "cekAlert_0"} << true << false;
}

void FrmSettingsTest::alertFrameEnabledStates()
{
    QFETCH(QStringList, clicks);
    QFETCH(bool, rowEnabled);
    QFETCH(bool, pathEnabled);
    Fixture f;
    for (const QString& c : clicks)
        f.Click(c);
    QVERIFY(f.Find<QCheckBox>("cekAlert_0")->isEnabled());
    for (const char* name : {"otnExcelTime_0", "txtHour_0", "otnExcelFee_0", "txtAlertFee_0", "cekInterval_0",
                             "txtMinute_0"})
        QVERIFY2(f.Find<QWidget>(name)->isEnabled() == rowEnabled, name);
    for (const char* name : {"txtFile_0", "cmdSelect_0", "cmdTest_0"})
        QVERIFY2(f.Find<QWidget>(name)->isEnabled() == pathEnabled, name);
    QCOMPARE(f.program->Alerts.DayAlert.Check, int16_t(f.Find<QCheckBox>("cekAlert_0")->isChecked()));
    QCOMPARE(f.program->Alerts.DayAlert.WaveCheck, int16_t(f.Find<QCheckBox>("cekInterval_0")->isChecked()));
}

void FrmSettingsTest::zeroing_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<bool>("connected");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("zeroed");
    QTest::newRow("month, cancelled") << 2 << false << int(QMessageBox::Cancel) << "将这个月的数值置零"
                                      << "将这个月的所有数值都变成0 , 你肯定吗？" << false;
    QTest::newRow("month, OK") << 2 << false << int(QMessageBox::Ok) << "将这个月的数值置零"
                               << "将这个月的所有数值都变成0 , 你肯定吗？" << true;
    QTest::newRow("today, OK") << 0 << false << int(QMessageBox::Ok) << "将今天的数值置零"
                               << "将今天的所有数值都变0,你肯定吗？" << true;
    QTest::newRow("all time while connected") << 3 << true << int(QMessageBox::Ok) << "Tollix"
                                              << "正在连接时不能置零" << false;
}

void FrmSettingsTest::zeroing()
{
    QFETCH(int, index);
    QFETCH(bool, connected);
    QFETCH(int, answer);
    QFETCH(QString, title);
    QFETCH(QString, text);
    QFETCH(bool, zeroed);

    Fixture f;
    Program& p = *f.program;
    QVERIFY(p.StatsFile.Open());
    for (int i = 0; i < 4; ++i) {
        UsageRecord& r = p.Stats.Records[size_t(i)];
        r = UsageRecord{*DateTime::FromCivil(2024, 3, 1), Money::FromYuan(3 + i), Money::FromYuan(5 + i),
                        int16_t(2 + i), 3600 * (i + 1), 60 * (i + 1)};
        QVERIFY(p.StatsFile.Put(i + 1, r));
    }
    p.StatsFile.Close();
    p.Stats.LoadRunningTotals();
    const Statistics before = p.Stats;
    if (connected) {
        QVERIFY(f.dialup->DialConnection(f.dialup->Phonebook().Entries.front()).Started);
        f.clock.Advance(4);
        QVERIFY(f.dialup->IsConnected());
    }
    f.clock.Advance(30);

    BoxAnswerer answerer({QMessageBox::StandardButton(answer)});
    f.Click(QString("cmdReset_%1").arg(index));
    QCOMPARE(answerer.seen.size(), 1);
    QCOMPARE(answerer.seen[0].title, title);
    QCOMPARE(answerer.seen[0].text, text);

    QVERIFY(p.StatsFile.Open());
    for (int i = 0; i < 4; ++i) {
        const UsageRecord expected = zeroed && i == index ? UsageRecord{f.clock.Now(), {}, {}, 0, 0, 0}
                                                          : before.Records[size_t(i)];
        QCOMPARE(p.Stats.Records[size_t(i)] == expected, true);
        QCOMPARE(p.StatsFile.Get(i + 1) == expected, true);
        const Money tel = zeroed && i == index ? Money() : before.RunningTelFee[size_t(i)];
        const Money net = zeroed && i == index ? Money() : before.RunningNetFee[size_t(i)];
        QCOMPARE(p.Stats.RunningTelFee[size_t(i)].Raw(), tel.Raw());
        QCOMPARE(p.Stats.RunningNetFee[size_t(i)].Raw(), net.Raw());
    }
    p.StatsFile.Close();
}

void FrmSettingsTest::soundFileButtons()
{
    Fixture f;
    QString answer = "/home/user/sounds/ring.wav";
    f.window->SetFileChooser([&answer](QWidget*, const QString&) { return answer; });
    f.Click("cmdSelect_2");
    QCOMPARE(f.Find<QLineEdit>("txtFile_2")->text(), answer);
    QCOMPARE(f.program->Alerts.MonthAlert.FilePath, answer.toStdString());
    QVERIFY(f.Ini().contains("MonthFilePath=" + answer + "\r\n"));

    // Cancelled: the path stays as it was.
    answer.clear();
    const QString before = f.Ini();
    f.Click("cmdSelect_2");
    QCOMPARE(f.Find<QLineEdit>("txtFile_2")->text(), QString("/home/user/sounds/ring.wav"));
    QCOMPARE(f.Ini(), before);

    f.Click("cmdTest_2");
    QCOMPARE(f.sound.LastRequested(), QString("/home/user/sounds/ring.wav"));
}

void FrmSettingsTest::reopeningShowsEditsFromMemory()
{
    Fixture f;
    f.Pick("cboStartMinute", "00");
    f.Type("txtNetFee", "0.07");
    f.Type("txtFile_2", "/tmp/x.wav");
    const QPointer<FrmSettings> first = f.window;
    QTest::mouseClick(f.window->findChild<QToolBar*>("Toolbar1")->widgetForAction(
                          f.window->findChild<QAction*>("Toolbar1_1")),
                      Qt::LeftButton);
    QTRY_VERIFY(first.isNull());  // "返回" discards the window
    f.Open();
    QCOMPARE(f.Find<QComboBox>("cboStartMinute")->currentText(), QString("0"));
    QCOMPARE(f.Find<QLineEdit>("txtNetFee")->text(), QString("0.07"));
    QCOMPARE(f.Find<QLineEdit>("txtFile_2")->text(), QString("/tmp/x.wav"));
}

// The window edits the tariffs the running session reads, so a new price
// counts from the next call unit and the next minute, window still open.
void FrmSettingsTest::priceEditPricesNextUnitOfOpenConnection()
{
    Fixture f;
    std::string error;
    QVERIFY2(OpenStatistics(*f.program, f.clock.Now(), &error), error.c_str());
    ConnectionSession session(*f.program, f.clock);
    QVERIFY(session.Tick(true, "ChinaNet").Started);
    f.clock.Advance(1);
    session.Tick(true, "ChinaNet");
    const Money tel = session.State().SessionTelFee;
    const Money net = session.State().SessionNetFee;

    f.Type("txtTelFee", "0.5");
    f.Type("txtNetFee", "0.3");
    f.clock.Advance(60);
    const TickResult result = session.Tick(true, "ChinaNet");
    QVERIFY(result.UnitCharged && result.MinuteCharged);
    QCOMPARE((session.State().SessionTelFee - tel).Raw(), Money::FromRaw(5000).Raw());
    QCOMPARE((session.State().SessionNetFee - net).Raw(), Money::FromRaw(3000).Raw());
    QVERIFY(f.window->isVisible());
    session.Discard();
}

QTEST_MAIN(FrmSettingsTest)
#include "FrmSettingsTest.moc"
