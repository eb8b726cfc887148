#pragma once

#include <QTableView>

namespace tollix {

// The history grid's first two rows (the headers and the totals) kept in view
// at the top while the entries scroll under them. A second view of the same
// model lies over the grid: its own header bar shows the column titles (so
// the user can widen a column by dragging it) and its one row the totals.
// The grid's own rows 0 and 1 stay in the model, under this view, for
// printing.
class FixedRows : public QTableView {
    Q_OBJECT
public:
    explicit FixedRows(QTableView* grid);

    // Row heights, column widths and the horizontal scroll taken again from the grid.
    void Follow();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void HideEntryRows();

    QTableView* grid_;
};

}  // namespace tollix
