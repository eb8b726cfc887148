#include "gui/shell/HelpWindow.h"

#include "gui/common/Translations.h"

#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace tollix {

HelpWindow::HelpWindow(QWidget* parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("frmHelp"));
    setWindowTitle(tr("Tollix 帮助"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/help.svg")));
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_QuitOnClose, false);

    browser_ = new QTextBrowser(this);
    browser_->setObjectName(QStringLiteral("txtHelp"));
    browser_->setOpenExternalLinks(true);

    // The text built into the program first; the installed copy only when the
    // program was built without it.
    const QString fileName = EnglishInUse() ? QStringLiteral("help_en.html") : QStringLiteral("help.html");
    const QString builtIn = QStringLiteral(":/help/") + fileName;
    const QString installed = QDir(QString::fromUtf8(TOLLIX_SHARE_DIR)).filePath(fileName);
    if (QFileInfo::exists(builtIn))
        browser_->setSource(QUrl(QStringLiteral("qrc") + builtIn));
    else if (QFileInfo::exists(installed))
        browser_->setSource(QUrl::fromLocalFile(installed));
    else
        browser_->setPlainText(tr("找不到帮助文本（%1）。请重新安装 Tollix。").arg(fileName));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser_);
    resize(640, 560);
}

}  // namespace tollix
