#pragma once

#include "broadcastdiscovery.h"

// Finds wall controllers on the local networks in scan windows of kScanWindowMs. A scan starts
// by reporting what the previous one left, then broadcasts.
class DiscoveredWallControllersListProvider : public BroadcastDiscovery
{
    Q_OBJECT

public:
    static constexpr int kScanWindowMs = 8000;

    explicit DiscoveredWallControllersListProvider(QObject* parent = nullptr,
                                                   int windowMs = kScanWindowMs);

    void startScanning() override;
    bool parseDatagram(const QString& text, DeviceInfo& info) override;

private:
    PeerLogLimiter m_answers;
};
