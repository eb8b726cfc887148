#pragma once

#include <QWidget>
#include <array>
#include <string>
#include <vector>

class QComboBox;
class QHBoxLayout;
class QLineEdit;
class QRadioButton;

namespace tollix {

class DiscountPeriodBox;
struct SettingsContext;

// The tab "上网费设置": the internet tariff of the connection the selector
// names, per minute or rated hours, each group with its discount period.
//
// object name              member
// SSTab1_0                 this
// cboConnectionName        connections_
// otnFeetype_0 .. _2       feeTypes_ (free, per minute, rated hours)
// txtNetFee, txtHalfFee    fullFee_, halfFee_
// Frame1                   minutePeriod_
// txtExcelHour             ratedHours_
// txtExcelFee              ratedFee_
// txtExcelMinute           beyondFee_
// txtFixHalf               ratedHalfFee_
// Frame3                   ratedPeriod_
class NetFeePage : public QWidget {
    Q_OBJECT
public:
    NetFeePage(SettingsContext& context, QWidget* parent = nullptr);

    // Lists the connections and shows the first one.
    void Fill();
    // Shows the tariff of connection `index` (1-based); other indexes change nothing.
    void ShowConnectionFee(int index);
    // The tariff of the connection the selector names.
    void ShowChosenConnection();

signals:
    // A today-discount switch changed: the main window's menu shows them too.
    void holidayChanged();

private:
    void BuildMinuteGroup(QHBoxLayout* columns);
    void BuildRatedGroup(QHBoxLayout* columns);
    void ConnectPeriodBox(DiscountPeriodBox* box);
    void OnFeeTypeChosen(int feeType);
    void EnableMinuteGroup(bool enabled);
    void EnableRatedGroup(bool enabled);
    void ClearFeeTypeChoice();
    // The selector's text, the name every edit of the tab goes to.
    std::string ConnectionText() const;

    SettingsContext& context_;
    QComboBox* connections_ = nullptr;
    std::array<QRadioButton*, 3> feeTypes_{};
    QLineEdit* fullFee_ = nullptr;
    QLineEdit* halfFee_ = nullptr;
    DiscountPeriodBox* minutePeriod_ = nullptr;
    std::vector<QWidget*> minuteCaptions_;
    QLineEdit* ratedHours_ = nullptr;
    QLineEdit* ratedFee_ = nullptr;
    QLineEdit* beyondFee_ = nullptr;
    QLineEdit* ratedHalfFee_ = nullptr;
    DiscountPeriodBox* ratedPeriod_ = nullptr;
    std::vector<QWidget*> ratedCaptions_;
};

}  // namespace tollix
