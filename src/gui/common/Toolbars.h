#pragma once

#include <QList>
#include <QString>
#include <functional>
#include <initializer_list>

class QAction;
class QMainWindow;
class QToolBar;

namespace tollix {

struct ToolButtonSpec {
    // Caption and tip are given untranslated (QT_TRANSLATE_NOOP("Toolbar", ...)) and
    // shown translated; the untranslated caption is what the click handler gets.
    const char* caption;
    const char* icon;  // name under :/icons
    const char* tip;
};

// Adds the window's toolbar "Toolbar1": text under icon, not movable, one action
// per button named Toolbar1_1, Toolbar1_2, ... Each click calls `onClick` with
// the button's untranslated caption. Returns the actions in order.
QList<QAction*> AddToolbar(QMainWindow* window, std::initializer_list<ToolButtonSpec> buttons,
    std::function<void(const QString& caption)> onClick, QToolBar** toolbar = nullptr);

}  // namespace tollix
