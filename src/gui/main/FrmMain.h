#pragma once

#include <QMainWindow>
#include <QMessageBox>
#include <QPointer>
#include <array>
#include <functional>
#include <memory>

#include "alerts/AlertMonitor.h"
#include "meter/ConnectionSession.h"

class QAction;
class QGroupBox;
class QLabel;
class QMenu;
class QRadioButton;
class QSystemTrayIcon;
class QTimer;
class QToolBar;

namespace tollix {

class Clock;
class DialupService;
class SoundPlayer;
class FrmAlert;
struct Program;

// The main window: the connection that is up (or was last up), the totals of the
// chosen period, the toolbar, the menus, the tray icon, and the one-second
// monitor tick that drives the connection session.
class FrmMain : public QMainWindow {
    Q_OBJECT
public:
    FrmMain(Program& program, DialupService& dialup, const Clock& clock, SoundPlayer& sound,
        QWidget* parent = nullptr);
    ~FrmMain() override;

    // Start-up: tray icon, check marks, statistics opened and rolled over.
    // False (after telling the user) when the program cannot go on.
    bool Form_Load();

    // The one orderly way out. Asks while a connection is up; false when the
    // user chose to stay.
    bool EndProgram();
    // Ended by the system: the open session is recorded as if the line dropped.
    void EndBySystem();

    void ShowOptionButton(int index);
    void tmrSystemtime_Timer();
    void tmrPlayWave_Timer();
    void tmrStartOnce_Timer();

    // Other windows call these when they leave or change what the main window shows.
    void RestoreMainWindow();
    void RefreshMenusFromTariffs();
    Program& ProgramState() { return program_; }
    ConnectionSession& Session() { return session_; }
    DialupService& Dialup() { return dialup_; }
    const Clock& ClockSource() const { return clock_; }
    SoundPlayer& Sound() { return sound_; }
    bool TrayAvailable() const;

    // Windows opened from the menus register here, so that the main window stays
    // free of their code.
    using WindowOpener = std::function<void(FrmMain&)>;
    static void SetSettingsOpener(WindowOpener opener);
    static void SetHistoryOpener(WindowOpener opener);
    static void SetDialOpener(WindowOpener opener);

signals:
    void SessionEnded();

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildWindow();
    void BuildMenus();
    void BuildToolbar();
    void BuildTray();
    void IniMenu();
    void ShowStartedState();
    void ShowEndedState();
    void ShowConnectedTexts(const TickResult& result);
    void HangUpCommand();
    void DialProfile(int index);
    void ToggleAutoHide();
    void TogglePlayWave();
    void TodayTelHalf();
    void HalfProfile(int index);
    void OpenSettings();
    void OpenHistory();
    void OpenDial();
    void HideMainWindow();
    void ShowError(const QString& text);
    void ShowNotice(const QString& text, QMessageBox::Icon icon);

    Program& program_;
    DialupService& dialup_;
    const Clock& clock_;
    SoundPlayer& sound_;
    ConnectionSession session_;
    AlertMonitor alerts_;
    bool ending_ = false;

    QTimer* tmrStartOnce_ = nullptr;
    QTimer* tmrSystemtime_ = nullptr;
    QTimer* tmrPlayWave_ = nullptr;
    QGroupBox* Frame1_ = nullptr;
    QLabel* lblCurrentName_ = nullptr;
    QLabel* lblStarttime_ = nullptr;
    QLabel* lblDuration_ = nullptr;
    QLabel* lblCurrentTelFee_ = nullptr;
    QLabel* lblCurrentNetFee_ = nullptr;
    QLabel* lblTotalPrice_ = nullptr;
    std::array<QRadioButton*, 4> otnSelectDay_{};
    QLabel* lblStartDate_ = nullptr;
    QLabel* lblTotalTime_ = nullptr;
    QLabel* lblConnectionTimes_ = nullptr;
    QLabel* lblTotalCost_ = nullptr;
    QLabel* lblNetFee_ = nullptr;
    QLabel* lblTelfee_ = nullptr;
    QLabel* panel1Icon_ = nullptr;
    QLabel* panel1_ = nullptr;
    QLabel* panel2_ = nullptr;
    QToolBar* Toolbar1_ = nullptr;
    std::array<QAction*, 8> toolButtons_{};  // 1-based, as the toolbar counts them
    QAction* mnuVDialup_ = nullptr;
    QAction* mnuVHangup_ = nullptr;
    QAction* mnuAutoHide_ = nullptr;
    QAction* mnuPlayWave_ = nullptr;
    QMenu* mnuPopupmenu_ = nullptr;
    QAction* mnuConnectedTime_ = nullptr;
    QAction* mnuflag2_ = nullptr;
    QMenu* mnuDial_ = nullptr;
    std::array<QAction*, 7> mnuProfile_{};      // 1..6
    std::array<QAction*, 7> mnuhalfProfile_{};  // 1..6
    QAction* mnuHangup_ = nullptr;
    QAction* mnuTodayTelHalf_ = nullptr;
    QSystemTrayIcon* tray_ = nullptr;
    QPointer<FrmAlert> alertWindow_;
};

}  // namespace tollix
