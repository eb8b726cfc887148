#pragma once

class QTableWidget;
class QWidget;

namespace tollix {

// Prints the grid on the default printer: the title "上网历史记录" on the first
// page, the rows in bands that fit the page, centred, and "第 N 页" at the foot
// of every page. With TOLLIX_PRINT_TO_PDF=FILE set, the pages go into that PDF
// file instead (tests, and a desktop without a printer).
// No printer or a printer fault: tells the user and returns false; the grid is
// left as it was. The printing itself is in libtollix_print.so, loaded by the
// first print (see LateModule.h).
bool PrintGrid(const QTableWidget& grid, QWidget* messageParent);

}  // namespace tollix
