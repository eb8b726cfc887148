#pragma once

#include <QDialog>
#include <functional>

class QTimer;

namespace tollix {

// Shown while the program starts; its timer loads the main window once.
//
// object name   member
// frmSplash     this
// Timer1        loadTimer_
class FrmSplash : public QDialog {
    Q_OBJECT
public:
    explicit FrmSplash(std::function<void()> loadMain, QWidget* parent = nullptr);

private:
    void OnLoadTimer();

    std::function<void()> loadMain_;
    QTimer* loadTimer_ = nullptr;
};

}  // namespace tollix
