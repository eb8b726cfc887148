#pragma once

#include <QGroupBox>
#include <array>

class QLabel;
class QRadioButton;

namespace tollix {

struct Program;

// The main window's lower box "合计": the totals of the period the user picks.
//
// object name            member
// Frame2                 this
// otnSelectDay_0 .. _3   periodOptions_ (today, week, month, all time)
// lblStartDate           startDate_
// lblTotalTime           totalTime_
// lblConnectionTimes     connections_
// lblTotalCost           totalCost_
// lblNetFee              netFee_
// lblTelfee              telFee_
class TotalsBox : public QGroupBox {
    Q_OBJECT
public:
    explicit TotalsBox(QWidget* parent = nullptr);

    // The totals of a period (0 today .. 3 all time); other periods show nothing new.
    void Show(const Program& program, int period);

signals:
    void periodChosen(int period);

private:
    std::array<QRadioButton*, 4> periodOptions_{};
    QLabel* startDate_ = nullptr;
    QLabel* totalTime_ = nullptr;
    QLabel* connections_ = nullptr;
    QLabel* totalCost_ = nullptr;
    QLabel* netFee_ = nullptr;
    QLabel* telFee_ = nullptr;
};

}  // namespace tollix
