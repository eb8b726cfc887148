#include "gui/shell/AboutWindow.h"

#include "gui/common/ShellCommands.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

namespace tollix {

AboutWindow::AboutWindow(QWidget* parent)
    : QWidget(parent,
        Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint
            | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(tr("关于%1").arg(VersionedTitle()));
    setWindowIcon(QIcon(QStringLiteral(":/icons/tollix.svg")));
    setAttribute(Qt::WA_DeleteOnClose);
    // The meter keeps running in the tray when its last window closes.
    setAttribute(Qt::WA_QuitOnClose, false);

    picture_ = new QLabel(this);
    picture_->setObjectName(QStringLiteral("Image1"));
    picture_->setPixmap(QIcon(QStringLiteral(":/icons/tollix.svg")).pixmap(64, 64));
    picture_->setFixedSize(64, 64);

    auto* title = new QLabel(VersionedTitle(), this);
    QFont titleFont = title->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.4);
    title->setFont(titleFont);

    date_ = new QLabel(tr("1998年11月5日"), this);
    date_->setObjectName(QStringLiteral("Label1"));

    mailCaption_ = new QLabel(tr("想给我写信请点击右边的地址"), this);
    mailCaption_->setObjectName(QStringLiteral("Label8"));

    // Drawn as a link, but the whole label reacts to a click, like a button.
    mailAddress_ = new QLabel(this);
    mailAddress_->setObjectName(QStringLiteral("Label2"));
    mailAddress_->setTextFormat(Qt::RichText);
    mailAddress_->setText(QStringLiteral("<a href=\"%1\">%2</a>")
                              .arg(MailLink(false).toHtmlEscaped(), QString::fromLatin1(kSupportAddress)));
    mailAddress_->setTextInteractionFlags(Qt::NoTextInteraction);
    mailAddress_->setCursor(Qt::PointingHandCursor);
    mailAddress_->setToolTip(QString::fromLatin1(kSupportAddress));
    mailAddress_->installEventFilter(this);

    exitButton_ = new QPushButton(tr("退出"), this);
    exitButton_->setObjectName(QStringLiteral("cmdExit"));
    exitButton_->setDefault(true);
    connect(exitButton_, &QPushButton::clicked, this, &AboutWindow::Close);

    auto* text = new QVBoxLayout;
    text->addWidget(title);
    text->addWidget(date_);
    auto* mail = new QHBoxLayout;
    mail->addWidget(mailCaption_);
    mail->addWidget(mailAddress_);
    mail->addStretch();
    text->addLayout(mail);

    auto* top = new QHBoxLayout;
    top->addWidget(picture_, 0, Qt::AlignTop);
    top->addSpacing(12);
    top->addLayout(text);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(exitButton_);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    setFixedSize(sizeHint());
}

void AboutWindow::Close()
{
    close();
}

void AboutWindow::OpenMail()
{
    OpenMailLink(false);
}

bool AboutWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == mailAddress_ && event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton
        && mailAddress_->rect().contains(static_cast<QMouseEvent*>(event)->position().toPoint())) {
        OpenMail();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace tollix
