#include "gui/main/MainTray.h"

#include <QAbstractNativeEventFilter>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusServiceWatcher>
#include <QDBusVariant>
#include <QFileInfo>
#include <QGuiApplication>
#include <QIcon>
#include <QMainWindow>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QTimer>
#include <xcb/xcb.h>

#include "meter/ConnectionSession.h"

namespace tollix {

namespace {

const char watcherService[] = "org.kde.StatusNotifierWatcher";
const char watcherPath[] = "/StatusNotifierWatcher";

}  // namespace

// On X11 a notification area announces itself by taking the selection
// _NET_SYSTEM_TRAY_S<n> and sending a MANAGER message to the root window, and
// leaves by destroying the selection's owner window. Qt's own tray code follows
// both once asked whether a tray is available; this filter only notices them
// and asks Qt again once it has taken them in.
class MainTray::X11Watch : public QAbstractNativeEventFilter {
public:
    X11Watch(MainTray* tray, xcb_connection_t* connection)
        : tray_(tray)
    {
        const char name[] = "MANAGER";
        xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
            connection, xcb_intern_atom(connection, 0, sizeof name - 1, name), nullptr);
        if (reply) {
            manager_ = reply->atom;
            free(reply);
        }
    }

    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override
    {
        if (type != "xcb_generic_event_t")
            return false;
        const auto* event = static_cast<const xcb_generic_event_t*>(message);
        const uint8_t kind = event->response_type & 0x7f;
        const bool manager = kind == XCB_CLIENT_MESSAGE
            && reinterpret_cast<const xcb_client_message_event_t*>(event)->type == manager_;
        if (manager || kind == XCB_DESTROY_NOTIFY)
            QTimer::singleShot(0, tray_, &MainTray::Update);
        return false;
    }

private:
    MainTray* tray_;
    xcb_atom_t manager_ = XCB_ATOM_NONE;
};

MainTray::MainTray(QMainWindow* window, QMenu* popup)
    : QObject(window)
    , popup_(popup)
{
    // The window's own menu serves while there is no notification area.
    QWidget* central = window->centralWidget();
    central->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(central, &QWidget::customContextMenuRequested, this, [this, central](const QPoint& pos) {
        if (!icon_)
            popup_->popup(central->mapToGlobal(pos));
    });
    WatchTheDesktop();
    Update();
}

MainTray::~MainTray()
{
    if (x11_)
        QCoreApplication::instance()->removeNativeEventFilter(x11_);
    delete x11_;
}

void MainTray::WatchTheDesktop()
{
    // The offscreen platform may answer for X11 too, without a connection.
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 && x11->connection() && QGuiApplication::platformName() == QLatin1String("xcb")) {
        x11_ = new X11Watch(this, x11->connection());
        QCoreApplication::instance()->installNativeEventFilter(x11_);
    } else {
        WatchStatusNotifierHosts();
    }
}

namespace {

// Where no session bus can be (a headless run, a session without one) no
// panel can be either; asking Qt's D-Bus module anyway would start its
// connection thread and load libdbus for nothing.
bool SessionBusKnown()
{
    if (!qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
        return true;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return !runtime.isEmpty() && QFileInfo::exists(runtime + QStringLiteral("/bus"));
}

}  // namespace

// Qt asks once whether a StatusNotifierItem host is registered and keeps that
// first answer for the whole run, so a panel started after the program would
// never get the icon. Qt is therefore asked only once a host is known to be
// there; until then, and after the watcher leaves, there is no tray.
void MainTray::WatchStatusNotifierHosts()
{
    hostsOnly_ = true;
    if (!SessionBusKnown())
        return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    hostsWatched_ = true;
    auto* watcher = new QDBusServiceWatcher(watcherService, bus,
        QDBusServiceWatcher::WatchForRegistration | QDBusServiceWatcher::WatchForUnregistration, this);
    connect(watcher, &QDBusServiceWatcher::serviceRegistered, this, &MainTray::Update);
    connect(watcher, &QDBusServiceWatcher::serviceUnregistered, this, &MainTray::Update);
    for (const char* signal : {"StatusNotifierHostRegistered", "StatusNotifierHostUnregistered"})
        bus.connect(watcherService, watcherPath, watcherService, signal, this, SLOT(Update()));
}

bool MainTray::StatusNotifierHostRegistered() const
{
    if (!hostsWatched_)
        return false;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface()->isServiceRegistered(watcherService))
        return false;
    QDBusMessage ask = QDBusMessage::createMethodCall(
        watcherService, watcherPath, "org.freedesktop.DBus.Properties", "Get");
    ask << QString(watcherService) << QString("IsStatusNotifierHostRegistered");
    // A hung watcher must not hold the meter up for the bus's default 25 s.
    const QDBusMessage reply = bus.call(ask, QDBus::Block, 1000);
    return reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty()
        && qvariant_cast<QDBusVariant>(reply.arguments().first()).variant().toBool();
}

void MainTray::Update()
{
    if (ended_)
        return;
    const bool available
        = (!hostsOnly_ || StatusNotifierHostRegistered()) && QSystemTrayIcon::isSystemTrayAvailable();
    if (available == (icon_ != nullptr))
        return;
    if (available) {
        icon_ = new QSystemTrayIcon(QIcon(":/icons/tollix.svg"), this);
        icon_->setObjectName("TrayIcon");
        icon_->setToolTip(QString::fromStdString(VersionTitle()));
        icon_->setContextMenu(popup_);
        connect(icon_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
            if (reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::DoubleClick)
                emit activated();
        });
        icon_->show();
    } else {
        icon_->setContextMenu(nullptr);
        delete icon_;
        icon_ = nullptr;
    }
    emit Changed(available);
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
    ended_ = true;
    if (icon_)
        icon_->hide();
}

}  // namespace tollix
