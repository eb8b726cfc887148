#pragma once

#include <QWidget>

class QTextBrowser;

namespace tollix {

// The program's own help window: the help text shipped with the program in a
// browser that follows the text's own links and hands mail links to the
// desktop.
//
// object name   member
// frmHelp       this
// txtHelp       browser_
class HelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent = nullptr);

    QTextBrowser* Browser() const { return browser_; }

private:
    QTextBrowser* browser_;
};

}  // namespace tollix
