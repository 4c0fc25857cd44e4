#pragma once

#include "qx8control.h"

#include <QTimer>

class ClientConnectionWatchDog;

// Watches the device: once it is ready, asks it for its name every repoll interval (unless the
// last keep-alive is still on its way), and reports connectionLost() when the link fails or when
// the device falls silent while the session stays open: kMissedAnswersLimit intervals in a row
// in which requests were on their way and nothing at all came back (not while the application is
// busy, when the device may be slow). A device that answers slowly keeps answering something and
// is not lost. In the second case it also ends the dead session.
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
    int m_silentIntervals = 0;
    quint64 m_repliesSeen = 0;
};
