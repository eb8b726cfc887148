#pragma once

#include <QWidget>
#include <array>

#include "gui/settings/AlertBox.h"

namespace tollix {

class SoundPlayer;
struct SettingsContext;

// The tab "报警设置": the day's, the week's and the month's alert.
//
// object name            member
// SSTab1_2               this
// fraAlert_0 .. _2       alerts_
class AlertPage : public QWidget {
    Q_OBJECT
public:
    AlertPage(SettingsContext& context, SoundPlayer& sound, QWidget* parent = nullptr);

    void Fill();
    // Tests replace the file dialog with one of their own.
    void SetFileChooser(SoundFileChooser chooser) { chooseFile_ = std::move(chooser); }

private:
    SettingsContext& context_;
    SoundFileChooser chooseFile_;
    std::array<AlertBox*, 3> alerts_{};
};

}  // namespace tollix
