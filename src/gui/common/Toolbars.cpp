#include "gui/common/Toolbars.h"

#include <QAction>
#include <QCoreApplication>
#include <QIcon>
#include <QMainWindow>
#include <QToolBar>

namespace tollix {

QList<QAction*> AddToolbar(QMainWindow* window, std::initializer_list<ToolButtonSpec> buttons,
    std::function<void(const QString& caption)> onClick, QToolBar** toolbar)
{
    QToolBar* bar = window->addToolBar("Toolbar1");
    bar->setObjectName("Toolbar1");
    bar->setMovable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    QList<QAction*> actions;
    int number = 1;
    for (const ToolButtonSpec& b : buttons) {
        QAction* a = bar->addAction(
            QIcon(QString(":/icons/%1.svg").arg(b.icon)), QCoreApplication::translate("Toolbar", b.caption));
        a->setObjectName(QString("Toolbar1_%1").arg(number++));
        a->setToolTip(QCoreApplication::translate("Toolbar", b.tip));
        // The handlers dispatch on the Chinese caption, whatever the language shown.
        const QString caption = QString::fromUtf8(b.caption);
        QObject::connect(a, &QAction::triggered, window, [onClick, caption] { onClick(caption); });
        actions.append(a);
    }
    if (toolbar)
        *toolbar = bar;
    return actions;
}

}  // namespace tollix
