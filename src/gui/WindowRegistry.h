#pragma once

#include <QObject>
#include <QPointer>
#include <memory>

class QWidget;

namespace tollix {

class AboutWindow;
class Clock;
class DialupService;
class FrmAlert;
class FrmDialUp;
class FrmHistory;
class FrmMain;
class FrmSettings;
class HelpWindow;
class SoundPlayer;
struct Program;

// The one place that knows every window: it creates the single instances,
// shows and hides them, and connects what one window says happened to the
// windows that show it. Windows never open one another; this is the only way
// a window opens.
class WindowRegistry : public QObject {
    Q_OBJECT
public:
    WindowRegistry(Program& program, DialupService& dialup, const Clock& clock, SoundPlayer& sound);
    ~WindowRegistry() override;

    // The main window, created on first use; its commands open the others.
    FrmMain& Main();

    // The settings window: the main window hides while it is open.
    FrmSettings* OpenSettings();
    // The history window (not modal): the main window goes out of sight, "返回" brings it back.
    FrmHistory* OpenHistory();
    // The dial dialog, raised when it is already open.
    FrmDialUp* OpenDial();
    // The usage charts, read anew from the archive each time they are asked for;
    // null, after telling the user, when their module cannot be loaded.
    QWidget* OpenCharts();
    // The warning of a passed limit; one already up stays as it is.
    FrmAlert* ShowAlert(const QString& text);

    // The help and about windows need nothing of the engine: one each for the
    // whole program, placed near the window that asked the first time.
    static HelpWindow* ShowHelp(QWidget* near = nullptr);
    static AboutWindow* ShowAbout(QWidget* near = nullptr);

private:
    void RestoreMain();

    Program& program_;
    DialupService& dialup_;
    const Clock& clock_;
    SoundPlayer& sound_;
    std::unique_ptr<FrmMain> main_;
    QPointer<FrmSettings> settings_;
    QPointer<FrmHistory> history_;
    QPointer<FrmDialUp> dial_;
    QPointer<FrmAlert> alert_;
    QPointer<QWidget> charts_;
};

}  // namespace tollix
