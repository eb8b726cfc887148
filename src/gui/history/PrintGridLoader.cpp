#include <QCoreApplication>

#include "gui/common/LateModule.h"
#include "gui/common/MessageBoxes.h"
#include "gui/history/PrintGrid.h"

namespace tollix {

bool PrintGrid(const QTableWidget& grid, QWidget* messageParent)
{
    using PrintFunction = bool (*)(const QTableWidget&);
    QString error;
    auto print
        = reinterpret_cast<PrintFunction>(LateModuleFunction("tollix_print", "TollixPrintGrid", &error));
    if (!print) {
        ShowMessage(messageParent, "Tollix",
            QCoreApplication::translate("PrintGrid", "无法载入打印模块：%1。请重新安装 Tollix。").arg(error),
            QMessageBox::Warning);
        return false;
    }
    if (print(grid))
        return true;
    ShowMessage(messageParent, "Tollix",
        QCoreApplication::translate("PrintGrid", "你的系统中没有安装打印机，或者打印机有问题。"));
    return false;
}

}  // namespace tollix
