#pragma once

#include <QObject>
#include <QTimer>

// Watches this computer's own network: every poll interval it checks whether some usable IPv4
// network is present. It reports a change, and reports connectionLost() on every poll while
// there is none.
class ClientConnectionWatchDog : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool networkAvailable READ networkAvailable NOTIFY networkAvailableChanged)

public:
    static constexpr int kPollIntervalMs = 5000;

    // The process-wide watchdog, created on first use; polling ends when the application quits.
    static ClientConnectionWatchDog* instance();

    explicit ClientConnectionWatchDog(int pollIntervalMs = kPollIntervalMs,
                                      QObject* parent = nullptr);

    bool networkAvailable() const { return m_networkAvailable; }
    // True for the local device substitute, else when an interface that is up and running, not
    // loopback and not point-to-point has an IPv4 address.
    bool isConnectedToNetwork() const;

    // Ends polling for good.
    void shutdown();

Q_SIGNALS:
    void networkAvailableChanged(bool available);
    void connectionLost();

public Q_SLOTS:
    void onPollingTimeout();

private:
    bool m_networkAvailable = true;
    QTimer m_pollTimer;
};
