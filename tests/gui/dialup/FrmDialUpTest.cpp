#include "gui/dialup/FrmDialUp.h"

#include <QtWidgets>

#include "WindowTestSupport.h"
#include "config/SettingKeys.h"
#include "dialup/DialupFixture.h"

using namespace tollix;
using namespace tollix::test;

namespace {

const DateTime kNow = At(2024, 3, 13, 12);

// The phonebook "163", "Beta Net", "中国电信" as peers under a ppp root of their own.
struct Peers {
    Peers()
        : root("TOLLIX_PPP_ROOT", world.Root().c_str())
    {
        for (const char* name : {"163", "Beta Net", "中国电信"})
            world.AddPeer(name);
    }
    PppWorld world;
    ScopedEnv root;
};

// The phonebook, the settings ("Show RASName" as given) and the open dialog
// on the real dial-up service.
struct DialWorld : Peers, ProgramWorld {
    explicit DialWorld(const std::string& remembered)
        : ProgramWorld(kNow, "[Start Settings]\r\nShow RASName=" + remembered + "\r\n", {}, false)
    { }
    QPointer<FrmDialUp> dialog = Open();
    FrmDialUp* Open() { return windows->OpenDial(); }
    QComboBox* Combo() const { return Child<QComboBox>(dialog, "cboRasList"); }
    QCheckBox* Box() const { return Child<QCheckBox>(dialog, "cekSave"); }
};

}  // namespace

class FrmDialUpTest : public QObject {
    Q_OBJECT
private slots:
    // The entry "Show RASName" names comes first; one past the list, or none, falls back to the
    // first, unticked.
    void rememberedEntry()
    {
        for (auto [ini, shown, checked] :
            {std::tuple{"2", "中国电信", true}, {"0", "163", false}, {"7", "163", false}}) {
            DialWorld w(ini);
            QCOMPARE(w.Combo()->count(), 3);
            QCOMPARE(w.Combo()->currentText(), QString(shown));
            QCOMPARE(w.Box()->isChecked(), checked);
            // Asked again, the same dialog comes forward.
            QVERIFY(IsFixedDialog(w.dialog));
            QCOMPARE(w.Open(), w.dialog.data());
        }
    }

    // The press stores the chosen entry (the first when the text names none)
    // before the box changes, whether it checks or clears it; the space bar
    // presses it too.
    void checkBoxStoresTheChosenEntryBeforeItChanges()
    {
        for (auto [ini, typed, checkedBefore, stored] :
            {std::tuple{"1", "", true, "1"}, {"0", "Nowhere", false, "0"}, {"0", "space", false, "1"}}) {
            DialWorld w(ini);
            QComboBox* combo = w.Combo();
            const QString text = typed;
            if (text.isEmpty() || text == "space")
                combo->setCurrentIndex(1);
            else
                combo->lineEdit()->setText(text);
            QCOMPARE(w.Box()->isChecked(), checkedBefore);
            QString storedWhenChanged = "<not changed>";
            connect(w.Box(), &QCheckBox::toggled, w.dialog, [&] {
                storedWhenChanged = QString::number(
                    ReadSettingInt(ProfileFile(w.Folder() / "tollix.ini"), Setting::ShowRASName));
            });
            if (text == "space") {
                w.Box()->setFocus();
                QTest::keyClick(w.Box(), Qt::Key_Space);
            } else {
                ClickLeft(w.Box());
            }
            QCOMPARE(w.Box()->isChecked(), !checkedBefore);
            QCOMPARE(storedWhenChanged, QString(stored));
            QCOMPARE(combo->currentText(), QString(stored) == "1" ? "Beta Net" : "163");
        }
    }

    // The text names the entry dialled, in any letter case; a dialler that
    // cannot start, or a text naming no entry (or none at all, as with an
    // empty phonebook), is told in one box.
    void dialsThePhonebookEntryTheTextNames()
    {
        for (auto [text, script, dialled, message] : {std::tuple{"beta NET", "", "Beta Net", ""},
                 {"Beta", "", "", "请从列表中选择"}, {"", "", "", "没有选择连接。"},
                 {"Beta Net", "#!/nonexistent/interpreter\n", "", "无法启动拨号程序"}}) {
            DialWorld w("0");
            FakePppd pppd(script);
            ScopedEnv path = pppd.FirstOnPath();
            w.Combo()->lineEdit()->setText(text);
            BoxAnswerer answerer({QMessageBox::Ok});
            QTest::mouseClick(Child<QPushButton>(w.dialog, "cmdDial"), Qt::LeftButton);
            if (*dialled) {
                QTRY_VERIFY(std::filesystem::exists(pppd.Record()));
                QCOMPARE(QString::fromStdString(ReadFile(pppd.Record())).split(QChar(0)),
                    (QStringList{"call", dialled, ""}));
                QTRY_VERIFY(!w.dialog);  // closed after dialling
                QVERIFY(answerer.seen.isEmpty());
                continue;
            }
            QCOMPARE(answerer.seen.size(), 1);
            QVERIFY2(answerer.seen[0].text.contains(message), qPrintable(answerer.seen[0].text));
            QCOMPARE(answerer.seen[0].buttons, QStringList{"确定"});
            QVERIFY(!std::filesystem::exists(pppd.Record()));
        }
    }
};

QTEST_MAIN(FrmDialUpTest)
#include "FrmDialUpTest.moc"
