#include "gui/dialup/FrmDialUp.h"

#include <QtWidgets>

#include <filesystem>
#include <memory>

#include "ManualClock.h"
#include "WindowTestSupport.h"
#include "base/Clock.h"
#include "dialup/DialupFixture.h"
#include "dialup/DialupService.h"
#include "gui/WindowRegistry.h"
#include "gui/common/SoundPlayer.h"
#include "meter/Program.h"

using namespace tollix;
using namespace tollix::test;

namespace {

const DateTime kNow = *DateTime::FromCivil(2024, 3, 13, 12, 0, 0);

// A pppd stand-in; without a body of its own it records its arguments, NUL-separated.
struct FakePppd {
    TempFolder bin;
    explicit FakePppd(std::string body)
    {
        const std::string record = Record().string();
        if (body.empty())
            body = "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\0' \"$a\"; done > \"" + record
                + ".tmp\"\nmv \"" + record + ".tmp\" \"" + record + "\"\n";
        WriteBytes(bin.Path() / "pppd", body);
        std::filesystem::permissions(bin.Path() / "pppd", std::filesystem::perms::owner_all);
    }
    std::filesystem::path Record() const { return bin.Path() / "argv"; }
    QStringList Arguments() const
    {
        QStringList args = QString::fromStdString(ReadBytes(Record())).split(QChar(0));
        args.removeLast();
        return args;
    }
};

// Phonebook, settings ("Show RASName" as given; none when null) and the open
// dialog for one case. The phonebook is "163", "Beta Net", "中国电信" unless given.
struct DialWorld {
    explicit DialWorld(
        const char* remembered, std::initializer_list<const char*> peers = {"163", "Beta Net", "中国电信"})
        : root("TOLLIX_PPP_ROOT", world.Root().c_str())
    {
        for (const char* name : peers)
            world.AddPeer(name);
        if (remembered)
            WriteBytes(IniPath(), std::string("[Start Settings]\r\nShow RASName=") + remembered + "\r\n");
        service = CreateDialupService(false, clock);
        program = std::make_unique<Program>(data.Path());
        LoadSettings(*program, service->Phonebook().Entries, kNow);
        windows = std::make_unique<WindowRegistry>(*program, *service, clock, sound);
        dialog = Open();
    }
    // A failed check must not leave the shared dialog behind for the next case.
    ~DialWorld() { delete dialog.data(); }
    FrmDialUp* Open() { return windows->OpenDial(); }
    std::filesystem::path IniPath() const { return data.Path() / "tollix.ini"; }
    QComboBox* Combo() const { return Child<QComboBox>(dialog, "cboRasList"); }
    QCheckBox* Box() const { return Child<QCheckBox>(dialog, "cekSave"); }
    QPushButton* Dial() const { return Child<QPushButton>(dialog, "cmdDial"); }
    QString Remembered() const { return IniValue(IniPath(), "Start Settings", "Show RASName"); }

    PppWorld world;
    ScopedEnv root;
    TempFolder data;
    ManualClock clock{kNow};
    std::unique_ptr<DialupService> service;
    std::unique_ptr<Program> program;
    SoundPlayer sound;
    std::unique_ptr<WindowRegistry> windows;
    QPointer<FrmDialUp> dialog;
};

struct BoxCase {
    const char* ini;
    QString typed;  // empty: choose the second entry from the list; "space": that, and the space bar
    bool checkedBefore;
    QString stored, shownAfter;
};

struct DialCase {
    QString text;
    std::string script;  // empty: the recording stand-in
    QString dialled;     // empty: nothing may be dialled
    QString message;     // part of the one box shown
    bool staysOpen;
};

}  // namespace

Q_DECLARE_METATYPE(BoxCase)
Q_DECLARE_METATYPE(DialCase)

class FrmDialUpTest : public QObject {
    Q_OBJECT
private slots:
    // The entry "Show RASName" names comes first; one past the list, or none, falls back to the first.
    void rememberedEntry()
    {
        for (auto [ini, shown, checked] : {std::tuple{"2", "中国电信", true}, {"0", "163", false},
                 {"7", "163", true}, {(const char*)nullptr, "163", false}}) {
            DialWorld w(ini);
            QCOMPARE(w.Combo()->count(), 3);
            QCOMPARE(w.Combo()->currentText(), QString(shown));
            QCOMPARE(w.Box()->isChecked(), checked);
        }
        // Not modal; asked again, the same dialog comes forward; closed, it is gone.
        DialWorld w("0");
        QVERIFY(!w.dialog->isModal());
        QCOMPARE(w.Open(), w.dialog.data());
        w.dialog->close();
        QTRY_VERIFY(!w.dialog);
    }

