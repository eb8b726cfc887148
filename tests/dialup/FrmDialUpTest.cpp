#include "dialup/FrmDialUp.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <filesystem>
#include <memory>

#include "core/Clock.h"
#include "core/Program.h"
#include "dialup/DialupFixture.h"
#include "dialup/DialupService.h"
#include "WindowTestSupport.h"

using namespace tollix;
using tollix::test::BoxAnswerer;
using tollix::test::IniValue;
using tollix::test::PppWorld;
using tollix::test::ScopedEnv;
using tollix::test::TempFolder;
using tollix::test::WriteBytes;

namespace {

const DateTime kNow = *DateTime::FromCivil(2024, 3, 13, 12, 0, 0);

// A pppd stand-in that records its arguments, NUL-separated.
struct FakePppd {
    explicit FakePppd(const std::string& body = "")
    {
        const std::filesystem::path script = bin.Path() / "pppd";
        const std::string record = Record().string();
        WriteBytes(script,
            body.empty() ? "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\0' \"$a\"; done > \"" + record
                    + ".tmp\"\nmv \"" + record + ".tmp\" \"" + record + "\"\n"
                         : body);
        std::filesystem::permissions(script, std::filesystem::perms::owner_all);
    }
    std::filesystem::path Record() const { return bin.Path() / "argv"; }
    QStringList Arguments() const
    {
        QFile file(QString::fromStdString(Record().string()));
        if (!file.open(QIODevice::ReadOnly))
            return {};
        QStringList args = QString::fromUtf8(file.readAll()).split(QChar(0));
        args.removeLast();
        return args;
    }
    TempFolder bin;
};

// Phonebook, settings and dialog for one case. The phonebook lists
// "163", "Beta Net" and "中国电信", in that order.
struct DialWorld {
    explicit DialWorld(const std::string& ini)
        : root("TOLLIX_PPP_ROOT", world.Root().c_str())
    {
        for (const char* name : { "163", "Beta Net", "中国电信" })
            world.AddPeer(name);
        if (!ini.empty())
            WriteBytes(IniPath(), ini);
        service = CreateDialupService(false, clock);
        program = std::make_unique<Program>(data.Path());
        LoadSettings(*program, service->Phonebook().Entries, kNow);
    }
    ~DialWorld()
    {
        // A failed check must not leave the shared dialog behind for the next case.
        delete dialog.data();
    }
    std::filesystem::path IniPath() const { return data.Path() / "tollix.ini"; }
    FrmDialUp* Open()
    {
        dialog = FrmDialUp::ShowShared(*program, *service, nullptr);
        return dialog;
    }
    QComboBox* Combo() const { return dialog->findChild<QComboBox*>("cboRasList"); }
    QCheckBox* Box() const { return dialog->findChild<QCheckBox*>("cekSave"); }
    QPushButton* Dial() const { return dialog->findChild<QPushButton*>("cmdDial"); }
    QString Remembered() const { return IniValue(IniPath(), "Start Settings", "Show RASName"); }

    PppWorld world;
    ScopedEnv root;
    TempFolder data;
    ManualClock clock { kNow };
    std::unique_ptr<DialupService> service;
    std::unique_ptr<Program> program;
    QPointer<FrmDialUp> dialog;
};

std::string RememberIni(const char* value)
{
    return std::string("[Start Settings]\r\nShow RASName=") + value + "\r\n";
}

void ClickBox(QCheckBox* box)
{
    // The indicator sits at the left edge.
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
}

void CloseDialog(QPointer<FrmDialUp>& dialog)
{
    if (dialog)
        dialog->close();
    QTRY_VERIFY(!dialog);
}

} // namespace

class FrmDialUpTest : public QObject {
    Q_OBJECT
private slots:
    void fixedTexts()
    {
        DialWorld w("");
        FrmDialUp* dialog = w.Open();
        QCOMPARE(dialog->objectName(), QStringLiteral("frmDialUp"));
        QCOMPARE(dialog->windowTitle(), QStringLiteral("拨号上网"));
        QCOMPARE(dialog->findChild<QLabel*>("Label1")->text(), QStringLiteral("请从下面选择一个连接名称："));
        QCOMPARE(w.Box()->text(), QStringLiteral("总是先显示这个连接"));
        QCOMPARE(w.Dial()->text(), QStringLiteral("拨号"));
        QVERIFY(!dialog->isModal());
        QCOMPARE(w.Combo()->count(), 3);
        // Asked again, the same dialog comes forward.
        QCOMPARE(w.Open(), dialog);
        CloseDialog(w.dialog);
    }

