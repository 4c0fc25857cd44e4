#include "faultplan.h"

#include <QRandomGenerator>
#include <QStringList>

#include <algorithm>

namespace faultplan {

namespace cloudpath {
const QString applicationFeed = QStringLiteral("/sp-qx8-update/update.xml");
const QString applicationImage = QStringLiteral("/sp-qx8-update/app/QX8Control-Mac-1.1.7.dmg");
const QString firmwareImage = QStringLiteral("/sp-qx8-update/firmware/QX8-2.5.0.img");
} // namespace cloudpath

namespace {

// A fault and whether it must be switched off again within the step: a frozen device or a held
// answer is released at a chosen moment, since nothing in the application may be expected to
// end a wait the peer never ends.
struct Fault
{
    Peer peer;
    QString on;
    QString off; // empty: a one-shot command
    bool mustRelease = false;
};

Fault deviceSwitch(const QString& name, bool mustRelease = false)
{
    return {Peer::Device, "fault " + name + " on", "fault " + name + " off", mustRelease};
}

Fault oneShot(const QString& command)
{
    return {Peer::Device, command, QString(), false};
}

Fault delaySwitch(QRandomGenerator& random)
{
    return {Peer::Device, QStringLiteral("fault delay=%1").arg(50 + random.bounded(600)),
            QStringLiteral("fault delay off"), false};
}

QList<Fault> consoleFaults(QRandomGenerator& random)
{
    return {deviceSwitch("refuse-login"),
            deviceSwitch("ignore-login"),
            deviceSwitch("no-banner"),
            delaySwitch(random),
            deviceSwitch("split-lines"),
            deviceSwitch("merge-lines"),
            deviceSwitch("crlf"),
            deviceSwitch("close-mid-list"),
            deviceSwitch("freeze", true),
            oneShot("close"),
            oneShot("abort")};
}

QList<Fault> ftpFaults()
{
    return {{Peer::Device, QStringLiteral("ftp stop"), QStringLiteral("ftp start"), false}};
}

QList<Fault> firmwareFaults(QRandomGenerator& random)
{
    return {deviceSwitch("firmware-refuse"),
            deviceSwitch("firmware-stall"),
            deviceSwitch("firmware-drop"),
            delaySwitch(random),
            deviceSwitch("freeze", true),
            oneShot("close"),
            oneShot("abort")};
}

// `stall` leaves an answer hanging until the updater's own (short) limit ends it; `hold` keeps
// it until the fault is switched off.
QList<Fault> httpFaults(const QStringList& paths)
{
    const QStringList modes{"404",           "500",     "cut",  "wrong-length",
                            "redirect-loop", "slow:20", "stall"};
    QList<Fault> faults;
    for (const QString& path : paths) {
        for (const QString& mode : qAsConst(modes))
            faults.append({Peer::Cloud, path + ' ' + mode, path + " off", false});
        faults.append({Peer::Cloud, path + " hold", path + " off", true});
    }
    return faults;
}

QList<Fault> faultsFor(Operation operation, QRandomGenerator& random)
{
    switch (operation) {
    case Operation::LinkLogin:
    case Operation::ControlWrite:
        return consoleFaults(random);
    case Operation::PresetFetch:
    case Operation::PresetUpload:
    case Operation::TuningSync:
        return ftpFaults();
    case Operation::ApplicationCheck:
    case Operation::FirmwareCheck:
        return httpFaults({cloudpath::applicationFeed});
    case Operation::ApplicationDownload:
        return httpFaults({cloudpath::applicationImage});
    case Operation::FirmwareDownload:
        return httpFaults({cloudpath::firmwareImage});
    case Operation::FirmwareUpload:
        return firmwareFaults(random);
    }
    return {};
}

// The operations, their names and how often each is drawn.
struct OperationEntry
{
    Operation operation;
    const char* name;
    int weight;
};

const OperationEntry kOperations[] = {
    {Operation::LinkLogin, "link login", 2},
    {Operation::ControlWrite, "control write", 2},
    {Operation::PresetFetch, "preset fetch", 1},
    {Operation::PresetUpload, "preset upload", 1},
    {Operation::TuningSync, "tuning sync", 1},
    {Operation::ApplicationCheck, "application update check", 1},
    {Operation::ApplicationDownload, "application update download", 1},
    {Operation::FirmwareCheck, "firmware update check", 1},
    {Operation::FirmwareDownload, "firmware download", 1},
    {Operation::FirmwareUpload, "firmware upload", 2},
};

Operation drawOperation(QRandomGenerator& random)
{
    int total = 0;
    for (const OperationEntry& entry : kOperations)
        total += entry.weight;
    int pick = int(random.bounded(quint32(total)));
    for (const OperationEntry& entry : kOperations) {
        pick -= entry.weight;
        if (pick < 0)
            return entry.operation;
    }
    return std::end(kOperations)[-1].operation;
}

QList<FaultEvent> drawEvents(Operation operation, QRandomGenerator& random)
{
    QList<FaultEvent> events;
    const int episodes = 1 + int(random.bounded(3u));
    for (int episode = 0; episode < episodes; ++episode) {
        const QList<Fault> faults = faultsFor(operation, random);
        const Fault& fault = faults.at(int(random.bounded(quint32(faults.size()))));
        const int on = random.bounded(3u) == 0 ? 0 : 20 + int(random.bounded(900u));
        events.append({on, fault.peer, fault.on});
        const bool release = fault.mustRelease || (!fault.off.isEmpty() && random.bounded(2u));
        if (release)
            events.append({on + 50 + int(random.bounded(1500u)), fault.peer, fault.off});
    }
    std::stable_sort(events.begin(), events.end(),
                     [](const FaultEvent& a, const FaultEvent& b) { return a.atMs < b.atMs; });
    return events;
}

} // namespace

Schedule scheduleFor(quint32 seed)
{
    QRandomGenerator random(seed);
    Schedule schedule;
    schedule.seed = seed;
    const int steps = 4 + int(random.bounded(4u));
    for (int index = 0; index < steps; ++index) {
        Step step;
        step.operation = drawOperation(random);
        step.variant = random.generate();
        const bool quiet = random.bounded(5u) == 0;
        if (!quiet)
            step.events = drawEvents(step.operation, random);
        schedule.steps.append(step);
    }
    return schedule;
}

QString operationName(Operation operation)
{
    for (const OperationEntry& entry : kOperations) {
        if (entry.operation == operation)
            return QString::fromLatin1(entry.name);
    }
    return QString();
}

QString Schedule::describe() const
{
    QStringList lines{QStringLiteral("schedule of seed %1:").arg(seed)};
    for (int index = 0; index < steps.size(); ++index) {
        const Step& step = steps.at(index);
        QStringList events;
        for (const FaultEvent& event : step.events)
            events.append(QStringLiteral("%1 ms %2 \"%3\"")
                              .arg(event.atMs)
                              .arg(event.peer == Peer::Device ? "device" : "cloud")
                              .arg(event.command));
        lines.append(QStringLiteral("  %1. %2 (variant %3): %4")
                         .arg(index + 1)
                         .arg(operationName(step.operation))
                         .arg(step.variant)
                         .arg(events.isEmpty() ? QStringLiteral("no faults")
                                               : events.join(QStringLiteral(", "))));
    }
    return lines.join(QLatin1Char('\n'));
}

} // namespace faultplan
