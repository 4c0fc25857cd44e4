#pragma once

#include "ftpserverprocess.h"

#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

// A device's FTP storage for the tuning tests: a folder seeded by
// simulator/storage/seed_tuning_storage.py, served by pyftpdlib on port 21 of a loopback address
// of its own with the device's login, answering NLST of an empty folder with 450 as the device
// does.
class TuningDevice
{
public:
    static const QStringList folders; // "SpeakerTunings", "AmplifierData"

    // Seeds the storage; `extra` more device-only speaker files.
    bool seed(int extra = 0);
    // SIZE answered with this code (500 or 502) from the next start on, as by a server without it.
    void setSizeRefusal(int replyCode) { m_sizeRefusal = replyCode; }
    bool start(const QStringList& extraNames = {});
    // Starts again on the same address after stop().
    bool restart();
    void stop();

    QString address() const { return m_address; }
    QString storage() const { return m_storage.path(); }
    // What the seed wrote, by folder and kind ("same", "older", "newer", "missing",
    // "deviceOnly").
    QStringList seeded(const QString& folder, const QString& kind) const;
    // Files of the device folder now.
    QStringList files(const QString& folder) const;
    QStringList commandLog() const;
    // Command lines of the log that start with `verb`, without it ("RETR ", "STOR ", ...).
    QStringList commands(const QString& verb) const;

private:
    QTemporaryDir m_storage;
    QJsonObject m_seeded;
    std::unique_ptr<FtpServerProcess> m_server;
    QString m_address;
    QStringList m_extraNames;
    int m_sizeRefusal = 0;
    QStringList m_previousLog;
};

// Where the manager keeps the local store (under the test's own XDG_DATA_HOME).
QString localTuningFolder(const QString& folder);
