#pragma once

#include <QHostAddress>
#include <QStringList>

// The command line: --address, --port, --password, --wire-log, --wire-log-times, --name, --class,
// --fault (repeatable), --storage, --ftp-port, --ftp-log, --ftp-rate, --wizard-step-ms.
struct SimulatorOptions
{
    QHostAddress address{QHostAddress::LocalHost};
    quint16 port = 19272;
    QString password = QStringLiteral("quillrampstow");
    QString wireLogPath;
    bool wireLogTimes = false;
    QString instanceName;
    QString className;
    QStringList faults;
    int wizardStepMs = 1500;
    QString storagePath;  // empty: a temporary folder for this run
    quint16 ftpPort = 21; // 0: no FTP server
    QString ftpLogPath;
    int ftpBytesPerSecond = 0; // 0: no limit

    // Exits the process with a usage message on a malformed command line.
    static SimulatorOptions parse(const QStringList& arguments);
};
