#pragma once

#include <QDialog>

class QLabel;
class QTimer;

namespace tollix {

// The warning shown when a day, week or month limit is passed. It closes itself
// after ten seconds.
//
// object name    member
// frmAlert       this
// lblAlertText   text_
// tmrAlert       closeTimer_
class FrmAlert : public QDialog {
    Q_OBJECT
public:
    explicit FrmAlert(const QString& alertText, QWidget* parent = nullptr);

private:
    QLabel* text_ = nullptr;
    QTimer* closeTimer_ = nullptr;
};

}  // namespace tollix
