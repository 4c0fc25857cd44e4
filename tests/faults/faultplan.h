#pragma once

#include <QList>
#include <QString>

// A fault schedule: a few operations of the application, one after the other, each with the
// faults of its peers switched at chosen moments while it runs. Everything in it follows from
// the seed, so a schedule that fails can be run again from its seed alone.
namespace faultplan {

enum class Operation {
    LinkLogin,
    ControlWrite,
    PresetFetch,
    PresetUpload,
    TuningSync,
    ApplicationCheck,
    ApplicationDownload,
    FirmwareCheck,
    FirmwareDownload,
    FirmwareUpload,
};

enum class Peer { Device, Cloud };

// One switch of a peer, `atMs` after the operation started (0: just before it starts).
// Device: a VirtualQX8 control command. Cloud: "PATH MODE" for the harness HTTP server.
struct FaultEvent
{
    int atMs = 0;
    Peer peer = Peer::Device;
    QString command;
};

struct Step
{
    Operation operation = Operation::LinkLogin;
    // Picks what the operation works on (a slot, a value, a preset).
    quint32 variant = 0;
    QList<FaultEvent> events; // in time order; none: the operation must succeed
    int lastEventMs() const { return events.isEmpty() ? 0 : events.last().atMs; }
};

struct Schedule
{
    quint32 seed = 0;
    QList<Step> steps;
    QString describe() const;
};

Schedule scheduleFor(quint32 seed);
QString operationName(Operation operation);

// The cloud paths the schedules switch faults on.
namespace cloudpath {
extern const QString applicationFeed; // also the firmware feed
extern const QString applicationImage;
extern const QString firmwareImage;
} // namespace cloudpath

} // namespace faultplan
