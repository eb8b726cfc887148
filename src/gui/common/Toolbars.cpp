#include "gui/common/Toolbars.h"

#include <QAction>
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
        QAction* a
            = bar->addAction(QIcon(QString(":/icons/%1.svg").arg(b.icon)), QString::fromUtf8(b.caption));
        a->setObjectName(QString("Toolbar1_%1").arg(number++));
        a->setToolTip(QString::fromUtf8(b.tip));
        const QString caption = a->text();
        QObject::connect(a, &QAction::triggered, window, [onClick, caption] { onClick(caption); });
        actions.append(a);
    }
    if (toolbar)
        *toolbar = bar;
    return actions;
}

}  // namespace tollix
