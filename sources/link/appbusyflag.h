#pragma once

#include <QObject>
#include <QTimer>
#include <atomic>

// The application busy flag: set while the device reconfigures. The socket thread reads it for
// every outgoing line, so it is an atomic; everything else about it lives in the GUI thread.
// A busy period that never ends is cleared after kMaxBusyMs, with a warning.
class AppBusyFlag : public QObject
{
    Q_OBJECT

public:
    static constexpr int kMaxBusyMs = 60000;

    static AppBusyFlag* instance();

    // Safe from any thread.
    static bool isBusy() { return s_busy.load(std::memory_order_relaxed); }

    // GUI thread. A change emits busyChanged(busy) and then resendDataRequest(!busy).
    void setBusy(bool busy);

Q_SIGNALS:
    void busyChanged(bool busy);
    void resendDataRequest(bool send);

private:
    AppBusyFlag();
    void onExpired();

    static std::atomic<bool> s_busy;
    QTimer m_expiry;
};