    void rememberedEntry_data()
    {
        QTest::addColumn<QString>("ini");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<bool>("checked");
        QTest::newRow("third of three") << "2"
                                        << "中国电信" << true;
        QTest::newRow("first") << "0"
                               << "163" << false;
        QTest::newRow("second") << "1"
                                << "Beta Net" << true;
        QTest::newRow("past the end opens on the first") << "7"
                                                         << "163" << true;
        QTest::newRow("negative") << "-4"
                                  << "163" << false;
        QTest::newRow("not a number") << "abc"
                                      << "163" << false;
        QTest::newRow("never set") << ""
                                   << "163" << false;
    }
    void rememberedEntry()
    {
        QFETCH(QString, ini);
        QFETCH(QString, shown);
        QFETCH(bool, checked);
        DialWorld w(ini.isEmpty() ? std::string() : RememberIni(ini.toUtf8().constData()));
        w.Open();
        QCOMPARE(w.Combo()->currentText(), shown);
        QCOMPARE(w.Box()->isChecked(), checked);
        CloseDialog(w.dialog);
    }

    void choosingFromTheListShowsWhetherItIsRemembered()
    {
        DialWorld w(RememberIni("0"));
        w.Open();
        QComboBox* combo = w.Combo();
        combo->setFocus();
        QVERIFY(!w.Box()->isChecked());
        QTest::keyClick(combo, Qt::Key_Down);
        QCOMPARE(combo->currentText(), QStringLiteral("Beta Net"));
        QVERIFY(!w.Box()->isChecked());
        QTest::keyClick(combo, Qt::Key_Up);
        QCOMPARE(combo->currentText(), QStringLiteral("163"));
        QVERIFY(w.Box()->isChecked());
        // Choosing writes nothing.
        QCOMPARE(w.Remembered(), QStringLiteral("0"));
        CloseDialog(w.dialog);
    }

    void checkBoxStoresTheChosenEntryBeforeItChanges_data()
    {
        QTest::addColumn<QString>("ini");
        QTest::addColumn<QString>("typed"); // empty: choose the second entry from the list
        QTest::addColumn<bool>("checkedBefore");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("shownAfter");
        QTest::newRow("checking the second") << "0"
                                             << "" << false << "1"
                                             << "Beta Net";
        QTest::newRow("clearing the second") << "1"
                                             << "" << true << "1"
                                             << "Beta Net";
        QTest::newRow("clearing the second, third remembered") << "2"
                                                               << "" << false << "1"
                                                               << "Beta Net";
        QTest::newRow("edited text chooses the first") << "0"
                                                       << "Nowhere" << false << "0"
                                                       << "163";
        QTest::newRow("edited text, box checked") << "2"
                                                  << "Nowhere" << true << "0"
                                                  << "163";
        QTest::newRow("space bar on the second") << "0"
                                                 << "space" << false << "1"
                                                 << "Beta Net";
    }
    void checkBoxStoresTheChosenEntryBeforeItChanges()
    {
        QFETCH(QString, ini);
        QFETCH(QString, typed);
        QFETCH(bool, checkedBefore);
        QFETCH(QString, stored);
        QFETCH(QString, shownAfter);
        DialWorld w(RememberIni(ini.toUtf8().constData()));
        w.Open();
        QComboBox* combo = w.Combo();
        const bool bySpace = typed == "space";
        if (typed.isEmpty() || bySpace) {
            combo->setFocus();
            while (combo->currentIndex() < 1)
                QTest::keyClick(combo, Qt::Key_Down);
            while (combo->currentIndex() > 1)
                QTest::keyClick(combo, Qt::Key_Up);
        } else {
            combo->lineEdit()->setText(typed);
        }
        QCOMPARE(w.Box()->isChecked(), checkedBefore);
        QString storedWhenChanged = QStringLiteral("<not changed>");
        connect(w.Box(), &QCheckBox::toggled, w.dialog, [&] { storedWhenChanged = w.Remembered(); });
        if (bySpace) {
            w.Box()->setFocus();
            QTest::keyClick(w.Box(), Qt::Key_Space);
        } else {
            ClickBox(w.Box());
        }
        QCOMPARE(w.Box()->isChecked(), !checkedBefore);
        QCOMPARE(storedWhenChanged, stored);
        QCOMPARE(w.Remembered(), stored);
        QCOMPARE(combo->currentText(), shownAfter);
        CloseDialog(w.dialog);
    }

