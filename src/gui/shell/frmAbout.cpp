#include "gui/shell/frmAbout.h"

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

frmAbout::frmAbout(QWidget* parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("关于") + VersionedTitle());
    setWindowIcon(QIcon(QStringLiteral(":/icons/tollix.svg")));
    setAttribute(Qt::WA_DeleteOnClose);
    // The meter keeps running in the tray when its last window closes.
    setAttribute(Qt::WA_QuitOnClose, false);

    image1_ = new QLabel(this);
    image1_->setObjectName(QStringLiteral("Image1"));
    image1_->setPixmap(QIcon(QStringLiteral(":/icons/tollix.svg")).pixmap(64, 64));
    image1_->setFixedSize(64, 64);

    auto* title = new QLabel(VersionedTitle(), this);
    QFont titleFont = title->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.4);
    title->setFont(titleFont);

    label1_ = new QLabel(QStringLiteral("1998年11月5日"), this);
    label1_->setObjectName(QStringLiteral("Label1"));

    label8_ = new QLabel(QStringLiteral("想给我写信请点击右边的地址"), this);
    label8_->setObjectName(QStringLiteral("Label8"));

    // Drawn as a link, but the whole label reacts to a click, like a button.
    label2_ = new QLabel(this);
    label2_->setObjectName(QStringLiteral("Label2"));
    label2_->setTextFormat(Qt::RichText);
    label2_->setText(QStringLiteral("<a href=\"%1\">%2</a>")
                         .arg(MailLink(false).toHtmlEscaped(), QString::fromLatin1(kSupportAddress)));
    label2_->setTextInteractionFlags(Qt::NoTextInteraction);
    label2_->setCursor(Qt::PointingHandCursor);
    label2_->setToolTip(QString::fromLatin1(kSupportAddress));
    label2_->installEventFilter(this);

    cmdExit_ = new QPushButton(QStringLiteral("退出"), this);
    cmdExit_->setObjectName(QStringLiteral("cmdExit"));
    cmdExit_->setDefault(true);
    connect(cmdExit_, &QPushButton::clicked, this, &frmAbout::cmdExit_Click);

    auto* text = new QVBoxLayout;
    text->addWidget(title);
    text->addWidget(label1_);
    auto* mail = new QHBoxLayout;
    mail->addWidget(label8_);
    mail->addWidget(label2_);
    mail->addStretch();
    text->addLayout(mail);

    auto* top = new QHBoxLayout;
    top->addWidget(image1_, 0, Qt::AlignTop);
    top->addSpacing(12);
    top->addLayout(text);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdExit_);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    setFixedSize(sizeHint());
}

void frmAbout::cmdExit_Click()
{
    close();
}

void frmAbout::Label2_Click()
{
    OpenMailLink(false);
}

bool frmAbout::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == label2_ && event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton
        && label2_->rect().contains(static_cast<QMouseEvent*>(event)->position().toPoint())) {
        Label2_Click();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace tollix
