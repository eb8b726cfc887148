#pragma once

#include <QString>
#include <functional>
#include <string_view>

#include "config/ProfileWriteResult.h"

class QHBoxLayout;
class QLineEdit;
class QWidget;

namespace tollix {

struct SettingsContext;

// Small builders the settings pages share.
QLineEdit* TextBox(const char* name, const QString& initial, QWidget* parent);
// "before [box] after", kept to the left.
QHBoxLayout* LabelledRow(const QString& before, QWidget* box, const QString& after, QWidget* parent);
// Records the user's edits of a text box; the texts the window fills in are not.
void OnUserEdit(SettingsContext& context, QLineEdit* box,
    std::function<ProfileWriteResult(std::string_view text)> record);

}  // namespace tollix
