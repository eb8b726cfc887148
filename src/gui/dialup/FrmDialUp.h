#pragma once

#include <QPointer>
#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;

namespace tollix {

class DialupService;
class SaveFailureNotice;
struct Program;

// The dial dialog: pick a phonebook entry and start the dialer for it. One
// entry can be remembered as the one to offer first next time. Not modal; it
// closes itself after dialling.
//
// object name   member
// frmDialUp     this
// Label1        caption_
// cboRasList    entries_
// cekSave       remember_
// cmdDial       dialButton_
class FrmDialUp : public QWidget {
    Q_OBJECT
public:
    // `owner` is the window that reports a dialer that could not be started
    // (the dialog itself is gone by then).
    FrmDialUp(Program& program, DialupService& dialup, QWidget* owner = nullptr);

    void ListEntries();
    void OnEntryChosen(int index);
    // Runs on every mouse press on cekSave, before the box changes its state.
    void OnRememberPressed();
    void DialChosenEntry();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The list item the combo box text stands for, or -1 when it was edited
    // into something else.
    int ChosenIndex() const;

    Program& program_;
    DialupService& dialup_;
    QPointer<QWidget> owner_;
    SaveFailureNotice* saveFailures_ = nullptr;
    QLabel* caption_ = nullptr;
    QComboBox* entries_ = nullptr;
    QCheckBox* remember_ = nullptr;
    QPushButton* dialButton_ = nullptr;
};

}  // namespace tollix
