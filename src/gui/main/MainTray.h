#pragma once

#include <QObject>

class QMainWindow;
class QMenu;
class QSystemTrayIcon;

namespace tollix {

// Where the main window's popup menu lives: at the notification-area icon, or,
// on a desktop without one, on the window itself (a hidden window could never
// be brought back, so the window then minimises instead of hiding).
//
// object name   member
// TrayIcon      icon_
class MainTray : public QObject {
    Q_OBJECT
public:
    MainTray(QMainWindow* window, QMenu* popup);

    bool Available() const { return icon_ != nullptr; }
    void Hide();
    // The tip under the icon: the version, and the connection's data while known.
    void ShowDataUsed(const QString& text);

signals:
    void activated();

private:
    QSystemTrayIcon* icon_ = nullptr;
};

}  // namespace tollix
