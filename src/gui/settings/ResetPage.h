#pragma once

#include <QWidget>
#include <array>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace tollix {

class DialupService;
struct SettingsContext;

// The tab "置零设置": the days the week and month totals start again, the
// connect delay, and zeroing a period now.
//
// object name              member
// SSTab1_3                 this
// cboResetWeek             weekDay_
// txtResetMonth            monthDay_
// txtAddSecond             connectDelay_
// cmdReset_0 .. _3         zeroButtons_ (today, week, month, all time)
class ResetPage : public QWidget {
    Q_OBJECT
public:
    ResetPage(SettingsContext& context, DialupService& dialup, QWidget* parent = nullptr);

    void Fill();
    // Asks, then zeroes period 0 today .. 3 all time, in memory and in Price.DB.
    void ZeroPeriod(int period);

signals:
    void periodZeroed(int period);

private:
    SettingsContext& context_;
    DialupService& dialup_;
    QComboBox* weekDay_ = nullptr;
    QLineEdit* monthDay_ = nullptr;
    QLineEdit* connectDelay_ = nullptr;
    std::array<QPushButton*, 4> zeroButtons_{};
};

}  // namespace tollix
