#pragma once

#include "virtualprocessor.h"

#include <QStringList>

// A VirtualQX8 with the process-wide link logged in to it, for tests whose value objects must
// talk to a device.
class LinkedProcessor
{
public:
    // Starts the processor and logs the link in; false when either fails.
    bool start();
    // Disconnects the link and takes in every reply already on its way, so that none is left
    // queued when the application ends.
    void stop();
    // Disconnects the process-wide link, ends `device` and takes in every reply already on its
    // way; for sessions that logged the link in by other means too.
    static void disconnectAndStop(VirtualProcessor& device);

    // Console path of a state variable: \\Preset\<po>\SV\<sv>\ .
    static QString path(const QString& poName, const QString& svName);
    // Changes a variable as the front panel would.
    bool set(const QString& poName, const QString& svName, const QString& value);
    // The paths the device holds subscriptions for, over all connections.
    QStringList subscriptions();
    // Lines the device received since the start, without the connection prefix.
    QStringList received() { return m_device.received(); }
    // Waits until the device has received every line of `lines`, in that order and after the
    // first `skip` received lines.
    bool waitForSequence(const QStringList& lines, int skip = 0);
    // Waits until every request sent so far has reached the device: requests travel in order,
    // so it is enough that a probe sent now arrives.
    bool settle();

    // The process, for its control channel and wire log.
    VirtualProcessor& device() { return m_device; }

private:
    VirtualProcessor m_device;
};
