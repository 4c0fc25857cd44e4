#include "consoleserver.h"
#include "controlchannel.h"
#include "deviceconfiguration.h"
#include "deviceftpserver.h"
#include "devicemodel.h"
#include "devicestate.h"
#include "discoveryresponder.h"
#include "faultswitches.h"
#include "firmwarestore.h"
#include "jsoncommandservice.h"
#include "linechannel.h"
#include "presetmemory.h"
#include "simulatoroptions.h"
#include "standardoutput.h"
#include "stdinreader.h"
#include "terminationwatcher.h"
#include "wirelog.h"
#include "wizarddata.h"
#include "wizardengine.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <cstdio>
#include <optional>

namespace {

constexpr int exitBadSetup = 2;
constexpr int exitCannotBind = 3;

int failWith(int code, const QString& message)
{
    std::fprintf(stderr, "VirtualQX8: %s\n", qPrintable(message));
    return code;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("VirtualQX8");
    const SimulatorOptions options = SimulatorOptions::parse(QCoreApplication::arguments());

    QString error;
    const std::optional<DeviceModel> model = DeviceModel::load(DeviceModel::resourcePath(), &error);
    if (!model)
        return failWith(exitBadSetup, "device model: " + error);
    DeviceState state(*model);
    const QList<QPair<QString, QString>> identity{{"Node\\AT\\Instance_Name", options.instanceName},
                                                  {"Node\\AT\\Class_Name", options.className}};
    for (const auto& [path, value] : identity) {
        StateVariable* variable = state.variable(path);
        if (!value.isEmpty() &&
            (!variable || !variable->assign(StateVariable::Aspect::Value, value, &error)))
            return failWith(exitBadSetup, path + ": " + (variable ? error : "not in the model"));
    }

    loadWizardData(state);
    // Before any connection: the wizards hear a write before the clients hear its value.
    WizardEngine wizards(state, options.wizardStepMs);

    FaultSwitches faults;
    for (const QString& fault : options.faults) {
        if (!faults.apply(fault, &error))
            return failWith(exitBadSetup, error);
    }
    DeviceConfiguration configuration(state, faults);
    if (!configuration.load(&error))
        return failWith(exitBadSetup, "configuration: " + error);
    JsonCommandService commands(state, faults, configuration);

    WireLog wireLog;
    if (!wireLog.open(options.wireLogPath, options.wireLogTimes, &error))
        return failWith(exitBadSetup, "wire log: " + error);

    std::optional<QTemporaryDir> temporaryStorage;
    QString storage = options.storagePath;
    if (storage.isEmpty()) {
        temporaryStorage.emplace();
        storage = temporaryStorage->path();
    }
    PresetMemory presets(*model, state, storage + "/presets");
    if (!presets.prepare(&error))
        return failWith(exitBadSetup, "presets: " + error);
    FirmwareStore firmware(state, storage + "/firmware");
    if (!firmware.prepare(&error))
        return failWith(exitBadSetup, "firmware: " + error);

    const QString endpoint = options.address.toString() + ':' + QString::number(options.port);
    ConsoleServer console(state, faults, wireLog, firmware, options.password);
    if (!console.listen(options.address, options.port, &error))
        return failWith(exitCannotBind, "cannot listen on " + endpoint + ": " + error);
    QObject::connect(&console, &ConsoleServer::jsonLineReceived, &configuration,
                     &DeviceConfiguration::reconfigure);
    DiscoveryResponder discovery(state, faults, wireLog);
    if (!discovery.bind(options.address, options.port, &error))
        return failWith(exitCannotBind, "cannot bind discovery on " + endpoint + ": " + error);

    // Without FTP the console still works: the device is usable, only file transfer is not.
    std::optional<DeviceFtpServer> ftp;
    if (options.ftpPort != 0) {
        ftp.emplace(DeviceFtpServer::Settings{options.address, options.ftpPort, storage,
                                              options.ftpLogPath, options.ftpBytesPerSecond});
        if (!ftp->start(&error))
            std::fprintf(stderr, "VirtualQX8: no FTP server: %s\n", qPrintable(error));
    }

    StdinReader input;
    ControlChannel control(input, console, state, faults, firmware, ftp ? &*ftp : nullptr, wizards);
    TerminationWatcher termination;
    QObject::connect(&control, &ControlChannel::quitRequested, &app, &QCoreApplication::quit);
    QObject::connect(&termination, &TerminationWatcher::terminationRequested, &app,
                     &QCoreApplication::quit);

    printLine("VirtualQX8 listening on " + endpoint);
    return app.exec();
}
