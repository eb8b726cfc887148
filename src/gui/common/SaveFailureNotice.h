#pragma once

#include <QObject>
#include <QPointer>

#include "config/ProfileWriteResult.h"

class QWidget;

namespace tollix {

// Tells the user that tollix.ini did not take a setting: once per action, even
// when the action wrote several keys, naming the file and the reason. The box
// shows once the action is over, so a handler never waits inside a write.
class SaveFailureNotice : public QObject {
    Q_OBJECT
public:
    explicit SaveFailureNotice(QWidget* window);

    // Nothing for a write that succeeded. Returns whether it did.
    bool Report(const ProfileWriteResult& result);

signals:
    // Once the action that failed is over, before the user is told: the
    // window can show again what the program holds.
    void failed();

private:
    QPointer<QWidget> window_;
    bool pending_ = false;
};

}  // namespace tollix
