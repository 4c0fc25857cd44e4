#include "firmwareupdater.h"

#include "cloudendpoints.h"
#include "qx8settings.h"
#include "settingskeys.h"
#include "updatefolders.h"

#include <QCoreApplication>
#include <QDebug>

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
}

void FirmwareUpdater::checkOnStartup()
{
    if (firmwareVersion().isEmpty() || updateState() != CheckForUpdate)
        return;
    if (QX8Settings().value(settingskeys::kCheckOnStart, QStringLiteral("true")).toString() ==
        QLatin1String("true"))
        checkForUpdate();
}

QString FirmwareUpdater::firmwareToolPage() const
{
    return CloudEndpoints::instance().firmwareToolPageUrl().toString(QUrl::FullyEncoded);
}

bool FirmwareUpdater::isFirstGreaterThanSecond(const QString& newVersion,
                                               const QString& oldVersion) const
{
    return updatefeed::isFirstGreaterThanSecond(newVersion, oldVersion);
}

void FirmwareUpdater::setFirmwareVersion(const QString& version)
{
    setOwnVersion(version);
    checkInstall(version);
}

void FirmwareUpdater::expectAfterRestart(const QString& version)
{
    m_expectedVersion = version;
    m_expectedAddress = deviceAddress();
    m_installResult.clear();
    m_installConfirmed = false;
    Q_EMIT installResultChanged();
}

// An image the device refused to install leaves it on its old version, as does one that never
// arrived whole: only the version it runs tells.
void FirmwareUpdater::checkInstall(const QString& reportedVersion)
{
    if (m_expectedVersion.isEmpty() || reportedVersion.isEmpty() ||
        deviceAddress() != m_expectedAddress)
        return;
    m_installConfirmed =
        !updatefeed::isFirstGreaterThanSecond(reportedVersion, m_expectedVersion) &&
        !updatefeed::isFirstGreaterThanSecond(m_expectedVersion, reportedVersion);
    m_installResult =
        m_installConfirmed
            ? QStringLiteral("Firmware v%1 is running on the device.").arg(reportedVersion)
            : QStringLiteral("Firmware v%1 is not running on the device: it reports v%2, so "
                             "the update was not installed.")
                  .arg(m_expectedVersion, reportedVersion);
    qInfo().noquote() << m_installResult;
    m_expectedVersion.clear();
    Q_EMIT installResultChanged();
}

QString FirmwareUpdater::deviceAddress()
{
    return QX8Settings().value(settingskeys::kCurrentDeviceAddress).toString();
}

void FirmwareUpdater::announceStage(Stage stage)
{
    static_assert(int(UploadUpdate) == int(Stage::ImageReady), "the states match the stages");
    Q_EMIT updateStateChanged(UpdateState(stage));
}