    void choosingFromTheListShowsWhetherItIsRemembered()
    {
        DialWorld w("0");
        QComboBox* combo = w.Combo();
        combo->setFocus();
        QVERIFY(!w.Box()->isChecked());
        QTest::keyClick(combo, Qt::Key_Down);
        QCOMPARE(combo->currentText(), QStringLiteral("Beta Net"));
        QVERIFY(!w.Box()->isChecked());
        QTest::keyClick(combo, Qt::Key_Up);
        QCOMPARE(combo->currentText(), QStringLiteral("163"));
        QVERIFY(w.Box()->isChecked());
        QCOMPARE(w.Remembered(), QStringLiteral("0"));  // choosing writes nothing
    }

    void checkBoxStoresTheChosenEntryBeforeItChanges_data()
    {
        QTest::addColumn<BoxCase>("c");
        QTest::newRow("checking the second") << BoxCase{"0", "", false, "1", "Beta Net"};
        QTest::newRow("clearing the second") << BoxCase{"1", "", true, "1", "Beta Net"};
        QTest::newRow("edited text chooses the first") << BoxCase{"0", "Nowhere", false, "0", "163"};
        QTest::newRow("space bar on the second") << BoxCase{"0", "space", false, "1", "Beta Net"};
    }
    void checkBoxStoresTheChosenEntryBeforeItChanges()
    {
        QFETCH(BoxCase, c);
        DialWorld w(c.ini);
        QComboBox* combo = w.Combo();
        const bool bySpace = c.typed == "space";
        if (c.typed.isEmpty() || bySpace) {
            combo->setFocus();
            while (combo->currentIndex() != 1)
                QTest::keyClick(combo, combo->currentIndex() < 1 ? Qt::Key_Down : Qt::Key_Up);
        } else {
            combo->lineEdit()->setText(c.typed);
        }
        QCOMPARE(w.Box()->isChecked(), c.checkedBefore);
        QString storedWhenChanged = QStringLiteral("<not changed>");
        connect(w.Box(), &QCheckBox::toggled, w.dialog, [&] { storedWhenChanged = w.Remembered(); });
        if (bySpace) {
            w.Box()->setFocus();
            QTest::keyClick(w.Box(), Qt::Key_Space);
        } else {
            ClickLeft(w.Box());
        }
        QCOMPARE(w.Box()->isChecked(), !c.checkedBefore);
        QCOMPARE(storedWhenChanged, c.stored);
        QCOMPARE(w.Remembered(), c.stored);
        QCOMPARE(combo->currentText(), c.shownAfter);
    }

    void dialsThePhonebookEntryTheTextNames_data()
    {
        QTest::addColumn<DialCase>("c");
        QTest::newRow("entry as listed") << DialCase{"中国电信", "", "中国电信", "", false};
        QTest::newRow("letter case ignored") << DialCase{"beta NET", "", "Beta Net", "", false};
        QTest::newRow("no such entry") << DialCase{"Beta", "", "", "请从列表中选择", true};
        QTest::newRow("dialer cannot start")
            << DialCase{"Beta Net", "#!/nonexistent/interpreter\n", "", "无法启动拨号程序", false};
    }
    void dialsThePhonebookEntryTheTextNames()
    {
        QFETCH(DialCase, c);
        DialWorld w("0");
        FakePppd pppd(c.script);
        ScopedEnv path("PATH", (pppd.bin.Path().string() + ":/usr/bin:/bin").c_str());
        w.Combo()->lineEdit()->setText(c.text);
        BoxAnswerer answerer({QMessageBox::Ok});
        QTest::mouseClick(w.Dial(), Qt::LeftButton);
        if (!c.dialled.isEmpty()) {
            QTRY_VERIFY(std::filesystem::exists(pppd.Record()));
            QCOMPARE(pppd.Arguments(), (QStringList{"call", c.dialled}));
            QTRY_VERIFY(!w.dialog);  // closed after dialling
            QVERIFY(answerer.seen.isEmpty());
            return;
        }
        QCOMPARE(answerer.seen.size(), 1);
        QCOMPARE(answerer.seen[0].title, QStringLiteral("Tollix"));
        QVERIFY2(answerer.seen[0].text.contains(c.message), qPrintable(answerer.seen[0].text));
        QCOMPARE(answerer.seen[0].buttons, QStringList{QStringLiteral("确定")});
        QTest::qWait(100);
        QCOMPARE(w.dialog && w.dialog->isVisible(), c.staysOpen);  // left open for another choice
        QVERIFY(!std::filesystem::exists(pppd.Record()));
    }

    void emptyPhonebookDialsNothing()
    {
        DialWorld w(nullptr, {});
        ClickLeft(w.Box());
        QVERIFY(!std::filesystem::exists(w.IniPath()));  // nothing to remember
        BoxAnswerer answerer({QMessageBox::Ok});
        QTest::mouseClick(w.Dial(), Qt::LeftButton);
        QCOMPARE(answerer.seen.size(), 1);
    }
};

QTEST_MAIN(FrmDialUpTest)
#include "FrmDialUpTest.moc"
