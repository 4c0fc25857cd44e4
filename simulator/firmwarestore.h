#pragma once

#include <QString>

class DeviceState;

// The virtual device's firmware storage: the folder where images land, the outcome of the last
// upload (for the control channel), and the installation of a good image, after which the device
// reports the image's version as its own.
class FirmwareStore
{
public:
    enum class Outcome { None, Announced, Receiving, Installed, Rejected, Dropped, Refused };

    FirmwareStore(DeviceState& state, const QString& folder);

    // Makes the folder; false, with `error` set, when it cannot.
    bool prepare(QString* error);
    // Where the image written to `target` lies ("file\updKaloTar" lands as "updKaloTar").
    QString pathFor(const QString& target) const;

    void record(Outcome outcome, qint64 received, qint64 announced);
    void install(const QString& version);
    // "<outcome> <received> <announced> <installed version or ->".
    QString describe() const;

private:
    DeviceState& m_state;
    const QString m_folder;
    Outcome m_outcome = Outcome::None;
    qint64 m_received = 0;
    qint64 m_announced = 0;
    QString m_installed;
};
