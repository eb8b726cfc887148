#pragma once

#include <QMessageBox>
#include <QString>

class QWidget;

namespace tollix {

// Message boxes with the program's own button texts (确定 / 取消 / 是 / 否, or
// their English when English is in use), whatever Qt's own translation says.
//
// Every box is modal and has the objectName "msgBox". Tests answer one by
// arming a timer before the call that opens it, e.g.
//     QTimer::singleShot(0, [] {
//         auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
//         box->button(QMessageBox::Ok)->click();   // or Cancel / Yes / No
//     });
// The standard button roles are kept, so QMessageBox::button() finds them.

// Returns QMessageBox::Ok or QMessageBox::Cancel (closing the box is Cancel).
int AskOkCancel(
    QWidget* parent, const QString& title, const QString& text, QMessageBox::Icon icon = QMessageBox::NoIcon);

// True for 是, false for 否 or a closed box.
bool AskYesNo(QWidget* parent, const QString& title, const QString& text,
    QMessageBox::Icon icon = QMessageBox::Question);

// The text of the OK button, for boxes built elsewhere.
QString OkButtonText();

// A box with only 确定.
void ShowMessage(
    QWidget* parent, const QString& title, const QString& text, QMessageBox::Icon icon = QMessageBox::NoIcon);

}  // namespace tollix
