#pragma once

#include <QMainWindow>
#include <QString>
#include <array>
#include <functional>
#include <initializer_list>
#include <string_view>
#include <vector>

#include "meter/SettingsEditor.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QToolBar;

namespace tollix {

class Clock;
class DialupService;
class FrmMain;
class SoundPlayer;
struct Program;

// The settings window "设置中心": the internet tariff of each connection, the
// telephone tariff, the three alerts, the reset days with the connect delay,
// and the zeroing of the statistics. There is no OK button: every edit goes to
// the program's settings and to tollix.ini at once, so a tariff changed here
// prices the next minute or call unit of a connection already in progress.
class FrmSettings : public QMainWindow {
    Q_OBJECT
public:
    // `main` is the main window to bring back and refresh; null in tests.
    FrmSettings(Program& program, DialupService& dialup, const Clock& clock, SoundPlayer& sound,
        FrmMain* main, QWidget* parent = nullptr);
    ~FrmSettings() override;

    // Opens the one settings window from the main window's menu or toolbar: the
    // main window hides and this window shows, not modal.
    static void OpenFrom(FrmMain& main, const Clock& clock, SoundPlayer& sound);

    // What "选择" asks for a wave file: the chosen path, or empty when cancelled.
    // Tests replace the file dialog with one of their own.
    using FileChooser = std::function<QString(QWidget* parent, const QString& current)>;
    void SetFileChooser(FileChooser chooser) { chooseFile_ = std::move(chooser); }

    bool FormShown() const { return formShown_; }

    void InitalFeeTab();
    void IniAlertTab();
    void IniResetTab();
    void IniTelTab();
    void ShowConnectionFee(int index);
    void EnableNetFee(bool enabled);
    void EnableFixFee(bool enabled);
    void EnableAlertFrame(int index);

    void cboConnectionName_Click();
    void otnFeetype_Click(int index);
    void cmdSelect_Click(int index);
    void cmdTest_Click(int index);
    void cmdReset_Click(int index);

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // One "折价时间段" frame: the same controls on both fee tabs.
    struct PeriodFrame {
        QGroupBox* frame = nullptr;
        QCheckBox* holiday = nullptr;
        QCheckBox* everyday = nullptr;
        QComboBox* startHour = nullptr;
        QComboBox* startMinute = nullptr;
        QComboBox* endHour = nullptr;
        QComboBox* endMinute = nullptr;
        QCheckBox* saturday = nullptr;
        QCheckBox* sunday = nullptr;
        std::vector<QWidget*> labels;
    };
    struct AlertFrame {
        QGroupBox* frame = nullptr;
        QCheckBox* cekAlert = nullptr;
        QRadioButton* otnExcelTime = nullptr;
        QLineEdit* txtHour = nullptr;
        QRadioButton* otnExcelFee = nullptr;
        QLineEdit* txtAlertFee = nullptr;
        QCheckBox* cekInterval = nullptr;
        QLineEdit* txtMinute = nullptr;
        QLineEdit* txtFile = nullptr;
        QPushButton* cmdSelect = nullptr;
        QPushButton* cmdTest = nullptr;
        std::vector<QWidget*> rowWidgets;   // enabled while the alert is on
        std::vector<QWidget*> pathWidgets;  // enabled while the sound repeats too
    };

    void BuildToolbar();
    QWidget* BuildNetTab();
    QWidget* BuildTelTab();
    QWidget* BuildAlertTab();
    QWidget* BuildResetTab();
    PeriodFrame BuildPeriodFrame(
        const QString& frameName, const QString& prefix, const QString& everydayName);
    QWidget* BuildAlertFrame(int index);

    // The selector's text, the name every edit of tab 0 goes to.
    std::string ConnectionText() const;
    // Shows the period, day and discount choices of a connection or telephone tariff.
    template <typename Tariff> void FillPeriodFrame(const PeriodFrame& f, const Tariff& t);
    // Records the user's edits of a text box; the texts the form fills in are not.
    void OnTextEdited(QLineEdit* box, std::function<void(std::string_view)> record);
    // Enables or disables one fee type's text boxes, their labels and its period frame.
    static void EnableFeeGroup(const PeriodFrame& f, std::initializer_list<QWidget*> boxes,
        const std::vector<QWidget*>& labels, bool enabled);
    void ConnectNetPeriod(const PeriodFrame& f);
    void ConnectTelPeriod(const PeriodFrame& f);
    void ConnectAlertFrame(int index);
    void HolidayChanged();
    void ClearFeeTypeChoice();

    Program& program_;
    DialupService& dialup_;
    const Clock& clock_;
    SoundPlayer& sound_;
    FrmMain* main_;
    SettingsEditor editor_;
    FileChooser chooseFile_;
    bool formShown_ = false;

    QToolBar* Toolbar1_ = nullptr;
    QTabWidget* SSTab1_ = nullptr;

    QComboBox* cboConnectionName_ = nullptr;
    std::array<QRadioButton*, 3> otnFeetype_{};
    QLineEdit* txtNetFee_ = nullptr;
    QLineEdit* txtHalfFee_ = nullptr;
    QLineEdit* txtExcelHour_ = nullptr;
    QLineEdit* txtExcelFee_ = nullptr;
    QLineEdit* txtExcelMinute_ = nullptr;
    QLineEdit* txtFixHalf_ = nullptr;
    PeriodFrame Frame1_, Frame3_, Frame2_;
    std::vector<QWidget*> netLabels_, fixLabels_;

    std::array<QRadioButton*, 2> otnTelUnit_{};
    QLineEdit* txtTelFee_ = nullptr;
    QLineEdit* txtTelHalf_ = nullptr;

    std::array<AlertFrame, 3> alerts_{};

    QComboBox* cboResetWeek_ = nullptr;
    QLineEdit* txtResetMonth_ = nullptr;
    QLineEdit* txtAddSecond_ = nullptr;
    std::array<QPushButton*, 4> cmdReset_{};
};

}  // namespace tollix
