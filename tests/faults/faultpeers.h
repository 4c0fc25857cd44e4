#pragma once

#include "faultplan.h"
#include "updatecloud.h"
#include "virtualprocessor.h"

#include <QSet>
#include <QTemporaryDir>

#include <memory>

// The peers of the schedules. The cloud (the harness HTTP server with the update feed, its
// images and the cloud tunings) runs once for all, since the application reads its address
// once. Each schedule gets a fresh VirtualQX8 with its FTP server on port 21, its storage
// holding the seeded tuning folders and a few filled preset slots. Faults are switched through
// the control channels of both.
class FaultPeers
{
public:
    // Each FTP data connection is slowed to this, so that transfers are under way long enough
    // to be cut.
    static constexpr int kFtpBytesPerSecond = 200000;
    // Slots that hold a preset from the start and are never written.
    static const QList<int> filledSlots;

    // The cloud and the tuning folders every device starts with.
    bool prepare();
    // A fresh device; the content of the filled slots follows from `seed`.
    bool startDevice(quint32 seed);
    void stopDevice();

    VirtualProcessor& device() { return *m_device; }
    UpdateCloud& cloud() { return m_cloud; }
    QString slotFile(int slot) const;

    // Switches one fault; returns the peer's refusal, empty when it took the switch.
    QString apply(const faultplan::FaultEvent& event);
    // Every fault off and the FTP server running; returns what failed, empty when all did.
    QString calm();

private:
    UpdateCloud m_cloud;
    QTemporaryDir m_tuningFolders;
    std::unique_ptr<VirtualProcessor> m_device;
    bool m_ftpStopped = false;
    QSet<QString> m_faultedPaths;
    QSet<QString> m_switchedFaults; // device faults switched since the last calm()
};
