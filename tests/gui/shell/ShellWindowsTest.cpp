#include "gui/WindowRegistry.h"
#include "gui/common/ShellCommands.h"
#include "gui/shell/AboutWindow.h"
#include "gui/shell/HelpWindow.h"

#include "WindowTestSupport.h"

#include <QtWidgets>

using namespace tollix;
using namespace tollix::test;

namespace {

// Collects the URLs the program hands to the desktop.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void Open(const QUrl& url) { urls << url; }
};

}  // namespace

class ShellWindowsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY(home_.isValid());
        qputenv("HOME", home_.path().toUtf8());
        qputenv("XDG_CONFIG_HOME", (home_.path() + "/.config").toUtf8());
        qputenv("XDG_DATA_HOME", (home_.path() + "/.local/share").toUtf8());
        QDesktopServices::setUrlHandler(QStringLiteral("mailto"), &catcher_, "Open");
    }

    void cleanupTestCase() { QDesktopServices::unsetUrlHandler(QStringLiteral("mailto")); }

    // The address in the about window opens a mail with the program's subject.
    void aboutWindowAndMailLinks()
    {
        QPointer<QWidget> about = WindowRegistry::ShowAbout();
        QVERIFY(Child<QLabel>(about, "Label2")->text().contains(QLatin1String(kSupportAddress)));
        QVERIFY2(!Child<QLabel>(about, "Image1")->pixmap().isNull(), "the program icon did not load");

        // A fixed dialog, and a second request raises the same window.
        QVERIFY(IsFixedDialog(about));
        QVERIFY(WindowRegistry::ShowAbout() == about);

        QTest::mouseClick(Child<QLabel>(about, "Label2"), Qt::LeftButton);
        QCOMPARE(catcher_.urls,
            QList<QUrl>{QUrl(QString("mailto:%1?Subject=Question about Tollix3.1").arg(kSupportAddress))});

        QTest::mouseClick(Child<QPushButton>(about, "cmdExit"), Qt::LeftButton);
        QTRY_VERIFY(!about);
    }

    void helpWindow()
    {
        // Placed over a visible owner, it keeps its readable size.
        QWidget owner;
        owner.show();
        QWidget* help = WindowRegistry::ShowHelp(&owner);
        QVERIFY2(help->width() >= 600 && help->height() >= 500, qPrintable(QString::number(help->width())));
        QVERIFY(Child<QTextBrowser>(help, "txtHelp")->toPlainText().contains("设置中心"));
        help->close();
    }

    // What else the entry holds, and what a failure leaves, is the desktop
    // layer's to pin. `blocked`: a file stands where the folder should be. The
    // desktop's question is answered OK, the autostart one's Cancel.
    void shortcutCommands()
    {
        for (auto [desktop, blocked] : {std::pair{true, false}, {true, true}, {false, false}}) {
            const QString folder = home_.path() + (desktop ? "/Desktop" : "/.config/autostart");
            const QString file = folder + (desktop ? "/Tollix V3.1.desktop" : "/Tollix.desktop");
            QDir(folder).removeRecursively();
            QFile::remove(folder);
            if (blocked)
                WriteFile(folder.toStdString(), "mine");
            BoxAnswerer answerer({desktop ? QMessageBox::Ok : QMessageBox::Cancel, QMessageBox::Ok});
            desktop ? AddDesktopShortcut(nullptr) : InsertShortCut(nullptr);
            QVERIFY(!answerer.seen.isEmpty());
            QCOMPARE(answerer.seen[0].title,
                desktop ? QStringLiteral("添加捷径到桌面") : QStringLiteral("Tollix"));
            QCOMPARE(answerer.seen[0].text,
                desktop ? QStringLiteral("添加捷径到桌面吗？")
                        : QStringLiteral("添加本程序的捷径到启动组，这样程序可随时监视连网情况，确定吗?"));
            if (blocked) {
                const SeenBox failure = answerer.seen.value(1);
                QCOMPARE(failure.title + " " + failure.text, "Ouch! Create Start Menu Group Failed!");
                continue;
            }
            QCOMPARE(answerer.seen.size(), 1);
            QCOMPARE(QFile::exists(file), desktop);
            if (!desktop)
                continue;
            const QString entry = QString::fromStdString(ReadFile(file.toStdString()));
            QVERIFY(entry.contains("\nExec=\"" + QCoreApplication::applicationFilePath() + "\"\n"));
            // Run from the build the icon is given as a copy in the user's icon
            // folder; once installed, by its name.
            const QString icon = home_.path() + "/.local/share/icons/hicolor/scalable/apps/tollix.svg";
            const bool installed = QFileInfo::exists(
                QStringLiteral(TOLLIX_SHARE_DIR "/../icons/hicolor/scalable/apps/tollix.svg"));
            QVERIFY2(
                entry.contains("\nIcon=" + (installed ? QString("tollix") : icon) + "\n"), qPrintable(entry));
            QVERIFY(installed || ReadFile(icon.toStdString()).find("<svg") != std::string::npos);
        }
    }

private:
    QTemporaryDir home_;
    UrlCatcher catcher_;
};

QTEST_MAIN(ShellWindowsTest)
#include "ShellWindowsTest.moc"
