#include "gui/common/ShellCommands.h"

#include "base/SafeFile.h"
#include "desktop/Shortcuts.h"
#include "gui/common/MessageBoxes.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUrl>
#include <QWidget>

namespace tollix {

namespace {

constexpr char kIconFile[] = "icons/hicolor/scalable/apps/tollix.svg";

void MakeShortcut(
    QWidget* parent, const std::filesystem::path& folder, const QString& fileName, const QString& displayName)
{
    const QString program = QCoreApplication::applicationFilePath();
    const ShortcutResult result = CreateShortcut(folder, fileName.toStdString(), displayName.toStdString(),
        std::filesystem::path(program.toStdString()), ShortcutIcon().toStdString());
    if (result == ShortcutResult::GroupFailed)
        ShowMessage(parent, QStringLiteral("Ouch!"), QStringLiteral("Create Start Menu Group Failed!"),
            QMessageBox::Warning);
    else if (result == ShortcutResult::ShortcutFailed)
        ShowMessage(
            parent, QStringLiteral("Ouch!"), QStringLiteral("Create Shortcut Failed!"), QMessageBox::Warning);
}

}  // namespace

QString VersionedTitle()
{
    return QStringLiteral("Tollix V%1.%2").arg(TOLLIX_VERSION_MAJOR).arg(TOLLIX_VERSION_MINOR);
}

QString MailLink(bool trailingBlank)
{
    QString link = QStringLiteral("mailto:") + QString::fromLatin1(kSupportAddress)
        + QStringLiteral("?Subject=Question about Tollix%1.%2")
              .arg(TOLLIX_VERSION_MAJOR)
              .arg(TOLLIX_VERSION_MINOR);
    if (trailingBlank)
        link += QLatin1Char(' ');
    return link;
}

void OpenMailLink(bool trailingBlank)
{
    QDesktopServices::openUrl(QUrl(MailLink(trailingBlank)));
}

QString ShortcutIcon()
{
    // Installed with the program (cmake --install): the desktop finds it by name.
    const QString appDir = QCoreApplication::applicationDirPath();
    const QStringList installed = {
        QDir(QString::fromUtf8(TOLLIX_SHARE_DIR)).absoluteFilePath(QStringLiteral("../") + kIconFile),
        QDir(appDir).absoluteFilePath(QStringLiteral("../share/") + kIconFile),
    };
    for (const QString& path : installed)
        if (QFileInfo::exists(path))
            return QStringLiteral("tollix");

    // Run from a build or a portable copy: give the desktop a copy of the
    // icon that outlives this program's folder.
    QFile resource(QStringLiteral(":/icons/tollix.svg"));
    if (!resource.open(QIODevice::ReadOnly))
        return {};
    const QByteArray svg = resource.readAll();
    const QString dataHome = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (dataHome.isEmpty())
        return {};
    const QString target = QDir(dataHome).absoluteFilePath(kIconFile);
    QFile existing(target);
    if (existing.open(QIODevice::ReadOnly) && existing.readAll() == svg)
        return target;
    if (!QDir().mkpath(QFileInfo(target).absolutePath()))
        return {};
    if (!ReplaceFileAtomically(
            target.toStdString(), std::string_view(svg.constData(), static_cast<size_t>(svg.size()))))
        return {};
    return target;
}

void AddDesktopShortcut(QWidget* parent)
{
    if (AskOkCancel(parent, QCoreApplication::translate("ShellCommands", "添加捷径到桌面"),
            QCoreApplication::translate("ShellCommands", "添加捷径到桌面吗？"))
        != QMessageBox::Ok)
        return;
    MakeShortcut(parent, DesktopFolder(), VersionedTitle() + QStringLiteral(".desktop"), VersionedTitle());
}

void InsertShortCut(QWidget* parent)
{
    if (AskOkCancel(parent, QStringLiteral("Tollix"),
            QCoreApplication::translate(
                "ShellCommands", "添加本程序的捷径到启动组，这样程序可随时监视连网情况，确定吗?"))
        != QMessageBox::Ok)
        return;
    MakeShortcut(parent, AutostartFolder(), QStringLiteral("Tollix.desktop"), QStringLiteral("Tollix"));
}

}  // namespace tollix
