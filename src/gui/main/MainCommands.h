#pragma once

#include <QObject>
#include <array>

class QAction;
class QMainWindow;
class QMenu;
class QToolBar;

namespace tollix {

class TariffSet;

// Every command of the main window: its menu bar, the popup menu the tray icon
// shows, and its toolbar. It says which command the user chose and shows which
// commands fit the line's state; it does nothing itself.
//
// object name                    member
// mnuVDialup, mnuVHangup         fileDial_, fileHangUp_
// mnuAutoHide, mnuPlayWave       autoHide_, playWave_
// mnuCharts                      (the usage charts, last in 窗口)
// mnuPopupmenu                   popup_
// mnuConnectedTime, mnuflag2     connectedTime_, connectedTimeSeparator_
// mnuDial                        dialMenu_
// mnuProfile_1 .. _6             dialEntries_[0..5]
// mnuHangup                      popupHangUp_
// mnuhalfProfile_1 .. _6         discountEntries_[0..5]
// mnuTodayTelHalf                telephoneDiscount_
// Toolbar1                       toolbar_
// Toolbar1_1, Toolbar1_2         toolDial_, toolHangUp_
class MainCommands : public QObject {
    Q_OBJECT
public:
    explicit MainCommands(QMainWindow* window);

    QMenu* Popup() const { return popup_; }
    // Names the connections of the tariffs (at most six) and ticks their switches.
    void ShowTariffs(const TariffSet& tariffs);
    void ShowStartChecks(bool autoHide, bool playWave);
    // Dialling is offered while no line is up, hanging up while one is.
    void ShowConnected(bool connected);
    // The popup menu's first entry: the time of the connection that is up; empty hides it.
    void ShowConnectedTime(const QString& duration);

signals:
    void dialRequested();
    void dialEntryRequested(int connection);  // 1-based
    void hangUpRequested();
    void exitRequested();
    void autoHideToggled(bool on);
    void playWaveToggled(bool on);
    void startupShortcutRequested();
    void desktopShortcutRequested();
    void mailRequested(bool trailingBlank);
    void settingsRequested();
    void historyRequested();
    void chartsRequested();
    void helpRequested();
    void aboutRequested();
    void restoreRequested();
    void hideRequested();
    void telephoneDiscountToggled(bool on);
    void connectionDiscountToggled(int connection, bool on);  // 1-based

private:
    void BuildMenuBar(QMainWindow* window);
    void BuildPopup(QMainWindow* window);
    void BuildToolbar(QMainWindow* window);

    QAction* fileDial_ = nullptr;
    QAction* fileHangUp_ = nullptr;
    QAction* autoHide_ = nullptr;
    QAction* playWave_ = nullptr;
    QMenu* popup_ = nullptr;
    QAction* connectedTime_ = nullptr;
    QAction* connectedTimeSeparator_ = nullptr;
    QMenu* dialMenu_ = nullptr;
    std::array<QAction*, 6> dialEntries_{};
    QAction* popupHangUp_ = nullptr;
    std::array<QAction*, 6> discountEntries_{};
    QAction* telephoneDiscount_ = nullptr;
    QToolBar* toolbar_ = nullptr;
    QAction* toolDial_ = nullptr;
    QAction* toolHangUp_ = nullptr;
};

}  // namespace tollix
