#include "gui/Application.h"

#include <QApplication>
#include <QLockFile>
#include <QPointer>
#include <QSessionManager>
#include <QTimer>
#include <cerrno>
#include <memory>
#include <unistd.h>

#include "base/Clock.h"
#include "base/SafeFile.h"
#include "dialup/DialupService.h"
#include "gui/SignalWatcher.h"
#include "gui/WindowRegistry.h"
#include "gui/common/EngineText.h"
#include "gui/common/MessageBoxes.h"
#include "gui/common/SoundPlayer.h"
#include "gui/main/FrmMain.h"
#include "gui/shell/FrmSplash.h"
#include "meter/ConnectionSession.h"
#include "meter/Program.h"

namespace tollix {

namespace {

const char* const kNoPhonebookText = QT_TRANSLATE_NOOP("Application",
    "你的系统没有安装拨号网络或者安装了拨号网络，\n"
    "但没有建立一个连接。请安装好拨号网络并建立一个或\n"
    "以上的连接后再使用本软件。 ");

}  // namespace

int RunApplication(int argc, char* argv[], const StartOptions& options)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("Tollix");
    QApplication::setApplicationVersion(QString::fromStdString(VersionTitle()).mid(7));
    QApplication::setWindowIcon(QIcon(":/icons/tollix.svg"));
    // The program lives in the tray: closing a window never ends it by itself.
    QApplication::setQuitOnLastWindowClosed(false);

    const QString title = "Tollix";
    const std::filesystem::path lockPath = options.dataFolder / "tollix.lock";
    QLockFile lock(QString::fromStdString(lockPath.string()));
    auto refuseLock = [&](const std::string& reason) {
        ShowMessage(nullptr, title,
            QCoreApplication::translate("Application", "无法建立锁文件 %1：%2。Tollix 不能启动。")
                .arg(lock.fileName(), Q(reason)),
            QMessageBox::Critical);
        return 1;
    };
    // QLockFile reads a lock it finds, and reading a pipe would wait forever.
    if (const std::string reason = NotRegularFileReason(lockPath); !reason.empty())
        return refuseLock(reason);
    if (!lock.tryLock(0)) {
        if (lock.error() == QLockFile::LockFailedError) {
            ShowMessage(nullptr, title,
                QCoreApplication::translate("Application", "%1已经在运行了!").arg(Q(VersionTitle())));
            return 1;
        }
        // QLockFile does not say why; the folder's own state usually does.
        const std::string folder = options.dataFolder.string();
        std::string reason = ::access(folder.c_str(), W_OK) != 0 ? SystemErrorText(errno)
                                                                 : FolderWriteProblem(options.dataFolder);
        return refuseLock(reason.empty()
                ? QCoreApplication::translate("Application", "请检查该文件夹是否可写").toStdString()
                : reason);
    }
    // Another data folder may reach the same statistics through a link; two
    // meters would count every connection twice.
    const std::filesystem::path statistics = options.dataFolder / "Price.DB";
    FileIdentityLock statisticsLock;
    if (statisticsLock.Acquire(statistics) == FileIdentityLock::Result::HeldElsewhere) {
        ShowMessage(nullptr, title,
            QCoreApplication::translate(
                "Application", "%1已经在运行了!\n另一个 Tollix 正在使用同一个统计文件 %2。")
                .arg(Q(VersionTitle()), Q(statistics.string())));
        return 1;
    }

    SystemClock clock;
    std::unique_ptr<DialupService> dialup = CreateDialupService(options.demo, clock);
    SoundPlayer sound;
    Program program(options.dataFolder);
    std::unique_ptr<WindowRegistry> windows;
    FrmMain* main = nullptr;
    SignalWatcher signalWatcher;

    auto loadMain = [&] {
        PhonebookResult phonebook = dialup->Phonebook();
        if (!phonebook.Readable) {
            ShowMessage(nullptr, title, QString::fromStdString(phonebook.Error), QMessageBox::Critical);
            QCoreApplication::exit(1);
            return;
        }
        if (phonebook.Entries.empty()) {
            ShowMessage(nullptr, title, QCoreApplication::translate("Application", kNoPhonebookText));
            QCoreApplication::exit(1);
            return;
        }
        LoadSettings(program, phonebook.Entries, clock.Now());
        windows = std::make_unique<WindowRegistry>(program, *dialup, clock, sound);
        main = &windows->Main();
        if (!main->Start())
            QCoreApplication::exit(1);
    };
    QPointer<FrmSplash> splash;
    splash = new FrmSplash([&] {
        loadMain();
        if (splash)
            splash->close();
    });
    splash->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(&signalWatcher, &SignalWatcher::TerminationRequested, [&] {
        if (main)
            main->EndBySystem();
        else
            QCoreApplication::exit(0);
    });
    // The desktop session is closing: record an open connection before it goes.
    QObject::connect(&app, &QGuiApplication::commitDataRequest, [&](QSessionManager&) {
        if (main)
            main->EndBySystem();
    });
    splash->show();

    const int rc = QApplication::exec();
    delete splash.data();
    main = nullptr;
    windows.reset();
    return rc;
}

}  // namespace tollix
