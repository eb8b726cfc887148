#include "gui/alerts/FrmAlert.h"

#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace tollix {

FrmAlert::FrmAlert(const QString& alertText, QWidget* parent)
    : QDialog(parent)
{
    setObjectName("frmAlert");
    setWindowTitle(tr("超时警告"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowFlag(Qt::WindowStaysOnTopHint);
    auto* layout = new QVBoxLayout(this);
    auto* label1 = new QLabel(tr("喂，伙计："), this);
    label1->setObjectName("Label1");
    text_ = new QLabel(alertText, this);
    text_->setObjectName("lblAlertText");
    QFont big = text_->font();
    big.setPointSize(big.pointSize() + 3);
    big.setBold(true);
    text_->setFont(big);
    auto* label2 = new QLabel(tr("当心月底的帐单！"), this);
    label2->setObjectName("Label2");
    auto* close = new QPushButton(tr("知道了，知道了"), this);
    close->setObjectName("cmdAlertClose");
    close->setToolTip(tr("暂时关闭警告"));
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    layout->addWidget(label1);
    layout->addWidget(text_);
    layout->addWidget(label2);
    layout->addWidget(close, 0, Qt::AlignRight);

    closeTimer_ = new QTimer(this);
    closeTimer_->setObjectName("tmrAlert");
    closeTimer_->setInterval(10000);
    closeTimer_->setSingleShot(true);
    connect(closeTimer_, &QTimer::timeout, this, &QDialog::close);
    closeTimer_->start();
}

}  // namespace tollix
