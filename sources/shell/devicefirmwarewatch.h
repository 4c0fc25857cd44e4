#pragma once

#include "qx8label.h"

#include <QObject>

// Keeps the firmware updater told which firmware the connected device runs, and runs the check
// that "Check on startup" asks for once per connection, as soon as the device has reported its
// version, whichever screen is shown. Not for the offline model: it has no firmware to update.
class DeviceFirmwareWatch : public QObject
{
    Q_OBJECT

public:
    explicit DeviceFirmwareWatch(QObject* parent = nullptr);

    // A device has logged in; `offline`: it is the offline model.
    void onDeviceReady(bool offline);

private:
    void onVersion(const QString& version);

    // Subscribed again by itself at every login.
    QX8Label m_version;
    bool m_checkDue = false;
};
