#include "simulatoroptions.h"

#include <QCommandLineParser>

#include <cstdio>
#include <cstdlib>

SimulatorOptions SimulatorOptions::parse(const QStringList& arguments)
{
    SimulatorOptions options;
    QCommandLineParser parser;
    parser.setApplicationDescription("Virtual QX8 processor: console, discovery and test control");
    parser.addHelpOption();
    const QCommandLineOption address("address", "Address to serve on.", "address",
                                     options.address.toString());
    const QCommandLineOption port("port", "Console (TCP) and discovery (UDP) port.", "port",
                                  QString::number(options.port));
    const QCommandLineOption password("password", "Console password.", "password",
                                      options.password);
    const QCommandLineOption wireLog("wire-log", "File that records every console line.", "file");
    const QCommandLineOption wireLogTimes(
        "wire-log-times", "Start each wire log entry with its time and mark each answer's end.");
    const QCommandLineOption name("name", "Instance name for discovery.", "name");
    const QCommandLineOption className("class", "Class name for discovery (a wall controller's).",
                                       "class");
    const QCommandLineOption fault("fault", "Failure mode to switch on (repeatable).",
                                   "name[=value]");
    const QCommandLineOption storage(
        "storage",
        "Storage folder: presets/ and the tuning folders, the FTP root (default: a "
        "temporary folder).",
        "folder");
    const QCommandLineOption ftpPort("ftp-port", "FTP port (0: no FTP server).", "port",
                                     QString::number(options.ftpPort));
    const QCommandLineOption ftpLog("ftp-log", "File that records every FTP command.", "file");
    const QCommandLineOption ftpRate("ftp-rate", "Bytes per second on each FTP data connection.",
                                     "bytes", QStringLiteral("0"));
    const QCommandLineOption wizardStep(
        "wizard-step-ms",
        "How long the wizards stay in a step they leave by themselves (0: not at all; negative: "
        "until Next).",
        "ms", QString::number(options.wizardStepMs));
    parser.addOptions({address, port, password, wireLog, wireLogTimes, name, className, fault,
                       storage, ftpPort, ftpLog, ftpRate, wizardStep});
    parser.process(arguments);

    const auto fail = [](const QString& message) {
        std::fprintf(stderr, "VirtualQX8: %s\n", qPrintable(message));
        std::exit(2);
    };
    if (!options.address.setAddress(parser.value(address)))
        fail("not an address: " + parser.value(address));
    bool portOk = false;
    const uint portNumber = parser.value(port).toUInt(&portOk);
    if (!portOk || portNumber == 0 || portNumber > 65535)
        fail("not a port: " + parser.value(port));
    options.port = quint16(portNumber);
    const uint ftpPortNumber = parser.value(ftpPort).toUInt(&portOk);
    if (!portOk || ftpPortNumber > 65535)
        fail("not a port: " + parser.value(ftpPort));
    options.ftpPort = quint16(ftpPortNumber);
    bool rateOk = false;
    options.ftpBytesPerSecond = parser.value(ftpRate).toInt(&rateOk);
    if (!rateOk || options.ftpBytesPerSecond < 0)
        fail("not a rate: " + parser.value(ftpRate));
    options.password = parser.value(password);
    options.wireLogPath = parser.value(wireLog);
    options.wireLogTimes = parser.isSet(wireLogTimes);
    options.instanceName = parser.value(name);
    options.className = parser.value(className);
    options.faults = parser.values(fault);
    bool stepOk = false;
    options.wizardStepMs = parser.value(wizardStep).toInt(&stepOk);
    if (!stepOk)
        fail("not a number of milliseconds: " + parser.value(wizardStep));
    options.storagePath = parser.value(storage);
    options.ftpLogPath = parser.value(ftpLog);
    return options;
}
