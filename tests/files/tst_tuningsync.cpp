// The tuning-file manager against a device's FTP storage served by pyftpdlib on port 21: the
// local store seeded from the factory set, a sync that fetches exactly what the store lacks,
// hostile listings, a fetched file the store cannot take, and a device that goes away mid-sync.
#include "datafolders.h"
#include "testharness.h"
#include "testmain.h"
#include "tuningfilemanager.h"
#include "tuningfixture.h"

#include <QDirIterator>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QtTest>

namespace {
QStringList sorted(QStringList list)
{
    list.sort();
    return list;
}

} // namespace

class TestTuningSync : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void firstOpenSeedsTheLocalStore();
    void syncFetchesExactlyWhatIsMissing();
    void hostileListingWritesNothingOutside();
    void unwritableFetchFailsTheSync();
    void deviceGoneMidSyncThenReconnects();

private:
    // Runs one initialisation to its end and returns its outcome.
    bool initialize(const QString& address, bool full);

    TuningFileManager* m_manager = nullptr;
    BrandSeriesMap m_map;
    QStringList m_brands;
    QStringList m_progress;
};

void TestTuningSync::initTestCase()
{
    USER_PATH = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation).toStdString();
    m_manager = TuningFileManager::instance();
    connect(m_manager, &TuningFileManager::mapBrandSeriesToFileInfoList, this,
            [this](const BrandSeriesMap& map) { m_map = map; });
    connect(m_manager, &TuningFileManager::brandList, this,
            [this](const QStringList& brands) { m_brands = brands; });
    connect(m_manager, &TuningFileManager::progressMessage, this,
            [this](const QString& text) { m_progress.append(text); });
}

void TestTuningSync::cleanupTestCase()
{
    m_manager->shutdown();
}

bool TestTuningSync::initialize(const QString& address, bool full)
{
    m_map.clear();
    m_brands.clear();
    m_progress.clear();
    QSignalSpy done(m_manager, &TuningFileManager::initialized);
    m_manager->initialize(address, full);
    if (!done.wait(qx8test::timeoutMs()) || done.size() != 1) {
        qWarning("no single initialized()");
        return false;
    }
    return done.first().first().toBool();
}

void TestTuningSync::firstOpenSeedsTheLocalStore()
{
    QVERIFY(initialize(QString(), false));
    const QStringList speakers = QDir(localTuningFolder("SpeakerTunings")).entryList(QDir::Files);
    const QStringList amplifiers = QDir(localTuningFolder("AmplifierData")).entryList(QDir::Files);
    QCOMPARE(speakers.size(), 372);
    QCOMPARE(amplifiers.size(), 131);
    int records = 0;
    for (const FileInfoList& group : qAsConst(m_map)) {
        records += group.size();
        QVERIFY(group.first().brand != "Custom");
    }
    QCOMPARE(records, 372 + 131 - 5);
    QCOMPARE(m_brands.mid(0, 3), (QStringList{"Show All", "Wuvo", "Morla"}));
    QVERIFY(!m_brands.contains("Custom"));
    QCOMPARE(m_progress.first(), QStringLiteral("Initializing..."));
    QCOMPARE(m_progress.last(), QStringLiteral("Parsing tunings...100%"));
}

void TestTuningSync::syncFetchesExactlyWhatIsMissing()
{
    TuningDevice device;
    QVERIFY(device.seed());
    QVERIFY(device.start());
    QVERIFY(initialize(device.address(), true));

    QStringList deviceOnly;
    for (const QString& folder : TuningDevice::folders) {
        for (const QString& file : device.seeded(folder, "deviceOnly")) {
            deviceOnly.append(file);
            QCOMPARE(qx8test::fileContent(localTuningFolder(folder) + '/' + file),
                     qx8test::fileContent(device.storage() + '/' + folder + '/' + file));
        }
    }
    QCOMPARE(sorted(device.commands("RETR ")), sorted(deviceOnly));

    QHash<QString, QString> expected;
    for (const QString& folder : TuningDevice::folders) {
        for (const char* kind : {"same", "newer", "deviceOnly"}) {
            for (const QString& file : device.seeded(folder, kind))
                expected.insert(file, FileInfo::loaded);
        }
        for (const QString& file : device.seeded(folder, "older"))
            expected.insert(file, FileInfo::hasUpdate);
        for (const QString& file : device.seeded(folder, "missing"))
            expected.insert(file, FileInfo::notLoaded);
    }
    QSet<QString> states;
    for (const FileInfoList& group : qAsConst(m_map)) {
        for (const FileInfo& info : group) {
            QCOMPARE(info.state, expected.value(info.file));
            states.insert(info.state);
        }
    }
    QCOMPARE(states.size(), 3);
    QCOMPARE(m_progress.mid(0, 3), (QStringList{"Initializing...", "Connecting to remote server...",
                                                "Receiving tunings..."}));
    QCOMPARE(m_progress.last(), QStringLiteral("Parsing tunings...100%"));
}

