#pragma once

#include <QMainWindow>
#include <array>
#include <cstdint>
#include <vector>

#include "history/ConnectionLogEntry.h"

class QAction;
class QComboBox;
class QLabel;
class QTableWidget;
class QToolBar;

namespace tollix {

class Clock;
class SaveFailureNotice;
struct Program;

// The history window: the connection log in a grid, newest first, with a totals
// row, filtered by connection and period; it also sets how many lines the log
// keeps, prints the list and deletes the log.
//
// object name         member
// frmHistory          this
// Toolbar1            toolbar_
// MSFlexGrid1         grid_
// cboRASname          connectionFilter_
// Label2, cboShowTime periodCaption_, periodFilter_
// Label1, cboLastItem logLengthCaption_, logLength_
// StatusBar1_Panel1   countText_
class FrmHistory : public QMainWindow {
    Q_OBJECT
public:
    FrmHistory(Program& program, const Clock& clock, QWidget* parent = nullptr);

    // Loads the log with every connection and period and fills the controls.
    // Call once the window is shown, so that a message about a damaged log
    // has the window behind it.
    void Start();

    // Reads the log (which trims and rewrites time.txt), filters it and keeps the
    // result as the shown entries. A negative index counts as 0.
    void Load(int16_t& connectionIndex, int16_t& period);
    // Status bar, grid and totals from the shown entries.
    void FillGrid();

    void OnConnectionChosen();
    void OnPeriodChosen();
    void OnLogLengthChosen();
    void OnToolButton(const QString& caption);

signals:
    // The user left with "返回"; closing by the title bar is no return.
    void returned();
    void helpRequested();
    void chartsRequested();

public:
    const std::vector<ConnectionLogEntry>& ShownEntries() const { return entries_; }

private:
    void BuildWindow();
    void ExportShown();
    void SetComboIndex(QComboBox* combo, int index);
    // False (the user told, the choice undone) when the file did not take it.
    bool SetLogNumber(int16_t logNumber);
    int TwipsToPixelsX(int twips) const;
    int TwipsToPixelsY(int twips) const;

    Program& program_;
    const Clock& clock_;
    SaveFailureNotice* saveFailures_ = nullptr;

    std::vector<ConnectionLogEntry> entries_;
    int16_t count_ = 0;
    int16_t period_ = 0;
    // Entries the log held at the last load, before filtering: a shorter log
    // length is only taken without asking when it loses none of them.
    size_t logCount_ = 0;

    QToolBar* toolbar_ = nullptr;
    QTableWidget* grid_ = nullptr;
    QComboBox* connectionFilter_ = nullptr;
    QComboBox* periodFilter_ = nullptr;
    QComboBox* logLength_ = nullptr;
    QLabel* logLengthCaption_ = nullptr;
    QLabel* periodCaption_ = nullptr;
    QLabel* countText_ = nullptr;
};

}  // namespace tollix
