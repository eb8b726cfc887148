#pragma once

#include <QString>
#include <initializer_list>

class QGridLayout;
class QLabel;
class QWidget;

namespace tollix {

struct ValueRow {
    QString caption;
    const char* name;
    QLabel** label;
};

// A column of fixed captions with their value labels beside them; the value
// labels take the given object names, the captions `captionName`_0, _1, …
// when one is given.
void AddValueRows(
    QGridLayout* grid, QWidget* parent, const char* captionName, std::initializer_list<ValueRow> rows);

}  // namespace tollix
