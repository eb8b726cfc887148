#pragma once

#include <QGroupBox>

class QLabel;

namespace tollix {

class ConnectionSession;
struct TickResult;

// The main window's upper box: the connection that is up, or the one last up.
//
// object name        member
// Frame1             this
// lblCurrentName     currentName_
// lblStarttime       startTime_
// lblDuration        duration_
// lblCurrentTelFee   telFee_
// lblCurrentNetFee   netFee_
// lblTotalPrice      totalPrice_
class SessionBox : public QGroupBox {
    Q_OBJECT
public:
    explicit SessionBox(QWidget* parent = nullptr);

    void ShowStarted(const ConnectionSession& session);
    // The labels keep the connection just ended; only the title changes.
    void ShowEnded();
    // The fees change only when a unit or minute was charged.
    void ShowTick(const ConnectionSession& session, const TickResult& result, const QString& duration);

private:
    QLabel* currentName_ = nullptr;
    QLabel* startTime_ = nullptr;
    QLabel* duration_ = nullptr;
    QLabel* telFee_ = nullptr;
    QLabel* netFee_ = nullptr;
    QLabel* totalPrice_ = nullptr;
};

}  // namespace tollix
