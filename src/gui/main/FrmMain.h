#pragma once

#include <set>
#include <string>

#include <QMainWindow>
#include <QMessageBox>

#include "alerts/AlertMonitor.h"
#include "dialup/DialupService.h"
#include "meter/ConnectionSession.h"
#include "meter/SettingsEditor.h"

class QLabel;
class QTimer;

namespace tollix {

class Clock;
class DialupService;
class MainCommands;
class MainTray;
class SaveFailureNotice;
class SessionBox;
class SoundPlayer;
class TotalsBox;
struct Program;

// The main window: the connection that is up (or was last up), the totals of the
// chosen period, the commands, the tray icon, and the one-second monitor tick
// that drives the connection session. Other windows are opened by whoever
// listens to its requests.
//
// object name            member
// FrmMain                this
// Frame1                 sessionBox_
// Frame2                 totalsBox_
// StatusBar1_Picture1    stateIcon_
// StatusBar1_Panel1      stateText_
// StatusBar1_Panel2      clockText_
// StatusBar1_Panel3      dataText_ (data the connection has moved)
// tmrStartOnce           startHideTimer_
// tmrSystemtime          monitorTimer_
// tmrPlayWave            alertTimer_
// (menus, toolbar)       commands_ (see MainCommands)
// TrayIcon               tray_ (see MainTray)
class FrmMain : public QMainWindow {
    Q_OBJECT
public:
    FrmMain(Program& program, DialupService& dialup, const Clock& clock, SoundPlayer& sound,
        QWidget* parent = nullptr);
    ~FrmMain() override;

    // Start-up: tray icon, check marks, statistics opened and rolled over.
    // False (after telling the user) when the program cannot go on.
    bool Start();

    // The one orderly way out. Asks while a connection is up; false when the
    // user chose to stay.
    bool EndProgram();
    // Ended by the system: the open session is recorded as if the line dropped.
    void EndBySystem();

    // The monitor's tick: the line's state, the session, the texts.
    void OnMonitorTick();
    // The alert timer's check of the limits while a line is up.
    void OnAlertCheck();

    // What other windows changed, told by the window registry.
    void ShowTotals(int period);
    void OnPeriodZeroed(int period);
    void ShowTariffSwitches();
    void RestoreMainWindow();
    // Out of sight while another window is used: to the tray, or minimised
    // where there is no tray to come back from.
    void HideMainWindow();

signals:
    void SessionEnded();
    void settingsRequested();
    void historyRequested();
    void chartsRequested();
    void dialRequested();
    void helpRequested();
    void aboutRequested();
    void alertRequested(const QString& text);

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void BuildWindow();
    void ConnectCommands();
    void OnStartedOnce();
    void OnTrayChanged(bool available);
    void ShowStartedState();
    void ShowEndedState();
    void ShowLineState(bool connected);
    void ShowClock();
    void ShowDataUsed(const LinkInfo& link);
    void HangUpCommand();
    void DialEntry(int index);
    void SetStartFlag(Setting key, bool on, bool& held);
    void SetTelephoneDiscount(bool on);
    void SetConnectionDiscount(int index, bool on);
    void ShowNotice(const QString& text, QMessageBox::Icon icon);
    // A repair or a clock set back found in the statistics, said once.
    void ShowStatisticsNotice();
    void ShowArchiveNotice();

    Program& program_;
    DialupService& dialup_;
    const Clock& clock_;
    SoundPlayer& sound_;
    ConnectionSession session_;
    AlertMonitor alerts_;
    SettingsEditor editor_;
    bool ending_ = false;
    // Auto-hide was due at start-up while there was no tray to hide to.
    bool autoHidePending_ = false;
    // Connection names already looked up in the phonebook for a tariff of their
    // own, so an unknown name costs one look-up, not one a tick.
    std::set<std::string> lateTariffNames_;

    QTimer* startHideTimer_ = nullptr;
    QTimer* monitorTimer_ = nullptr;
    QTimer* alertTimer_ = nullptr;
    SessionBox* sessionBox_ = nullptr;
    TotalsBox* totalsBox_ = nullptr;
    QLabel* stateIcon_ = nullptr;
    QLabel* stateText_ = nullptr;
    QLabel* clockText_ = nullptr;
    QLabel* dataText_ = nullptr;
    MainCommands* commands_ = nullptr;
    MainTray* tray_ = nullptr;
    SaveFailureNotice* saveFailures_ = nullptr;
};

}  // namespace tollix
