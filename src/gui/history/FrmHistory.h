#pragma once

#include <QMainWindow>
#include <array>
#include <cstdint>
#include <functional>
#include <vector>

#include "history/ConnectionLogEntry.h"

class QAction;
class QComboBox;
class QLabel;
class QTableWidget;
class QToolBar;

namespace tollix {

class Clock;
class FrmMain;
struct Program;

// The history window: the connection log in a grid, newest first, with a totals
// row, filtered by connection and period; it also sets how many lines the log
// keeps, prints the list and deletes the log.
class FrmHistory : public QMainWindow {
    Q_OBJECT
public:
    // `onReturn` runs when the user leaves with "返回" (the main window shows
    // itself again); closing by the title bar does not run it.
    FrmHistory(
        Program& program, const Clock& clock, std::function<void()> onReturn, QWidget* parent = nullptr);

    // Loads the log with every connection and period and fills the controls.
    // Call once the window is shown, so that a message about a damaged log
    // has the window behind it.
    void Form_Load();

    // Reads the log (which trims and rewrites time.txt), filters it and keeps the
    // result as the shown entries. A negative index counts as 0.
    void Load(int16_t& connectionIndex, int16_t& period);
    // Status bar, grid and totals from the shown entries.
    void FillGrid();

    void cboRASname_Click();
    void cboShowTime_Click();
    void cboLastItem_Click();
    void Toolbar1_ButtonClick(const QString& caption);

    const std::vector<ConnectionLogEntry>& ShownEntries() const { return entries_; }

private:
    void BuildWindow();
    void SetComboIndex(QComboBox* combo, int index);
    void SetLogNumber(int16_t logNumber);
    int TwipsToPixelsX(int twips) const;
    int TwipsToPixelsY(int twips) const;

    Program& program_;
    const Clock& clock_;
    std::function<void()> onReturn_;

    std::vector<ConnectionLogEntry> entries_;
    int16_t count_ = 0;
    int16_t period_ = 0;
    // Entries the log held at the last load, before filtering: a shorter log
    // length is only taken without asking when it loses none of them.
    size_t logCount_ = 0;

    QToolBar* Toolbar1_ = nullptr;
    std::array<QAction*, 4> toolButtons_{};
    QTableWidget* MSFlexGrid1_ = nullptr;
    QComboBox* cboRASname_ = nullptr;
    QComboBox* cboShowTime_ = nullptr;
    QComboBox* cboLastItem_ = nullptr;
    QLabel* Label1_ = nullptr;
    QLabel* Label2_ = nullptr;
    QLabel* panel1_ = nullptr;
};

// Menu and toolbar command of the main window: hides it and shows the one
// history window (not modal); "返回" brings the main window back.
void ShowHistoryWindow(FrmMain& main);

}  // namespace tollix
