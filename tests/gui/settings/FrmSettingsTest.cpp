#include "gui/settings/FrmSettings.h"

#include <QtWidgets>

#include "WindowTestSupport.h"

using namespace tollix;
using namespace tollix::test;

namespace {

// Every line unique, so an expected edit can be named by the line it replaces.
// ASCII only: the bytes on disk are the same in GBK.
const char* const kIni
    = "[Telephone Fee]\r\nHalf Fee=60\r\nTel Unit=60\r\nEveryday Flag=0\r\n"
      "[ChinaNet]\r\nFee Type=1\r\nFull Fee=100\r\nHalf Fee=50\r\nEveryday Flag=1\r\n"
      "Start Hour=22\r\nStart Minute=30\r\n"
      "[Rated]\r\nFee Type=2\r\nFix Hour=40\r\nFix Fee=150000\r\nExcel Fee=80\r\n"
      "Half Fee=40\r\nHoliday Flag=1\r\nHoliday Start={today}\r\n"
      "[Free]\r\nFee Type=0\r\nFull Fee=90\r\nHalf Fee=45\r\n"
      "[Odd]\r\nFee Type=7\r\n"
      "[Alert Setting]\r\nDayCheck=1\r\nDayWaveCheck=0\r\nMonthCheck=1\r\nMonthWaveCheck=1\r\n";

const DateTime kStart = At(2024, 3, 15, 10);

// The settings loaded from kIni, and the window open.
struct Fixture : ProgramWorld {
    Fixture()
        : ProgramWorld(kStart,
            QString(kIni).replace("{today}", GeneralDateText(kStart).c_str()).toStdString(),
            {"ChinaNet", "Rated", "Free", "Odd"})
    { }
    QPointer<FrmSettings> window = windows->OpenSettings();

    QString IniText() const { return QString::fromStdString(ReadFile(Folder() / "tollix.ini")); }
    template <typename T> T* Find(const QString& name) const { return Child<T>(window, name); }
    QString TextOf(const QString& name) const
    {
        if (auto* combo = qobject_cast<QComboBox*>(Find<QWidget>(name)))
            return combo->currentText();
        return Find<QLineEdit>(name)->text();
    }
    void Pick(const QString& control, const QString& item)
    {
        auto* combo = Find<QComboBox>(control);
        const int index = combo->findText(item);
        QVERIFY2(index >= 0, qPrintable(item));
        combo->setCurrentIndex(index);
        emit combo->activated(index);
    }
    void Click(const QString& control) { ClickLeft(Find<QAbstractButton>(control)); }
};

}  // namespace

class FrmSettingsTest : public QObject {
    Q_OBJECT
private slots:
    // Opening shows the first connection and writes nothing; each fee type
    // then enables its own group of fees.
    void openingAndFeeTypes()
    {
        Fixture f;
        const QString before = f.IniText();
        QVERIFY(f.Find<QRadioButton>("otnFeetype_1")->isChecked());
        // The rated-hours group was never filled: its first texts, disabled.
        for (auto [name, text, enabled] : {std::tuple{"cboConnectionName", "ChinaNet", true},
                 {"txtNetFee", "0.1", true}, {"cboStartHour", "22", true}, {"txtExcelFee", "0.06", false}}) {
            QCOMPARE(f.TextOf(name), QString(text));
            QVERIFY2(f.Find<QWidget>(name)->isEnabled() == enabled, name);
        }
        QCOMPARE(f.IniText(), before);
        // "每天" of the telephone tab was clear at opening: its combos stay disabled.
        f.Click("cekTelEveryDay");
        QVERIFY(!f.Find<QComboBox>("cboTelStartHour")->isEnabled());
        const auto feesEnabled = [&] {
            return QList{
                f.Find<QWidget>("txtNetFee")->isEnabled(), f.Find<QWidget>("txtExcelHour")->isEnabled()};
        };
        // "免费" disables both groups; the fees it zeroes are the settings editor's to pin.
        f.Click("otnFeetype_0");
        QCOMPARE(feesEnabled(), (QList{false, false}));
        // A fee type no option stands for: nothing chosen, nothing enabled, until
        // the user picks one.
        f.Pick("cboConnectionName", "Odd");
        for (const char* option : {"otnFeetype_0", "otnFeetype_1", "otnFeetype_2"})
            QVERIFY2(!f.Find<QRadioButton>(option)->isChecked(), option);
        QCOMPARE(feesEnabled(), (QList{false, false}));
        f.Click("otnFeetype_2");
        QCOMPARE(f.program->Tariffs.Connection(4).FeeType, int16_t(2));
        QCOMPARE(feesEnabled(), (QList{false, true}));
    }

    // One row per kind of control: the line tollix.ini has after the edit.
    // How each text converts and where its line goes is the settings editor's to pin.
    void controlsReachTheirSettings()
    {
        for (auto [control, value, line] :
            {std::tuple{"txtNetFee", "0.06", "Full Fee=60"}, {"cekSaturday", "", "Saturday Flag=1"},
                {"otnExcelFee_2", "", "Month AlertStandard=1"}, {"cboResetWeek", "星期三", "Week=3"}}) {
            Fixture f;
            const QString name = control;
            if (name.startsWith("txt")) {
                f.Find<QLineEdit>(name)->selectAll();
                QTest::keyClicks(f.Find<QLineEdit>(name), value);
            } else if (name.startsWith("cbo")) {
                f.Pick(name, value);
            } else {
                f.Click(name);
            }
            QVERIFY2(f.IniText().contains(QString("\r\n%1\r\n").arg(line)), control);
        }
    }

