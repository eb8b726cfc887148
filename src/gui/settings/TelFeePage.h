#pragma once

#include <QWidget>
#include <array>

class QLineEdit;
class QRadioButton;

namespace tollix {

class DiscountPeriodBox;
struct SettingsContext;

// The tab "电话费设置": the call unit, the fee per unit and its discount period.
//
// object name                  member
// SSTab1_1                     this
// otnTelUnit_0, otnTelUnit_1   units_ (one minute, three minutes)
// txtTelFee, txtTelHalf        fullFee_, halfFee_
// Frame2                       period_
class TelFeePage : public QWidget {
    Q_OBJECT
public:
    TelFeePage(SettingsContext& context, QWidget* parent = nullptr);

    void Fill();

signals:
    void holidayChanged();

private:
    SettingsContext& context_;
    std::array<QRadioButton*, 2> units_{};
    QLineEdit* fullFee_ = nullptr;
    QLineEdit* halfFee_ = nullptr;
    DiscountPeriodBox* period_ = nullptr;
};

}  // namespace tollix
