#pragma once

#include "broadcastdiscovery.h"

class QTimer;

// Finds processors on the local networks (broadcast scan windows of kScanWindowMs), and asks one
// typed address the same question.
//
// Typed-address query: waiting (time-out running) -> confirmed, invalid (wrong answer or
// time-out), ignored, or a silent time-out while a password is asked for. Each query has a
// socket of its own, so an answer to an earlier query can never count for a later one, and only
// the first answer from the typed address itself counts.
class DiscoveredDevicesProvider : public BroadcastDiscovery
{
    Q_OBJECT

public:
    static constexpr int kScanWindowMs = 2000;
    static constexpr const char* kClassName = "yoxlSpandrellQX8";

    explicit DiscoveredDevicesProvider(QObject* parent = nullptr, int windowMs = kScanWindowMs);
    ~DiscoveredDevicesProvider() override;

    void broadcastDatagram() override;
    void getDeviceDetailsForIP(QString ipAddress);
    // Drops the pending typed-address query without a report.
    void ignoreDeviceDetailsResponse();
    // While set, a typed-address query that times out is not reported.
    void waitForPassword(bool wait);
    bool parseDatagram(const QString& text, DeviceInfo& info) override;

Q_SIGNALS:
    void kalo480Confirmed(QString deviceType);
    void invalidIPForKalo480();

protected Q_SLOTS:
    void onReadyReadForManual();
    void cancelDeviceDetailsRequest();

private:
    void endManualQuery();

    QUdpSocket* m_manualSocket = nullptr;
    QTimer* m_manualTimer = nullptr;
    QHostAddress m_manualAddress;
    bool m_waitingForPassword = false;
    PeerLogLimiter m_strangerAnswers;
};
