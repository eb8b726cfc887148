#include "gui/main/ValueRows.h"

#include <QGridLayout>
#include <QLabel>

namespace tollix {

void AddValueRows(
    QGridLayout* grid, QWidget* parent, const char* captionName, std::initializer_list<ValueRow> rows)
{
    int i = 0;
    for (const ValueRow& row : rows) {
        auto* caption = new QLabel(row.caption, parent);
        if (captionName)
            caption->setObjectName(QString("%1_%2").arg(captionName).arg(i));
        auto* value = new QLabel(parent);
        value->setObjectName(row.name);
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        value->setMinimumWidth(260);
        *row.label = value;
        grid->addWidget(caption, i, 0, Qt::AlignRight);
        grid->addWidget(value, i, 1);
        ++i;
    }
}

}  // namespace tollix
