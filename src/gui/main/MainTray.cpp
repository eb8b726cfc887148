#include "gui/main/MainTray.h"

#include <QIcon>
#include <QMainWindow>
#include <QMenu>
#include <QSystemTrayIcon>

#include "meter/ConnectionSession.h"

namespace tollix {

MainTray::MainTray(QMainWindow* window, QMenu* popup)
    : QObject(window)
{
    if (!QSystemTrayIcon::isSystemTrayAvailable()) {
        QWidget* central = window->centralWidget();
        central->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(central, &QWidget::customContextMenuRequested, this,
            [central, popup](const QPoint& pos) { popup->popup(central->mapToGlobal(pos)); });
        return;
    }
    icon_ = new QSystemTrayIcon(QIcon(":/icons/tollix.svg"), this);
    icon_->setObjectName("TrayIcon");
    icon_->setToolTip(QString::fromStdString(VersionTitle()));
    icon_->setContextMenu(popup);
    connect(icon_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::DoubleClick)
            emit activated();
    });
    icon_->show();
}

void MainTray::ShowDataUsed(const QString& text)
{
    if (!icon_)
        return;
    const QString version = QString::fromStdString(VersionTitle());
    icon_->setToolTip(text.isEmpty() ? version : version + '\n' + text);
}

void MainTray::Hide()
{
    if (icon_)
        icon_->hide();
}

}  // namespace tollix