// Names that would lead out of the store are refused before any command names them.
void TestTuningSync::hostileListingWritesNothingOutside()
{
    qx8test::expectWarnings("^Device listing of /(SpeakerTunings|AmplifierData) holds a name that "
                            "is refused: ",
                            8);
    TuningDevice device;
    QVERIFY(device.seed());
    QFile bait(device.storage() + "/x_a_2014_1_1_1_1.hdf");
    QVERIFY(bait.open(QIODevice::WriteOnly));
    bait.close();
    QVERIFY(device.start({"../../x_a_2014_1_1_1_1.hdf", "..%2F..%2Fx_a_2014_1_1_1_1.hdf",
                          ".x_a_2014_1_1_1_1.hdf", "x_a_2014_1_1_1_1.hdf\rDELE y"}));
    QVERIFY(initialize(device.address(), true));
    for (const QString& line : device.commandLog())
        QVERIFY2(!line.contains("x_a_"), qPrintable(line));
    for (const QString& root : {QString::fromStdString(USER_PATH), QDir::homePath()}) {
        QDirIterator everything(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (everything.hasNext())
            QVERIFY2(!everything.next().contains("x_a_"), qPrintable(everything.filePath()));
    }
}

// A folder in the local store where a fetched file would go: the sync fails and says which file.
void TestTuningSync::unwritableFetchFailsTheSync()
{
    const QString name = "Zeta_Blocked_One_2022_1_1_1_1.hdf";
    const QString blocked = localTuningFolder("SpeakerTunings") + '/' + name;
    QVERIFY(QDir().mkpath(blocked));
    auto unblock = qScopeGuard([&] { QDir().rmdir(blocked); });
    TuningDevice device;
    QVERIFY(device.seed());
    QFile onDevice(device.storage() + "/SpeakerTunings/" + name);
    QVERIFY(onDevice.open(QIODevice::WriteOnly) && onDevice.write("tuning") == 6);
    onDevice.close();
    QVERIFY(device.start());
    QTest::ignoreMessage(QtDebugMsg, qPrintable("Failed to create file " + blocked));
    QSignalSpy errors(m_manager, &TuningFileManager::error);
    QVERIFY(!initialize(device.address(), true));
    QCOMPARE(device.commands("RETR ").filter(name).size(), 1);
    QCOMPARE(errors.size(), 1);
    QVERIFY2(errors.first().first().toString().contains(blocked),
             qPrintable(errors.first().first().toString()));
}

void TestTuningSync::deviceGoneMidSyncThenReconnects()
{
    TuningDevice device;
    QVERIFY(device.seed(300));
    QVERIFY(device.start());
    QSignalSpy done(m_manager, &TuningFileManager::initialized);
    m_manager->initialize(device.address(), true);
    QVERIFY(
        QTest::qWaitFor([&] { return !device.commands("RETR ").isEmpty(); }, qx8test::timeoutMs()));
    device.stop();
    QVERIFY(done.wait(qx8test::timeoutMs()));
    QCOMPARE(done.first().first().toBool(), false);
    const QStringList extras = device.seeded("SpeakerTunings", "deviceOnly");
    const QStringList local = QDir(localTuningFolder("SpeakerTunings")).entryList(QDir::Files);
    QVERIFY(!QSet<QString>(local.begin(), local.end())
                 .contains(QSet<QString>(extras.begin(), extras.end())));

    QVERIFY(device.restart());
    QVERIFY(initialize(device.address(), true));
    for (const QString& file : extras)
        QVERIFY2(QFile::exists(localTuningFolder("SpeakerTunings") + '/' + file), qPrintable(file));
}

QX8_TEST_GUILESS_MAIN(TestTuningSync)
#include "tst_tuningsync.moc"
