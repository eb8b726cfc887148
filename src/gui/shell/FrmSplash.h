#pragma once

#include <QDialog>
#include <functional>

class QTimer;

namespace tollix {

// Shown while the program starts; its timer loads the main window once.
class FrmSplash : public QDialog {
    Q_OBJECT
public:
    explicit FrmSplash(std::function<void()> loadMain, QWidget* parent = nullptr);

private:
    void Timer1_Timer();

    std::function<void()> loadMain_;
    QTimer* Timer1_ = nullptr;
};

}  // namespace tollix
