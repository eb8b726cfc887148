#pragma once

#include <QGroupBox>
#include <functional>
#include <vector>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace tollix {

class SoundPlayer;
struct AlertSetting;
struct SettingsContext;

// What "选择" asks for a wave file: the chosen path, or empty when cancelled.
using SoundFileChooser = std::function<QString(QWidget* parent, const QString& current)>;

// One alert of the tab "报警设置": the day's (0), the week's (1) or the month's (2).
//
// object name (suffix _index)   member
// fraAlert                      this
// cekAlert                      on_
// otnExcelTime, txtHour         byTime_, hours_
// otnExcelFee, txtAlertFee      byFee_, fee_
// cekInterval, txtMinute        repeat_, minutes_
// txtFile, cmdSelect, cmdTest   file_, select_, test_
class AlertBox : public QGroupBox {
    Q_OBJECT
public:
    AlertBox(int index, SettingsContext& context, const SoundFileChooser& chooseFile, SoundPlayer& sound,
        QWidget* parent = nullptr);

    void Fill(const AlertSetting& alert);

private:
    void Build();
    void ConnectEdits();
    // The thresholds while the alert is on, the sound file while it repeats too.
    void EnableRows();
    void ChooseFile();
    void PlayFile();

    const int index_;
    SettingsContext& context_;
    const SoundFileChooser& chooseFile_;
    SoundPlayer& sound_;
    QCheckBox* on_ = nullptr;
    QRadioButton* byTime_ = nullptr;
    QLineEdit* hours_ = nullptr;
    QRadioButton* byFee_ = nullptr;
    QLineEdit* fee_ = nullptr;
    QCheckBox* repeat_ = nullptr;
    QLineEdit* minutes_ = nullptr;
    QLineEdit* file_ = nullptr;
    QPushButton* select_ = nullptr;
    QPushButton* test_ = nullptr;
    std::vector<QWidget*> rowWidgets_;
    std::vector<QWidget*> pathWidgets_;
};

}  // namespace tollix
