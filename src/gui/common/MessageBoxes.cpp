#include "gui/common/MessageBoxes.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

namespace tollix {

namespace {

const char* const kOk = QT_TRANSLATE_NOOP("MessageBoxes", "确定");

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
    for (const auto& b : buttons)
        standard |= b.button;
    box.setStandardButtons(standard);
    for (const auto& b : buttons)
        box.button(b.button)->setText(QCoreApplication::translate("MessageBoxes", b.text));
    box.setDefaultButton(buttons.begin()->button);
    box.setEscapeButton(escape);
    const int answer = box.exec();
    // A box closed by the window manager reports the escape button.
    for (const auto& b : buttons)
        if (answer == b.button)
            return answer;
    return escape;
}

// With TOLLIX_MESSAGE_LOG=<file> set, every message box the program shows, modal
// or not, is appended to that file as one JSON line {"name", "title", "text"}.
// Black-box tests read exactly what the user was told without answering boxes
// on a screen nobody sees.
class MessageLogger : public QObject {
public:
    explicit MessageLogger(QString path)
        : QObject(QCoreApplication::instance())
        , path_(std::move(path))
    { }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show)
            if (auto* box = qobject_cast<QMessageBox*>(watched))
                Append(*box);
        return false;
    }

private:
    void Append(const QMessageBox& box)
    {
        QFile file(path_);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
            return;
        const QJsonObject entry{
            {"name", box.objectName()}, {"title", box.windowTitle()}, {"text", box.text()}};
        file.write(QJsonDocument(entry).toJson(QJsonDocument::Compact) + '\n');
    }

    QString path_;
};

void InstallMessageLogger()
{
    const QString path = qEnvironmentVariable("TOLLIX_MESSAGE_LOG");
    if (!path.isEmpty())
        QCoreApplication::instance()->installEventFilter(new MessageLogger(path));
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(InstallMessageLogger)

int AskOkCancel(QWidget* parent, const QString& title, const QString& text, QMessageBox::Icon icon)
{
    return Run(parent, title, text, icon,
        {{QMessageBox::Ok, kOk}, {QMessageBox::Cancel, QT_TRANSLATE_NOOP("MessageBoxes", "取消")}},
        QMessageBox::Cancel);
}

bool AskYesNo(QWidget* parent, const QString& title, const QString& text, QMessageBox::Icon icon)
{
    return Run(parent, title, text, icon,
               {{QMessageBox::Yes, QT_TRANSLATE_NOOP("MessageBoxes", "是")},
                   {QMessageBox::No, QT_TRANSLATE_NOOP("MessageBoxes", "否")}},
               QMessageBox::No)
        == QMessageBox::Yes;
}

QString OkButtonText()
{
    return QCoreApplication::translate("MessageBoxes", kOk);
}

void ShowMessage(QWidget* parent, const QString& title, const QString& text, QMessageBox::Icon icon)
{
    Run(parent, title, text, icon, {{QMessageBox::Ok, kOk}}, QMessageBox::Ok);
}

}  // namespace tollix
