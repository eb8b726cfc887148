#include "shell/MessageBoxes.h"

#include <QAbstractButton>

namespace tollix {

namespace {

struct ButtonText {
    QMessageBox::StandardButton button;
    const char* text;
};

int Run(QWidget* parent, const QString& title, const QString& text, QMessageBox::Icon icon,
        std::initializer_list<ButtonText> buttons, QMessageBox::StandardButton escape)
{
    QMessageBox box(parent);
    box.setObjectName(QStringLiteral("msgBox"));
    box.setWindowTitle(title);
    // Texts joined with carriage returns (as some messages are) still break lines.
    QString lines = text;
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    box.setText(lines);
    box.setTextFormat(Qt::PlainText);
    box.setIcon(icon);
    QMessageBox::StandardButtons standard;
    for (const auto& b : buttons) standard |= b.button;
    box.setStandardButtons(standard);
    for (const auto& b : buttons) box.button(b.button)->setText(QString::fromUtf8(b.text));
    box.setDefaultButton(buttons.begin()->button);
    box.setEscapeButton(escape);
    const int answer = box.exec();
    // A box closed by the window manager reports the escape button.
    for (const auto& b : buttons)
        if (answer == b.button) return answer;
    return escape;
}

}  // namespace

int AskOkCancel(QWidget* parent, const QString& title, const QString& text, QMessageBox::Icon icon)
{
    return Run(parent, title, text, icon, {{QMessageBox::Ok, "确定"}, {QMessageBox::Cancel, "取消"}},
               QMessageBox::Cancel);
}

bool AskYesNo(QWidget* parent, const QString& title, const QString& text, QMessageBox::Icon icon)
{
    return Run(parent, title, text, icon, {{QMessageBox::Yes, "是"}, {QMessageBox::No, "否"}},
               QMessageBox::No) == QMessageBox::Yes;
}

void ShowMessage(QWidget* parent, const QString& title, const QString& text, QMessageBox::Icon icon)
{
    Run(parent, title, text, icon, {{QMessageBox::Ok, "确定"}}, QMessageBox::Ok);
}

}  // namespace tollix
