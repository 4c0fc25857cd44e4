#include "firmwareupdater.h"

#include "qx8settings.h"
#include "settingskeys.h"
#include "updatefolders.h"

#include <QCoreApplication>

FirmwareUpdater* FirmwareUpdater::instance()
{
    static FirmwareUpdater* updater = new FirmwareUpdater(QCoreApplication::instance());
    return updater;
}

FirmwareUpdater::FirmwareUpdater(QObject* parent) : ImageUpdater(profile(), parent) {}

ImageUpdater::Profile FirmwareUpdater::profile()
{
    // Firmware images carry no suffix: the uploader opens them by their bare version.
    Profile profile{updatefeed::Product::Firmware, updatefolders::firmwareImages(), QString()};
    profile.oneCheckAtATime = true;
    profile.clearsVersionsQuietly = true;
    profile.announcesCachedImageFirst = true;
    return profile;
}

void FirmwareUpdater::resetAll()
{
    setIsIdle(true);
    cancelRequest();
    setVersionsWithSignals(QString(), QString());
    setDownloadInProgress(false);
    setProgress(0);
    setUpdateState(CheckForUpdate);
    m_startupCheckDue = true;
}

void FirmwareUpdater::checkOnStartup()
{
    if (!m_startupCheckDue || firmwareVersion().isEmpty() || updateState() != CheckForUpdate)
        return;
    m_startupCheckDue = false;
    if (QX8Settings().value(settingskeys::kCheckOnStart, QStringLiteral("true")).toString() ==
        QLatin1String("true"))
        checkForUpdate();
}

bool FirmwareUpdater::isFirstGreaterThanSecond(const QString& newVersion,
                                               const QString& oldVersion) const
{
    return updatefeed::isFirstGreaterThanSecond(newVersion, oldVersion);
}

void FirmwareUpdater::announceStage(Stage stage)
{
    static_assert(int(UploadUpdate) == int(Stage::ImageReady), "the states match the stages");
    Q_EMIT updateStateChanged(UpdateState(stage));
}
