#include "faultcontext.h"

#include "tcpadaptor.h"
#include "tuningfilemanager.h"

const QString FaultContext::kFirmwareVersion = QStringLiteral("2.4.1");

FaultContext::FaultContext(FaultPeers& peers) : peers(peers)
{
    applicationUpdater.setStallLimit(kStallLimit);
    firmwareUpdater.setStallLimit(kStallLimit);
    firmwareUpdater.setFirmwareVersion(kFirmwareVersion);
    applicationUpdater.clearCache();
    firmwareUpdater.clearCache();
    wireLink();
    wireTunings();
    wireUpdater(applicationUpdater, applicationUpdates);
    wireUpdater(firmwareUpdater, firmwareUpdates);
}

FaultContext::~FaultContext() = default;

QStringList FaultContext::violations() const
{
    return link.violations() + presets.violations() + tunings.violations() +
           applicationUpdates.violations() + firmwareUpdates.violations() +
           firmwareUpload.violations();
}

// A login nobody asked for is a report while no link operation runs; a login on the way to a
// control operation is no outcome of it.
void FaultContext::wireLink()
{
    TCPAdaptor* adaptor = TCPAdaptor::instance();
    QObject::connect(adaptor, &TCPAdaptor::vimbalReady, &m_wiring, [this] {
        linkLost = false;
        if (preparing)
            return;
        if (!link.isRunning() || loginIsOutcome)
            link.success(QStringLiteral("logged in"));
    });
    QObject::connect(adaptor, &TCPAdaptor::error, &m_wiring,
                     [this](const QString& text) { m_lastLinkError = text; });
    QObject::connect(adaptor, &TCPAdaptor::connectionLost, &m_wiring, [this] {
        linkLost = true;
        if (!preparing)
            link.failure(QStringLiteral("connection lost: ") + m_lastLinkError);
    });
    QObject::connect(adaptor, &TCPAdaptor::timeOutError, &m_wiring, [this] {
        if (!preparing)
            link.failure(QStringLiteral("connect timed out"));
    });
    QObject::connect(adaptor, &TCPAdaptor::incorrectPassword, &m_wiring, [this] {
        if (!preparing)
            link.failure(QStringLiteral("password refused"));
    });
}

void FaultContext::wireTunings()
{
    TuningFileManager* manager = TuningFileManager::instance();
    QObject::connect(manager, &TuningFileManager::initialized, &m_wiring, [this](bool success) {
        if (success)
            tunings.success(QStringLiteral("initialized"));
        else
            tunings.failure(QStringLiteral("initialization failed"));
    });
    QObject::connect(manager, &TuningFileManager::changesApplied, &m_wiring,
                     [this] { tunings.success(QStringLiteral("changes applied")); });
    QObject::connect(manager, &TuningFileManager::updatedFromCloud, &m_wiring,
                     [this] { tunings.success(QStringLiteral("updated from the cloud")); });
    QObject::connect(manager, &TuningFileManager::tuningsReset, &m_wiring,
                     [this] { tunings.success(QStringLiteral("reset")); });
    QObject::connect(manager, &TuningFileManager::error, &m_wiring,
                     [this](const QString& text) { tunings.note(text); });
}

// A check ends in the latest version or an error; a download in the image or an error. The
// empty version a failure clears the screens with is no outcome.
template<typename Updater> void FaultContext::wireUpdater(Updater& updater, OutcomeLog& log)
{
    QObject::connect(&updater, &Updater::latestVersionWithUrl, &m_wiring,
                     [this, &log](const QString& version) {
                         if (!preparing && !version.isEmpty())
                             log.success(QStringLiteral("latest version ") + version);
                     });
    QObject::connect(&updater, &Updater::updateDownloaded, &m_wiring, [this, &log] {
        if (!preparing)
            log.success(QStringLiteral("image downloaded"));
    });
    QObject::connect(&updater, &Updater::error, &m_wiring, [this, &log](const QString& text) {
        if (!preparing)
            log.failure(text);
    });
}
