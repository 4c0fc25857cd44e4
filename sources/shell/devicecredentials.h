#pragma once

#include <QString>

// The address and password that the discovery page sends as "address:password".
struct DeviceCredentials
{
    QString address;
    QString password;

    // Split at the first ":"; without one, the whole text is both address and password.
    static DeviceCredentials fromPayload(const QString& payload);

    // The payload of a GUI signal as analytics and the log may see it: for the signals that
    // carry a password, only the address (nothing when the payload has no separator).
    static QString payloadWithoutPassword(const QString& param, const QString& payload);
};
