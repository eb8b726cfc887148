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
// A notification area may come later than the program (a panel started after
// it at login) or go away (the panel restarted): the icon is made when one
// appears and dropped when it goes, and Changed() says so. On X11 that area is
// the XEmbed one; elsewhere (Wayland) only a StatusNotifierItem host serves.
//
// object name   member
// TrayIcon      icon_
class MainTray : public QObject {
    Q_OBJECT
public:
    MainTray(QMainWindow* window, QMenu* popup);
    ~MainTray() override;

    bool Available() const { return icon_ != nullptr; }
    void Hide();
    // The tip under the icon: the version, and the connection's data while known.
    void ShowDataUsed(const QString& text);

public slots:
    // Looks again whether a notification area is there.
    void Update();

signals:
    void activated();
    // The icon was made (true) or dropped (false).
    void Changed(bool available);

private:
    void WatchTheDesktop();
    void WatchStatusNotifierHosts();
    bool StatusNotifierHostRegistered() const;

    QMenu* popup_;
    QSystemTrayIcon* icon_ = nullptr;
    bool ended_ = false;
    class X11Watch;
    X11Watch* x11_ = nullptr;
    bool hostsOnly_ = false;
    bool hostsWatched_ = false;  // a session bus answered and is watched
};

}  // namespace tollix
