#include "gui/history/FixedRows.h"

#include <QEvent>
#include <QHeaderView>
#include <QScrollBar>

namespace tollix {

FixedRows::FixedRows(QTableView* grid)
    : QTableView(grid)
    , grid_(grid)
{
    setObjectName("MSFlexGrid1_FixedRows");
    setModel(grid->model());
    setFocusPolicy(Qt::NoFocus);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::NoSelection);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollMode(grid->horizontalScrollMode());
    setFrameShape(QFrame::NoFrame);
    setWordWrap(false);
    verticalHeader()->hide();
    horizontalHeader()->setMinimumSectionSize(1);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setHighlightSections(false);

    // A column widened here widens the grid's, and the other way round.
    connect(horizontalHeader(), &QHeaderView::sectionResized, grid,
        [grid](int column, int, int size) { grid->setColumnWidth(column, size); });
    connect(grid->horizontalHeader(), &QHeaderView::sectionResized, this, [this](int column, int, int size) {
        setColumnWidth(column, size);
        Follow();
    });
    connect(grid->verticalHeader(), &QHeaderView::sectionResized, this, [this] { Follow(); });
    connect(
        grid->horizontalScrollBar(), &QScrollBar::valueChanged, horizontalScrollBar(), &QScrollBar::setValue);
    connect(model(), &QAbstractItemModel::rowsInserted, this, [this] { HideEntryRows(); });
    connect(model(), &QAbstractItemModel::modelReset, this, [this] { HideEntryRows(); });
    grid->installEventFilter(this);
    HideEntryRows();
    Follow();
}

void FixedRows::HideEntryRows()
{
    const int rows = model()->rowCount();
    for (int r = 0; r < rows; ++r)
        setRowHidden(r, r != 1);
}

void FixedRows::Follow()
{
    const int headerHeight = grid_->rowHeight(0);
    horizontalHeader()->setFixedHeight(headerHeight);
    setRowHeight(1, grid_->rowHeight(1));
    for (int c = 0; c < model()->columnCount(); ++c)
        if (columnWidth(c) != grid_->columnWidth(c))
            setColumnWidth(c, grid_->columnWidth(c));
    const int frame = grid_->frameWidth();
    setGeometry(frame, frame, grid_->viewport()->width(), headerHeight + grid_->rowHeight(1));
    horizontalScrollBar()->setValue(grid_->horizontalScrollBar()->value());
    raise();
}

bool FixedRows::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == grid_ && (event->type() == QEvent::Resize || event->type() == QEvent::LayoutRequest))
        Follow();
    return QTableView::eventFilter(watched, event);
}

}  // namespace tollix
