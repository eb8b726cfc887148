#include "gui/settings/PageWidgets.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

#include "gui/settings/SettingsContext.h"

namespace tollix {

QLineEdit* TextBox(const char* name, const QString& initial, QWidget* parent)
{
    auto* box = new QLineEdit(initial, parent);
    box->setObjectName(name);
    return box;
}

QHBoxLayout* LabelledRow(const QString& before, QWidget* box, const QString& after, QWidget* parent)
{
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(before, parent));
    row->addWidget(box);
    row->addWidget(new QLabel(after, parent));
    row->addStretch();
    return row;
}

void OnUserEdit(
    SettingsContext& context, QLineEdit* box, std::function<ProfileWriteResult(std::string_view text)> record)
{
    QObject::connect(
        box, &QLineEdit::textChanged, box, [&context, record = std::move(record)](const QString& text) {
            if (context.recording)
                context.Record(record(text.toStdString()));
        });
}

}  // namespace tollix
