// The application's settings file as another program, a crash or a hand may leave it. Read as
// text it means what it means to Qt's own IniFormat reader, as long as nothing in it is a form Qt
// would deserialize (which the reader leaves out, and Qt is then not asked). Read through the
// application's settings object, every key the application reads gives a value, and a value
// written reads back the same: from a file left owner-only that Qt reads the same way, or, where
// the store's folder is read-only, from memory, the file left as it was.
#include "fuzzsupport.h"
#include "privatemounts.h"
#include "quietqt.h"
#include "qx8settings.h"
#include "qx8settingsini.h"
#include "qx8settingsstore.h"
#include "settingskeys.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>

namespace {

QString storeFile;
QString qtFile;
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

QByteArray bytes(const uint8_t* data, size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), int(size));
}

// Written with a time of its own: QSettings reads a file again only when its size or time
// changed. The time is set once the content is flushed, which would set it to the moment (and
// two writes of one size in one millisecond look unchanged).
void writeFile(const QString& path, const QByteArray& content)
{
    QFile file(path);
    FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    FUZZ_CHECK(file.write(content) == content.size() && file.flush());
    FUZZ_CHECK(file.setFileTime(QDateTime::fromMSecsSinceEpoch(++writes * 1000),
                                QFileDevice::FileModificationTime));
}

// QSettings finds a key only in its plain form: without leading, trailing or doubled slashes.
bool isPlainKey(const QString& key)
{
    return !key.isEmpty() && !key.startsWith(QLatin1Char('/')) && !key.endsWith(QLatin1Char('/')) &&
           !key.contains(QLatin1String("//"));
}

QSettings::SettingsMap plainKeysOf(const QSettings::SettingsMap& values)
{
    QSettings::SettingsMap plain;
    for (auto entry = values.cbegin(); entry != values.cend(); ++entry) {
        if (isPlainKey(entry.key()))
            plain.insert(entry.key(), entry.value());
    }
    return plain;
}

// Only for a text in which the reader here found nothing for Qt to deserialize.
QSettings::SettingsMap readByQt(const QByteArray& text)
{
    writeFile(qtFile, text);
    const QSettings qt(qtFile, QSettings::IniFormat);
    QSettings::SettingsMap values;
    for (const QString& key : qt.allKeys()) {
        if (isPlainKey(key))
            values.insert(key, qt.value(key));
    }
    return values;
}

bool sameValues(const QSettings::SettingsMap& ours, const QSettings::SettingsMap& qt)
{
    if (ours.keys() != qt.keys())
        return false;
    for (auto entry = qt.cbegin(); entry != qt.cend(); ++entry) {
        const QVariant& mine = ours.value(entry.key());
        if (mine.userType() != entry.value().userType() || mine != entry.value())
            return false;
    }
    return true;
}

void readsAsQtReads(const QByteArray& text)
{
    const settingsini::Content content = settingsini::parse(text);
    if (content.leftOut.isEmpty())
        FUZZ_CHECK(sameValues(plainKeysOf(content.values), readByQt(text)));
}

// Every key the application reads gives its value or the default.
void readsTheApplicationsKeys()
{
    const QX8Settings settings;
    for (const char* key : kKeys) {
        const QVariant value = settings.value(QLatin1String(key), QStringLiteral("default"));
        FUZZ_CHECK(settings.contains(QLatin1String(key)) || value == QStringLiteral("default"));
        value.toString();
        value.toBool();
        value.toInt();
    }
}

QString writePassword(const QString& variant = QString())
{
    const QString written = QString::number(writes) + variant;
    QX8Settings().setValue(QLatin1String(settingskeys::kCurrentDevicePassword), written);
    FUZZ_CHECK(QX8Settings().value(QLatin1String(settingskeys::kCurrentDevicePassword)) == written);
    return written;
}

void writableStore(const QByteArray& input)
{
    writeFile(storeFile, input);
    readsTheApplicationsKeys();
    writePassword();
    FUZZ_CHECK(
        (QFile(storeFile).permissions() & (QFileDevice::ReadGroup | QFileDevice::ReadOther)) == 0);
    // What was written reads the same to Qt.
    QFile written(storeFile);
    FUZZ_CHECK(written.open(QIODevice::ReadOnly));
    const QByteArray text = written.readAll();
    FUZZ_CHECK(settingsini::parse(text).leftOut.isEmpty());
    readsAsQtReads(text);
}

void readOnlyStore(const QByteArray& input)
{
    const QString folder = QFileInfo(storeFile).absolutePath();
    writeFile(storeFile, input);
    FUZZ_CHECK(qx8test::mountReadOnly(folder));
    readsTheApplicationsKeys();
    writePassword(); // held in memory
    readsTheApplicationsKeys();
    QFile file(storeFile);
    FUZZ_CHECK(file.open(QIODevice::ReadOnly) && file.readAll() == input);
    file.close();
    FUZZ_CHECK(qx8test::unmount(folder));
    // The next change reaches the disk again, and with it all that was held in memory.
    const QString written = writePassword(QStringLiteral("again"));
    QFile saved(storeFile);
    FUZZ_CHECK(saved.open(QIODevice::ReadOnly));
    FUZZ_CHECK(settingsini::parse(saved.readAll())
                   .values.value(QLatin1String(settingskeys::kCurrentDevicePassword)) == written);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    // A folder of its own to make read-only, seen by no other process.
    if (!qx8test::enterPrivateMounts())
        return 1;
    const bool inMemory = QFileInfo(QStringLiteral("/dev/shm")).isWritable();
    // Removed when the run ends.
    static const QTemporaryDir home(inMemory ? QStringLiteral("/dev/shm/qx8fuzz-XXXXXX")
                                             : QString());
    if (!home.isValid())
        return 1;
    // Before the first settings object: Qt takes the folder once.
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.path()));
    fuzzsupport::startQt(argc, argv);
    storeFile = settingsstore::fileName(settingskeys::kApplicationStore);
    qtFile = home.filePath(QStringLiteral("qt.ini"));
    return QDir().mkpath(QFileInfo(storeFile).absolutePath()) ? 0 : 1;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray input = bytes(data, size);
    readsAsQtReads(input);
    writableStore(input);
    readOnlyStore(input);
    return 0;
}
