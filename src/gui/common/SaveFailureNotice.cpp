#include "gui/common/SaveFailureNotice.h"

#include <QTimer>
#include <QWidget>

#include "gui/common/MessageBoxes.h"

namespace tollix {

SaveFailureNotice::SaveFailureNotice(QWidget* window)
    : QObject(window)
    , window_(window)
{ }

bool SaveFailureNotice::Report(const ProfileWriteResult& result)
{
    if (result)
        return true;
    if (pending_)
        return false;
    pending_ = true;
    const QString text = tr("无法保存设置到 %1：%2")
                             .arg(QString::fromStdString(result.Path), QString::fromStdString(result.Reason));
    QTimer::singleShot(0, this, [this, text] {
        emit failed();
        ShowMessage(window_, "Tollix", text, QMessageBox::Warning);
        pending_ = false;
    });
    return false;
}

}  // namespace tollix
