#pragma once

#include <QPointer>
#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;

namespace tollix {

class DialupService;
struct Program;

// The dial dialog: pick a phonebook entry and start the dialer for it. One
// entry can be remembered as the one to offer first next time. Not modal; it
// closes itself after dialling.
class FrmDialUp : public QWidget {
    Q_OBJECT
public:
    // `owner` is the window that reports a dialer that could not be started
    // (the dialog itself is gone by then).
    FrmDialUp(Program& program, DialupService& dialup, QWidget* owner = nullptr);

    // The one dialog of the program: created on first use, raised afterwards.
    static FrmDialUp* ShowShared(Program& program, DialupService& dialup, QWidget* owner);

    void Form_Load();
    void cboRasList_Click(int index);
    // Runs on every mouse press on cekSave, before the box changes its state.
    void cekSave_MouseDown();
    void cmdDial_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The list item the combo box text stands for, or -1 when it was edited
    // into something else.
    int ChosenIndex() const;

    Program& program_;
    DialupService& dialup_;
    QPointer<QWidget> owner_;
    QLabel* Label1_ = nullptr;
    QComboBox* cboRasList_ = nullptr;
    QCheckBox* cekSave_ = nullptr;
    QPushButton* cmdDial_ = nullptr;
};

}  // namespace tollix
