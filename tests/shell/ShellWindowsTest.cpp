#include "shell/MessageBoxes.h"
#include "shell/ShellCommands.h"

#include "WindowTestSupport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTimer>
#include <QUrl>
#include <QUrlQuery>
#include <QtTest>

#include <deque>

using namespace tollix;
using tollix::test::BoxAnswerer;
using tollix::test::SeenBox;
using tollix::test::VisibleTopLevel;

namespace {

// Collects the URLs the program hands to the desktop.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void Open(const QUrl& url) { urls << url; }
};

QString ReadText(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(file.readAll());
}

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

    void aboutWindow()
    {
        ShowAbout();
        QPointer<QWidget> about = VisibleTopLevel(QStringLiteral("frmAbout"));
        QVERIFY(about);
        QCOMPARE(about->windowTitle(), QStringLiteral("关于Tollix V3.1"));
        QCOMPARE(about->findChild<QLabel*>("Label1")->text(), QStringLiteral("1998年11月5日"));
        QCOMPARE(about->findChild<QLabel*>("Label8")->text(), QStringLiteral("想给我写信请点击右边的地址"));
        QVERIFY(about->findChild<QLabel*>("Label2")->text().contains(QLatin1String(kSupportAddress)));
        QCOMPARE(about->findChild<QPushButton*>("cmdExit")->text(), QStringLiteral("退出"));
        const QLabel* image = about->findChild<QLabel*>("Image1");
        QVERIFY2(!image->pixmap().isNull(), "the program icon did not load");

        // Not modal, and a second request raises the same window.
        QVERIFY(!about->isModal());
        ShowAbout();
        int shown = 0;
        for (QWidget* w : QApplication::topLevelWidgets())
            shown += w->objectName() == QLatin1String("frmAbout") && w->isVisible();
        QCOMPARE(shown, 1);

        QTest::mouseClick(about->findChild<QPushButton*>("cmdExit"), Qt::LeftButton);
        QTRY_VERIFY(!about);
    }

    // The address in the about window and both mail menu entries open a mail
    // to the same address with the same subject.
    void mailLinks()
    {
        catcher_.urls.clear();
        ShowAbout();
        QWidget* about = VisibleTopLevel(QStringLiteral("frmAbout"));
        QVERIFY(about);
        QTest::mouseClick(about->findChild<QLabel*>("Label2"), Qt::LeftButton);
        OpenMailLink(false);
        OpenMailLink(true);
        about->close();

        QCOMPARE(catcher_.urls.size(), 3);
        const QString trailing[] = {QString(), QString(), QStringLiteral(" ")};
        for (int i = 0; i < 3; ++i) {
            const QUrl& url = catcher_.urls[i];
            QCOMPARE(url.scheme(), QStringLiteral("mailto"));
            QCOMPARE(url.path(), QLatin1String(kSupportAddress));
            QCOMPARE(QUrlQuery(url).queryItemValue(QStringLiteral("Subject"), QUrl::FullyDecoded),
                     QStringLiteral("Question about Tollix3.1") + trailing[i]);
        }
    }

    void helpWindow()
    {
        ShowHelp();
        QWidget* help = VisibleTopLevel(QStringLiteral("frmHelp"));
        QVERIFY(help);
        QCOMPARE(help->windowTitle(), QStringLiteral("Tollix 帮助"));
        const QString text = help->findChild<QTextBrowser*>("txtHelp")->toPlainText();
        for (const char* expected : {"设置中心", "至今持续时间", "超时警告", "TOLLIX_HOME", "Price.DB", "time.txt",
                                     "/etc/ppp/peers", "sudo adduser $USER dip", "tollix --check"})
            QVERIFY2(text.contains(QString::fromUtf8(expected)), expected);
        help->close();
    }

    void shortcutCommands_data()
    {
        QTest::addColumn<bool>("desktop");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("blocked");  // a file stands where the folder should be
        QTest::addColumn<QString>("failure");

        QTest::newRow("desktop, OK") << true << int(QMessageBox::Ok) << false << QString();
        QTest::newRow("desktop, cancel") << true << int(QMessageBox::Cancel) << false << QString();
        QTest::newRow("desktop, folder blocked")
            << true << int(QMessageBox::Ok) << true << QStringLiteral("Create Start Menu Group Failed!");
        QTest::newRow("autostart, OK") << false << int(QMessageBox::Ok) << false << QString();
        QTest::newRow("autostart, cancel") << false << int(QMessageBox::Cancel) << false << QString();
        QTest::newRow("autostart, folder blocked")
            << false << int(QMessageBox::Ok) << true << QStringLiteral("Create Start Menu Group Failed!");
    }

    void shortcutCommands()
    {
        QFETCH(bool, desktop);
        QFETCH(int, answer);
        QFETCH(bool, blocked);
        QFETCH(QString, failure);

        const QString folder = desktop ? home_.path() + "/Desktop" : home_.path() + "/.config/autostart";
        const QString file = folder + (desktop ? "/Tollix V3.1.desktop" : "/Tollix.desktop");
        QDir(folder).removeRecursively();
        QFile::remove(folder);
        if (blocked) {
            QDir().mkpath(QFileInfo(folder).absolutePath());
            QFile block(folder);
            QVERIFY(block.open(QIODevice::WriteOnly));
            block.write("mine");
        }

        BoxAnswerer answerer({QMessageBox::StandardButton(answer), QMessageBox::Ok});
        if (desktop)
            AddDesktopShortcut(nullptr);
        else
            InsertShortCut(nullptr);

        QVERIFY(!answerer.seen.isEmpty());
        const SeenBox& question = answerer.seen.first();
        QCOMPARE(question.title, desktop ? QStringLiteral("添加捷径到桌面") : QStringLiteral("Tollix"));
        QCOMPARE(question.text, desktop ? QStringLiteral("添加捷径到桌面吗？")
                                        : QStringLiteral("添加本程序的捷径到启动组，这样程序可随时监视连网情况，确定吗?"));
        QCOMPARE(QSet<QString>(question.buttons.begin(), question.buttons.end()),
                 (QSet<QString>{QStringLiteral("确定"), QStringLiteral("取消")}));

        if (!failure.isEmpty()) {
            QCOMPARE(answerer.seen.size(), 2);
            QCOMPARE(answerer.seen[1].title, QStringLiteral("Ouch!"));
            QCOMPARE(answerer.seen[1].text, failure);
            QCOMPARE(answerer.seen[1].icon, QMessageBox::Warning);
            QCOMPARE(answerer.seen[1].buttons, QStringList{QStringLiteral("确定")});
            QCOMPARE(ReadText(folder), QStringLiteral("mine"));
            return;
        }
        QCOMPARE(answerer.seen.size(), 1);
        if (answer == QMessageBox::Cancel) {
            QVERIFY(!QFile::exists(file));
            return;
        }
        const QString entry = ReadText(file);
        QVERIFY2(entry.contains(desktop ? "\nName=Tollix V3.1\n" : "\nName=Tollix\n"), qPrintable(entry));
        QVERIFY(entry.contains("\nExec=\"" + QCoreApplication::applicationFilePath() + "\"\n"));
        // Run from the build the icon is given as a copy in the user's icon
        // folder; once installed, by its name.
        const QString icon = home_.path() + "/.local/share/icons/hicolor/scalable/apps/tollix.svg";
        if (QFileInfo::exists(QStringLiteral(TOLLIX_SHARE_DIR "/../icons/hicolor/scalable/apps/tollix.svg"))) {
            QVERIFY2(entry.contains("\nIcon=tollix\n"), qPrintable(entry));
        } else {
            QVERIFY2(entry.contains("\nIcon=" + icon + "\n"), qPrintable(entry));
            QVERIFY(ReadText(icon).contains("<svg"));
        }
    }

    void yesNoBoxesSpeakChinese()
    {
        BoxAnswerer answerer({QMessageBox::Yes, QMessageBox::No});
        QVERIFY(AskYesNo(nullptr, QStringLiteral("Tollix"), QStringLiteral("a\r\nb")));
        QVERIFY(!AskYesNo(nullptr, QStringLiteral("Tollix"), QStringLiteral("a\rb")));
        QCOMPARE(answerer.seen.size(), 2);
        for (const SeenBox& box : answerer.seen) {
            QCOMPARE(QSet<QString>(box.buttons.begin(), box.buttons.end()),
                     (QSet<QString>{QStringLiteral("是"), QStringLiteral("否")}));
            QCOMPARE(box.text, QStringLiteral("a\nb"));
        }
    }

private:
    QTemporaryDir home_;
    UrlCatcher catcher_;
};

QTEST_MAIN(ShellWindowsTest)
#include "ShellWindowsTest.moc"
