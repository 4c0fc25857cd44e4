#pragma once

#include <QHostAddress>
#include <QStringList>

// The command line: --address, --port, --password, --wire-log, --name, --class,
// --firmware-dir, --fault (repeatable).
struct SimulatorOptions
{
    QHostAddress address{QHostAddress::LocalHost};
    quint16 port = 19272;
    QString password = QStringLiteral("quillrampstow");
    QString wireLogPath;
    QString instanceName;
    QString className;
    QString firmwareFolder;
    QStringList faults;

    // Exits the process with a usage message on a malformed command line.
    static SimulatorOptions parse(const QStringList& arguments);
};