    void dialsThePhonebookEntryTheTextNames_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("dialled"); // empty: nothing may be dialled
        QTest::newRow("entry as listed") << "中国电信"
                                         << "中国电信";
        QTest::newRow("letter case ignored") << "beta NET"
                                             << "Beta Net";
        QTest::newRow("no such entry") << "Beta"
                                       << "";
        QTest::newRow("empty text") << ""
                                    << "";
    }
    void dialsThePhonebookEntryTheTextNames()
    {
        QFETCH(QString, text);
        QFETCH(QString, dialled);
        DialWorld w(RememberIni("0"));
        FakePppd pppd;
        ScopedEnv path("PATH", (pppd.bin.Path().string() + ":/usr/bin:/bin").c_str());
        w.Open();
        w.Combo()->lineEdit()->setText(text);
        BoxAnswerer answerer({ QMessageBox::Ok });
        QTest::mouseClick(w.Dial(), Qt::LeftButton);
        if (dialled.isEmpty()) {
            QCOMPARE(answerer.seen.size(), 1);
            QCOMPARE(answerer.seen[0].title, QStringLiteral("Tollix"));
            QVERIFY2(answerer.seen[0].text.contains(QStringLiteral("请从列表中选择")),
                qPrintable(answerer.seen[0].text));
            QVERIFY(w.dialog && w.dialog->isVisible()); // left open for another choice
            QTest::qWait(100);
            QVERIFY(!std::filesystem::exists(pppd.Record()));
            CloseDialog(w.dialog);
        } else {
            QTRY_VERIFY(std::filesystem::exists(pppd.Record()));
            QCOMPARE(pppd.Arguments(), (QStringList { "call", dialled }));
            QTRY_VERIFY(!w.dialog); // closed after dialling
            QVERIFY(answerer.seen.isEmpty());
        }
    }

    void saysWhyTheDialerDidNotStart()
    {
        DialWorld w(RememberIni("1"));
        FakePppd broken("#!/nonexistent/interpreter\n");
        ScopedEnv path("PATH", broken.bin.Path().string().c_str());
        w.Open();
        BoxAnswerer answerer({ QMessageBox::Ok });
        QTest::mouseClick(w.Dial(), Qt::LeftButton);
        QCOMPARE(answerer.seen.size(), 1);
        QCOMPARE(answerer.seen[0].title, QStringLiteral("Tollix"));
        QVERIFY2(answerer.seen[0].text.contains(QStringLiteral("无法启动拨号程序")),
            qPrintable(answerer.seen[0].text));
        QCOMPARE(answerer.seen[0].buttons, QStringList { QStringLiteral("确定") });
        QTRY_VERIFY(!w.dialog);
    }

    void emptyPhonebookDialsNothing()
    {
        PppWorld empty;
        ScopedEnv root("TOLLIX_PPP_ROOT", empty.Root().c_str());
        TempFolder data;
        ManualClock clock { kNow };
        auto service = CreateDialupService(false, clock);
        Program program(data.Path());
        LoadSettings(program, service->Phonebook().Entries, kNow);
        QPointer<FrmDialUp> dialog = FrmDialUp::ShowShared(program, *service, nullptr);
        auto* box = dialog->findChild<QCheckBox*>("cekSave");
        ClickBox(box);
        QVERIFY(!std::filesystem::exists(data.Path() / "tollix.ini")); // nothing to remember
        BoxAnswerer answerer({ QMessageBox::Ok });
        QTest::mouseClick(dialog->findChild<QPushButton*>("cmdDial"), Qt::LeftButton);
        QCOMPARE(answerer.seen.size(), 1);
        CloseDialog(dialog);
    }
};

QTEST_MAIN(FrmDialUpTest)
#include "FrmDialUpTest.moc"
