#pragma once

#include <QWidget>

class QLabel;
class QPushButton;

namespace tollix {

// The about window: the program's picture, its date, and the support address
// as a link that opens a new mail. Not modal; closed with 退出.
class frmAbout : public QWidget {
    Q_OBJECT
public:
    explicit frmAbout(QWidget* parent = nullptr);

    void cmdExit_Click();
    void Label2_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* image1_;
    QLabel* label1_;
    QLabel* label8_;
    QLabel* label2_;
    QPushButton* cmdExit_;
};

}  // namespace tollix