    // A settings file that cannot be written (a folder in its place): the user is told once, with the
    // file and the reason, and the program keeps the value it had.
    void failedWriteIsToldOnce()
    {
        Fixture f;
        const std::filesystem::path ini = f.Folder() / "tollix.ini";
        std::filesystem::remove(ini);
        std::filesystem::create_directory(ini);
        BoxAnswerer answerer({QMessageBox::Ok});
        f.Click("cekHoliday");  // two keys, one action
        QTRY_COMPARE(answerer.seen.size(), 1);
        QTest::qWait(20);
        QCOMPARE(answerer.seen.size(), 1);
        QVERIFY2(answerer.seen[0].text.startsWith("无法保存设置到 " + QString::fromStdString(ini) + "："),
            qPrintable(answerer.seen[0].text));
        QVERIFY(!f.Find<QCheckBox>("cekHoliday")->isChecked());
    }

    // The refill ticks "今天节假日折价" of the rated group: its flag is written back
    // unchanged and its start stamped with the present moment. A Saturday box
    // the refill ticks is no edit.
    void choosingConnectionRefillsThePage()
    {
        Fixture f;
        f.clock.Advance(90);
        ConnectionTariff& free = f.program->Tariffs.Connection(3);
        free.FeeType = 1;
        free.SaturdayFlag = 1;
        const QString before = f.IniText();
        f.Pick("cboConnectionName", "Rated");
        QVERIFY(f.Find<QCheckBox>("cekFixHoliday")->isChecked());
        const QString stampLine = "Holiday Start=" + QString::fromStdString(GeneralDateText(kStart));
        const QString now = QString::fromStdString(GeneralDateText(f.clock.Now()));
        QCOMPARE(f.IniText(), QString(before).replace(stampLine, "Holiday Start=" + now));
        f.Pick("cboConnectionName", "Free");
        QVERIFY(f.Find<QCheckBox>("cekSaturday")->isChecked());
        QVERIFY(!f.IniText().contains("Saturday Flag"));
    }

    // The day frame opens with the alert on and the sound repeat off; then each
    // row clicks one box. The thresholds follow the alert, the sound file the
    // repeat as well.
    void alertFrameEnabledStates()
    {
        Fixture f;
        for (auto [click, rowEnabled, pathEnabled] : {std::tuple{"", true, false},
                 {"cekInterval_0", true, true}, {"cekAlert_0", false, false}, {"cekAlert_0", true, true}}) {
            if (*click)
                f.Click(click);
            for (const char* name : {"otnExcelTime_0", "txtAlertFee_0", "cekInterval_0", "txtMinute_0"})
                QVERIFY2(f.Find<QWidget>(name)->isEnabled() == rowEnabled, name);
            for (const char* name : {"txtFile_0", "cmdSelect_0", "cmdTest_0"})
                QVERIFY2(f.Find<QWidget>(name)->isEnabled() == pathEnabled, name);
        }
    }

    // Asked first, refused while a line is up; which records a zeroing touches
    // is the statistics' to pin.
    void zeroing()
    {
        const QString month = "将这个月的所有数值都变成0 , 你肯定吗？";
        for (auto [index, connected, answer, title, text, zeroed] :
            {std::tuple{2, false, QMessageBox::Cancel, "将这个月的数值置零", month, false},
                {2, false, QMessageBox::Ok, "将这个月的数值置零", month, true},
                {3, true, QMessageBox::Ok, "Tollix", QString("正在连接时不能置零"), false}}) {
            Fixture f;
            UsageRecord& record = f.program->Stats.Records[size_t(index)];
            record.Seconds = 3600;
            if (connected) {
                QVERIFY(f.dialup->DialConnection(f.dialup->Phonebook().Entries.front()).Started);
                f.clock.Advance(4);
                QVERIFY(f.dialup->IsConnected());
            }
            QSignalSpy zeroedSignal(f.window.data(), &FrmSettings::periodZeroed);
            BoxAnswerer answerer({answer});
            f.Click(QString("cmdReset_%1").arg(index));
            QCOMPARE(answerer.Texts(), QStringList{text});
            QCOMPARE(answerer.seen[0].title, QString(title));
            QCOMPARE(zeroedSignal.size(), int(zeroed));
            QCOMPARE(record.Seconds, zeroed ? 0 : 3600);
        }
    }

    void soundFileButtons()
    {
        Fixture f;
        const QString ring = "/home/user/sounds/ring.wav";
        QString answer = ring;
        f.window->SetFileChooser([&answer](QWidget*, const QString&) { return answer; });
        f.Click("cmdSelect_2");
        QCOMPARE(f.program->Alerts.MonthAlert.FilePath, ring.toStdString());
        // Cancelled: the path stays as it was.
        answer.clear();
        f.Click("cmdSelect_2");
        QCOMPARE(f.TextOf("txtFile_2"), ring);
        QSignalSpy played(&f.sound, &tollix::SoundPlayer::Requested);
        f.Click("cmdTest_2");
        QCOMPARE(played.value(0).value(0).toString(), ring);
    }
};

QTEST_MAIN(FrmSettingsTest)
#include "FrmSettingsTest.moc"
