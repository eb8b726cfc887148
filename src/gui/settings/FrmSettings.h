#pragma once

#include <QMainWindow>

#include "gui/settings/AlertBox.h"
#include "gui/settings/SettingsContext.h"
#include "meter/SettingsEditor.h"

class QTabWidget;
class QToolBar;

namespace tollix {

class AlertPage;
class Clock;
class DialupService;
class NetFeePage;
class ResetPage;
class SoundPlayer;
class TelFeePage;
struct Program;

// The settings window "设置中心": the internet tariff of each connection, the
// telephone tariff, the three alerts, the reset days with the connect delay,
// and the zeroing of the statistics. There is no OK button: every edit goes to
// the program's settings and to tollix.ini at once, so a tariff changed here
// prices the next minute or call unit of a connection already in progress.
//
// object name      member
// frmSettings      this
// Toolbar1         toolbar_
// SSTab1           tabs_
// SSTab1_0 .. _3   netFeePage_, telFeePage_, alertPage_, resetPage_
class FrmSettings : public QMainWindow {
    Q_OBJECT
public:
    FrmSettings(Program& program, DialupService& dialup, const Clock& clock, SoundPlayer& sound,
        QWidget* parent = nullptr);
    ~FrmSettings() override;

    void SetFileChooser(SoundFileChooser chooser);

signals:
    // A today-discount switch changed.
    void tariffsChanged();
    void periodZeroed(int period);
    void closed();
    void helpRequested();

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // After a write the file refused, the controls show what memory holds again.
    void ShowHeldValues();

    SettingsEditor editor_;
    SaveFailureNotice* saveFailures_;
    SettingsContext context_;
    QToolBar* toolbar_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    NetFeePage* netFeePage_ = nullptr;
    TelFeePage* telFeePage_ = nullptr;
    AlertPage* alertPage_ = nullptr;
    ResetPage* resetPage_ = nullptr;
};

}  // namespace tollix
