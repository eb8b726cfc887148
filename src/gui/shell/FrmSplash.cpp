#include "gui/shell/FrmSplash.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>

namespace tollix {

FrmSplash::FrmSplash(std::function<void()> loadMain, QWidget* parent)
    : QDialog(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
    , loadMain_(std::move(loadMain))
{
    setObjectName("frmSplash");
    auto* outer = new QVBoxLayout(this);
    auto* frame = new QFrame(this);
    frame->setObjectName("Frame1");
    frame->setFrameShape(QFrame::Box);
    outer->addWidget(frame);
    auto* row = new QHBoxLayout(frame);
    auto* image = new QLabel(frame);
    image->setObjectName("Image1");
    image->setPixmap(QIcon(":/icons/tollix.svg").pixmap(64, 64));
    row->addWidget(image);
    auto* texts = new QVBoxLayout;
    auto* label1 = new QLabel(tr("Tollix 3.11版"), frame);
    label1->setObjectName("Label1");
    QFont title("Century Schoolbook");
    title.setPointSize(20);
    title.setBold(true);
    label1->setFont(title);
    auto* label2 = new QLabel(tr("全中文上网计费器"), frame);
    label2->setObjectName("Label2");
    auto* label4 = new QLabel(tr("（适用于拨号用户）"), frame);
    label4->setObjectName("Label4");
    texts->addWidget(label1);
    texts->addWidget(label2);
    texts->addWidget(label4);
    row->addLayout(texts);

    loadTimer_ = new QTimer(this);
    loadTimer_->setObjectName("Timer1");
    loadTimer_->setInterval(100);
    loadTimer_->setSingleShot(true);
    connect(loadTimer_, &QTimer::timeout, this, &FrmSplash::OnLoadTimer);
    loadTimer_->start();
}

void FrmSplash::OnLoadTimer()
{
    loadTimer_->stop();
    if (loadMain_)
        loadMain_();
}

}  // namespace tollix
