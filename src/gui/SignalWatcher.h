#pragma once

#include <QObject>

class QSocketNotifier;

namespace tollix {

// Turns SIGTERM, SIGHUP and SIGINT into a Qt signal delivered on the event loop,
// so that the program can record an open connection before it ends.
class SignalWatcher : public QObject {
    Q_OBJECT
public:
    explicit SignalWatcher(QObject* parent = nullptr);
    ~SignalWatcher() override;

signals:
    void TerminationRequested(int signalNumber);

private:
    void ReadSignal();
    QSocketNotifier* notifier_ = nullptr;
};

}  // namespace tollix
