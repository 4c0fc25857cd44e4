#pragma once

#include "applicationupdater.h"
#include "faultpeers.h"
#include "firmwareupdater.h"
#include "outcomelog.h"

#include <QObject>

#include <memory>
#include <vector>

// What the operations of one schedule share: the peers, one outcome log per part of the
// application, and the objects that live for the whole schedule. While it lives, the reports of
// the process-wide parts (the link, the tuning-file manager) and of the two updaters reach their
// logs.
class FaultContext
{
public:
    static constexpr std::chrono::milliseconds kStallLimit{1500};
    static constexpr int kConnectTimeoutMs = 2000;
    static const QString kFirmwareVersion; // what the updater is told the device runs

    explicit FaultContext(FaultPeers& peers);
    ~FaultContext();

    FaultPeers& peers;
    OutcomeLog link{QStringLiteral("link"), true};
    OutcomeLog presets{QStringLiteral("presets")};
    OutcomeLog tunings{QStringLiteral("tunings")};
    OutcomeLog applicationUpdates{QStringLiteral("application updater")};
    OutcomeLog firmwareUpdates{QStringLiteral("firmware updater")};
    OutcomeLog firmwareUpload{QStringLiteral("firmware upload")};
    // Whether a login is the outcome of the running link operation, not a step on its way.
    bool loginIsOutcome = false;
    // Set while an operation's needs are brought about: what happens then reports nothing.
    bool preparing = false;
    // Whether the link reported a loss since it last logged in.
    bool linkLost = false;
    ApplicationUpdater applicationUpdater;
    FirmwareUpdater firmwareUpdater;
    // Objects of single steps, kept until the schedule ends so that a late report is seen.
    std::vector<std::unique_ptr<QObject>> spent;

    QStringList violations() const;

private:
    void wireLink();
    void wireTunings();
    template<typename Updater> void wireUpdater(Updater& updater, OutcomeLog& log);

    QObject m_wiring; // receiver of the connections above; they end with it
    QString m_lastLinkError;
};
