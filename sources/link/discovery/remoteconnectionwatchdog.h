#pragma once

#include "qx8control.h"

#include <QTimer>

class ClientConnectionWatchDog;

// Watches the device: once it is ready, asks it for its name every repoll interval, and reports
// connectionLost() when the link fails or when the device stops answering while the session
// stays open (kMissedAnswersLimit keep-alives in a row without an answer; not while the
// application is busy, when the device may be slow). In the second case it also ends the dead
// session.
//
// Idle until the device is ready; polling while the link stays ready; idle again after a link
// error, a silent device, a disconnect, a loss of network or a tick on which the link is not
// ready.
class RemoteConnectionWatchDog : public QX8Control
{
    Q_OBJECT

public:
    static constexpr int kRepollIntervalMs = 5000;
    static constexpr int kMissedAnswersLimit = 3;

    // The process-wide watchdog, created on first use; polling ends when the application quits.
    static RemoteConnectionWatchDog* instance();

    explicit RemoteConnectionWatchDog(ClientConnectionWatchDog* clientWatchDog,
                                      int repollIntervalMs = kRepollIntervalMs,
                                      QObject* parent = nullptr);
    ~RemoteConnectionWatchDog() override;

public Q_SLOTS:
    void sendDataRequest() override;
    void onVimbalReady() override;
    void onDataAvailable(DataFromDevice data) override;
    void onConnectionLost() override;
    void onDisconnected();
    void onClientConnectionLost();
    void onRepollTimeout();

private:
    void onDeviceSilent();

    QTimer m_repollTimer;
    int m_unanswered = 0;
};
