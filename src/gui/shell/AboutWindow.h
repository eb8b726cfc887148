#pragma once

#include <QWidget>

class QLabel;
class QPushButton;

namespace tollix {

// The about window: the program's picture, its date, and the support address
// as a link that opens a new mail. Not modal; closed with 退出.
//
// object name   member
// frmAbout      this
// Image1        picture_
// Label1        date_
// Label8        mailCaption_
// Label2        mailAddress_
// cmdExit       exitButton_
class AboutWindow : public QWidget {
    Q_OBJECT
public:
    explicit AboutWindow(QWidget* parent = nullptr);

    void Close();
    void OpenMail();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* picture_;
    QLabel* date_;
    QLabel* mailCaption_;
    QLabel* mailAddress_;
    QPushButton* exitButton_;
};

}  // namespace tollix
