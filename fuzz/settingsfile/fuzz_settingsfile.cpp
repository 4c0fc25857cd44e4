// The application's settings file as another program, a crash or a hand may leave it, read
// through the application's own settings object: every key the application reads gives a value,
// and a value written reads back the same, with the file left readable by its owner alone.
#include "fuzzsupport.h"
#include "quietqt.h"
#include "qx8settings.h"
#include "settingskeys.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>

namespace {

QTemporaryDir* home = nullptr;
QString storeFile;
qint64 writes = 0;

const char* const kKeys[] = {
    settingskeys::kCurrentDeviceAddress,
    settingskeys::kCurrentDevicePassword,
    settingskeys::kExtraFeaturesReady,
    settingskeys::kResizeReady,
    settingskeys::kCurrentVersion,
    settingskeys::kPresetsCopy,
    settingskeys::kCheckOnStart,
    settingskeys::kAppAnalytics,
    settingskeys::kPeqType,
    settingskeys::kLimiterType,
    settingskeys::kGeqType,
    settingskeys::kDelayType,
    settingskeys::kMixerType,
    settingskeys::kConfigData,
    settingskeys::kCurrentPoData,
    settingskeys::kDelayPoJson,
    settingskeys::kCloudFirmwareVersion,
    settingskeys::kIsConfigMode,
    settingskeys::kConfigurableHomeScreen,
    settingskeys::kCrossoverNumBand,
    settingskeys::kCrossoverMonoSub,
    settingskeys::kWizardCurrentState,
};

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    const bool inMemory = QFileInfo(QStringLiteral("/dev/shm")).isWritable();
    home = new QTemporaryDir(inMemory ? QStringLiteral("/dev/shm/qx8fuzz-XXXXXX") : QString());
    if (!home->isValid())
        return 1;
    // Before the first settings object: Qt takes the folder once.
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home->path()));
    fuzzsupport::startQt(argc, argv);
    storeFile = QSettings(QSettings::NativeFormat, QSettings::UserScope,
                          QString::fromLatin1(settingskeys::kApplicationStore.organization),
                          QString::fromLatin1(settingskeys::kApplicationStore.application))
                    .fileName();
    return QDir().mkpath(QFileInfo(storeFile).absolutePath()) ? 0 : 1;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    {
        QFile file(storeFile);
        FUZZ_CHECK(file.open(QIODevice::WriteOnly));
        FUZZ_CHECK(file.write(reinterpret_cast<const char*>(data), qint64(size)) == qint64(size));
        // Qt reads the file again only when its size or time changed.
        FUZZ_CHECK(file.setFileTime(QDateTime::fromMSecsSinceEpoch(++writes * 1000),
                                    QFileDevice::FileModificationTime));
    }
    QX8Settings settings;
    for (const char* key : kKeys) {
        const QVariant value = settings.value(QLatin1String(key), QStringLiteral("default"));
        FUZZ_CHECK(settings.contains(QLatin1String(key)) || value == QStringLiteral("default"));
        value.toString();
        value.toBool();
        value.toInt();
    }

    const QString written = QString::number(writes);
    settings.setValue(QLatin1String(settingskeys::kCurrentDevicePassword), written);
    FUZZ_CHECK(QX8Settings().value(QLatin1String(settingskeys::kCurrentDevicePassword)) == written);
    FUZZ_CHECK(
        (QFile(storeFile).permissions() & (QFileDevice::ReadGroup | QFileDevice::ReadOther)) == 0);
    return 0;
}
