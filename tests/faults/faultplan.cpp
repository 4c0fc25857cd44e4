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

QList<Fault> consoleFaults(QRandomGenerator& random)
{
    return {deviceSwitch("refuse-login"),
            deviceSwitch("ignore-login"),
            deviceSwitch("no-banner"),
            {Peer::Device, QStringLiteral("fault delay=%1").arg(50 + random.bounded(600)),
             QStringLiteral("fault delay off"), false},
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
            {Peer::Device, QStringLiteral("fault delay=%1").arg(50 + random.bounded(600)),
             QStringLiteral("fault delay off"), false},
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

// The operations and how often each is drawn.
const QList<QPair<Operation, int>> kOperationWeights = {
    {Operation::LinkLogin, 2},           {Operation::ControlWrite, 2},
    {Operation::PresetFetch, 1},         {Operation::PresetUpload, 1},
    {Operation::TuningSync, 1},          {Operation::ApplicationCheck, 1},
    {Operation::ApplicationDownload, 1}, {Operation::FirmwareCheck, 1},
    {Operation::FirmwareDownload, 1},    {Operation::FirmwareUpload, 2},
};

Operation drawOperation(QRandomGenerator& random)
{
    int total = 0;
    for (const auto& entry : kOperationWeights)
        total += entry.second;
    int pick = int(random.bounded(quint32(total)));
    for (const auto& entry : kOperationWeights) {
        pick -= entry.second;
        if (pick < 0)
            return entry.first;
    }
    return kOperationWeights.last().first;
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
    switch (operation) {
    case Operation::LinkLogin:
        return QStringLiteral("link login");
    case Operation::ControlWrite:
        return QStringLiteral("control write");
    case Operation::PresetFetch:
        return QStringLiteral("preset fetch");
    case Operation::PresetUpload:
        return QStringLiteral("preset upload");
    case Operation::TuningSync:
        return QStringLiteral("tuning sync");
    case Operation::ApplicationCheck:
        return QStringLiteral("application update check");
    case Operation::ApplicationDownload:
        return QStringLiteral("application update download");
    case Operation::FirmwareCheck:
        return QStringLiteral("firmware update check");
    case Operation::FirmwareDownload:
        return QStringLiteral("firmware download");
    case Operation::FirmwareUpload:
        return QStringLiteral("firmware upload");
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
