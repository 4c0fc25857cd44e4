// Changes to the device and the local store through the tuning-file manager, against real
// servers: the device's FTP storage (pyftpdlib on port 21) and the cloud (the harness HTTP
// server): apply, apply cut off halfway, the cloud update with its faults and its bounds on the
// disk (a small disk of its own for the staging folders), and the reset.
#include "datafolders.h"
#include "httpserverprocess.h"
#include "privatemounts.h"
#include "testharness.h"
#include "testmain.h"
#include "tuningfilemanager.h"
#include "tuningfixture.h"
#include "tuningname.h"

#include <QDirIterator>
#include <QElapsedTimer>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QStorageInfo>
#include <QtTest>

namespace {
QSet<QString> setOf(const QStringList& list)
{
    return QSet<QString>(list.begin(), list.end());
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QString folderOf(const FileInfo& info)
{
    return info.type == FileInfo::speakerType ? "SpeakerTunings" : "AmplifierData";
}

// Where a cloud update stages what it downloads.
QString cloudStaging()
{
    return QString::fromStdString(USER_PATH) + "/TuningFiles/Cloud";
}

// Every file below a folder, hidden ones included.
QStringList filesBelow(const QString& folder)
{
    QStringList files;
    QDirIterator all(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (all.hasNext())
        files.append(all.next());
    return files;
}
} // namespace

class TestTuningChanges : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void cloudManifestFails_data();
    void cloudManifestFails();
    void cloudUpdateTakesNewerFiles();
    void cloudUpdateFitsANearlyFullDisk();
    void cloudFileTooLargeIsNamed();
    void cloudUpdateStopsBeforeFillingTheDisk_data();
    void cloudUpdateStopsBeforeFillingTheDisk();
    void cloudUpdateStopsOnADiskWithoutRoomForFiles();
    void applyAddUpdateRemove();
    void applyWithoutSize_data();
    void applyWithoutSize();
    void applyCutOffHalfway();
    void resetToFactorySet();

private:
    bool waitFor(QSignalSpy& spy);
    bool sync(const TuningDevice& device);
    BrandSeriesMap choose(const QList<QPair<QString, QString>>& choices) const;
    // Groups for the actions `wanted`, in order, each with a record in the state its action
    // needs; `expected` becomes what the device's folders hold once they are carried out.
    QList<QPair<QString, QString>> chooseGroups(QStringList wanted,
                                                QHash<QString, QSet<QString>>& expected) const;

    TuningFileManager* m_manager = nullptr;
    HttpServerProcess m_cloud;
    QTemporaryDir m_cloudFolder;
    BrandSeriesMap m_map;
    QStringList m_progress;
};

void TestTuningChanges::initTestCase()
{
    USER_PATH = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation).toStdString();
    const QString speakers = m_cloudFolder.filePath("sp-speaker-tunings/");
    const QString amplifiers = m_cloudFolder.filePath("sp-amplifier-data/");
    // A newer stamp of a factory file, the same stamp of another, new names, and faults.
    QVERIFY(writeFile(speakers + "Manifest",
                      "Altavox_Arc_M8_2021_5_23_3_40.hdf\r\n\r\n"
                      "Altavox_Arc_C6_Cardioid_2019_5_22_17_1.hdf\r\n"
                      "Cloud_New_One_2022_1_1_1_1.hdf\r\n"
                      "Cloud_Gone_One_2022_1_1_1_1.hdf\r\nCloud_Cut_One_2022_1_1_1_1.hdf\r\n"
                      "../../Cloud_Evil_One_2022_1_1_1_1.hdf\r\n<html>\r\n"));
    QVERIFY(writeFile(amplifiers + "Manifest", "Cloud_Amp_One_2022_1_1_1_1.hdf"));
    for (const QString name : {"Altavox_Arc_M8_2021_5_23_3_40.hdf",
                               "Cloud_New_One_2022_1_1_1_1.hdf", "Cloud_Cut_One_2022_1_1_1_1.hdf"})
        QVERIFY(writeFile(speakers + name, name.toUtf8().repeated(50)));
    QVERIFY(writeFile(amplifiers + "Cloud_Amp_One_2022_1_1_1_1.hdf", "amp"));
    QVERIFY(m_cloud.start(m_cloudFolder.path(),
                          {"/sp-speaker-tunings/Cloud_Cut_One_2022_1_1_1_1.hdf=cut"}));
    qputenv("QX8_CLOUD_BASE_URL", m_cloud.url("/").toString().toUtf8());

    m_manager = TuningFileManager::instance();
    connect(m_manager, &TuningFileManager::mapBrandSeriesToFileInfoList, this,
            [this](const BrandSeriesMap& map) { m_map = map; });
    connect(m_manager, &TuningFileManager::progressMessage, this,
            [this](const QString& text) { m_progress.append(text); });
}

void TestTuningChanges::cleanupTestCase()
{
    m_manager->shutdown();
}

bool TestTuningChanges::waitFor(QSignalSpy& spy)
{
    return QTest::qWaitFor([&] { return !spy.isEmpty(); }, 2 * qx8test::timeoutMs());
}

bool TestTuningChanges::sync(const TuningDevice& device)
{
    QSignalSpy done(m_manager, &TuningFileManager::initialized);
    m_manager->initialize(device.address(), true);
    return waitFor(done) && done.first().first().toBool();
}

// The current groups with the given (brand, series) keys set to the given actions.
BrandSeriesMap TestTuningChanges::choose(const QList<QPair<QString, QString>>& choices) const
{
    BrandSeriesMap map = m_map;
    for (const auto& choice : choices) {
        for (auto group = map.begin(); group != map.end(); ++group) {
            if (group.key().first + '/' + group.key().second == choice.first)
                group.value().first().setAction(choice.second);
        }
    }
    return map;
}

void TestTuningChanges::cloudManifestFails_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("text"); // what the user reads
    QTest::newRow("missing") << "404"
                             << "Failed to connect to update server. Please check your internet "
                                "connection and try again.";
    QTest::newRow("too large") << "gzip:2097152"
                               << "/sp-speaker-tunings/Manifest is larger than the 1 MiB allowed";
}

void TestTuningChanges::cloudManifestFails()
{
    QFETCH(QString, fault);
    QFETCH(QString, text);
    QVERIFY(m_cloud.setFault("/sp-speaker-tunings/Manifest", fault));
    auto clearFault = qScopeGuard([&] { m_cloud.setFault("/sp-speaker-tunings/Manifest", "off"); });
    qx8test::expectWarnings("^Failed to download .*/Manifest");
    qx8test::expectWarnings("^Cloud manifest not downloaded: ");
    QSignalSpy errors(m_manager, &TuningFileManager::error);
    QSignalSpy done(m_manager, &TuningFileManager::initialized);
    QSignalSpy updated(m_manager, &TuningFileManager::updatedFromCloud);
    m_manager->onSignalUpdateFromCloud();
    QVERIFY(waitFor(done));
    QCOMPARE(done.first().first().toBool(), false);
    QCOMPARE(errors.size(), 1);
    QVERIFY2(errors.first().first().toString().contains(text),
             qPrintable(errors.first().first().toString()));
    QCOMPARE(updated.size(), 0);
}

void TestTuningChanges::cloudUpdateTakesNewerFiles()
{
    const int before = m_cloud.requests().size();
    qx8test::expectWarnings("^Cloud manifest line refused: ", 2);
    qx8test::expectWarnings("^Cloud tuning file not downloaded: ", 2);
    qx8test::expectWarnings("^Failed to download ", 2);
    const QString newOne = "Cloud_New_One_2022_1_1_1_1.hdf";
    QTest::ignoreMessage(
        QtDebugMsg,
        qPrintable("Download finised: " + m_cloud.url("/sp-speaker-tunings/Manifest").toString()));
    QTest::ignoreMessage(
        QtDebugMsg, QRegularExpression("^Cloud files: \\(Altavox_Arc_M8_2021_5_23_3_40.hdf, "));
    QTest::ignoreMessage(QtDebugMsg, qPrintable("Entered dir /SpeakerTunings " + newOne));
    QTest::ignoreMessage(
        QtDebugMsg,
        qPrintable(" Add cloud file psth - " + localTuningFolder("SpeakerTunings") + '/' + newOne));
    QSignalSpy errors(m_manager, &TuningFileManager::error);
    QSignalSpy updated(m_manager, &TuningFileManager::updatedFromCloud);
    m_manager->onSignalUpdateFromCloud();
    QVERIFY(waitFor(updated));
    QCOMPARE(errors.size(), 1); // the missing and the cut file, said once
    // What was staged is in the store now, or was never to be.
    QCOMPARE(filesBelow(cloudStaging()), QStringList());

    QStringList paths;
    for (const HttpServerProcess::Request& request : m_cloud.requests().mid(before))
        paths.append(QString::fromUtf8(request.path));
    QCOMPARE(paths, (QStringList{"/sp-speaker-tunings/Manifest", "/sp-amplifier-data/Manifest",
                                 "/sp-speaker-tunings/Altavox_Arc_M8_2021_5_23_3_40.hdf",
                                 "/sp-speaker-tunings/Cloud_New_One_2022_1_1_1_1.hdf",
                                 "/sp-speaker-tunings/Cloud_Gone_One_2022_1_1_1_1.hdf",
                                 "/sp-speaker-tunings/Cloud_Cut_One_2022_1_1_1_1.hdf",
                                 "/sp-amplifier-data/Cloud_Amp_One_2022_1_1_1_1.hdf"}));
    const QSet<QString> speakers = setOf(QDir(localTuningFolder("SpeakerTunings")).entryList());
    QVERIFY(speakers.contains("Altavox_Arc_M8_2021_5_23_3_40.hdf"));
    QVERIFY(!speakers.contains("Altavox_Arc_M8_2020_5_23_3_39.hdf"));
    QVERIFY(speakers.contains("Cloud_New_One_2022_1_1_1_1.hdf"));
    QVERIFY(!speakers.contains("Cloud_Gone_One_2022_1_1_1_1.hdf"));
    QVERIFY(!speakers.contains("Cloud_Cut_One_2022_1_1_1_1.hdf"));
    QVERIFY(QFile::exists(localTuningFolder("AmplifierData") + "/Cloud_Amp_One_2022_1_1_1_1.hdf"));
}

// With far less than the run's total free, an ordinary update still completes within its margin.
void TestTuningChanges::cloudUpdateFitsANearlyFullDisk()
{
    const QString speakers = m_cloudFolder.filePath("sp-speaker-tunings/Manifest");
    const QString amplifiers = m_cloudFolder.filePath("sp-amplifier-data/Manifest");
    const QByteArray speakerManifest = qx8test::fileContent(speakers);
    const QByteArray amplifierManifest = qx8test::fileContent(amplifiers);
    const QString name = "Cloud_Small_One_2023_1_1_1_1.hdf";
    auto restore = qScopeGuard([&] {
        QVERIFY(writeFile(speakers, speakerManifest));
        QVERIFY(writeFile(amplifiers, amplifierManifest));
    });
    QVERIFY(writeFile(speakers, name.toUtf8()));
    QVERIFY(writeFile(amplifiers, ""));
    QVERIFY(writeFile(m_cloudFolder.filePath("sp-speaker-tunings/" + name), name.toUtf8()));
    QVERIFY(QDir().mkpath(cloudStaging()));
    QVERIFY(qx8test::mountSmallDisk(cloudStaging(), 40 * 1024 * 1024));
    auto unmount = qScopeGuard([] { qx8test::unmount(cloudStaging()); });
    QVERIFY(QStorageInfo(cloudStaging()).bytesAvailable() < kCloudUpdateBudget.total / 4);
    QSignalSpy errors(m_manager, &TuningFileManager::error);
    QSignalSpy updated(m_manager, &TuningFileManager::updatedFromCloud);
    m_manager->onSignalUpdateFromCloud();
    QVERIFY(waitFor(updated));
    QCOMPARE(errors.size(), 0);
    QVERIFY(QFile::exists(localTuningFolder("SpeakerTunings") + '/' + name));
}

// The only file wanted inflates past the ceiling of a tuning file: the user reads that, not a
// network failure, and nothing reaches the local store.
void TestTuningChanges::cloudFileTooLargeIsNamed()
{
    const QString speakers = m_cloudFolder.filePath("sp-speaker-tunings/Manifest");
    const QString amplifiers = m_cloudFolder.filePath("sp-amplifier-data/Manifest");
    const QString huge = "Cloud_Huge_Amp_2023_1_1_1_1.hdf";
    const QByteArray speakerManifest = qx8test::fileContent(speakers);
    const QByteArray amplifierManifest = qx8test::fileContent(amplifiers);
    auto restore = qScopeGuard([&] {
        QVERIFY(writeFile(speakers, speakerManifest));
        QVERIFY(writeFile(amplifiers, amplifierManifest));
        QVERIFY(m_cloud.setFault("/sp-amplifier-data/" + huge, "off"));
    });
    QVERIFY(writeFile(speakers, ""));
    QVERIFY(writeFile(amplifiers, huge.toUtf8() + "\n"));
    QVERIFY(writeFile(m_cloudFolder.filePath("sp-amplifier-data/" + huge), "amp"));
    QVERIFY(m_cloud.setFault("/sp-amplifier-data/" + huge,
                             QStringLiteral("gzip:%1").arg(64 * 1024 * 1024 + 1)));
    qx8test::expectWarnings("^Failed to download ");
    qx8test::expectWarnings("^Cloud tuning file not downloaded: ");
    QSignalSpy errors(m_manager, &TuningFileManager::error);
    QSignalSpy done(m_manager, &TuningFileManager::initialized);
    m_manager->onSignalUpdateFromCloud();
    QVERIFY(waitFor(done));
    QCOMPARE(errors.size(), 1);
    QVERIFY2(
        errors.first().first().toString().contains(huge + " is larger than the 64 MiB allowed"),
        qPrintable(errors.first().first().toString()));
    QVERIFY(!QFile::exists(localTuningFolder("AmplifierData") + "/" + huge));
}

// A compressed manifest of twenty names, each a kilobyte on the wire that inflates to 1 MiB: the
// update stops at its total, or before its disk keeps less than its margin free, says why, and
// leaves neither a staged file nor a change in the local store.
void TestTuningChanges::cloudUpdateStopsBeforeFillingTheDisk_data()
{
    constexpr qint64 mib = 1024 * 1024;
    QTest::addColumn<qint64>("disk"); // a disk of this size for the staging folders; 0: none
    QTest::addColumn<qint64>("total");
    QTest::addColumn<qint64>("margin");
    QTest::addColumn<int>("fetched"); // tuning files asked of the server
    QTest::addColumn<QString>("cause");
    // The manifests take a little of the total: the fifth file passes it.
    QTest::newRow("run total") << qint64(0) << 9 * mib / 2 << qint64(0) << 5
                               << "Together the files pass the 4.5 MiB allowed.";
    // Seven files and the manifests leave a little less than 9 MiB free: the eighth would pass
    // the margin.
    QTest::newRow("free space") << 16 * mib << kCloudUpdateBudget.total << 8 * mib << 8
                                << "and 8 MiB must stay free.";
    QTest::newRow("update's own margin")
        << 40 * mib << kCloudUpdateBudget.total << kCloudUpdateBudget.freeSpaceMargin << 8
        << "and 32 MiB must stay free.";
}

void TestTuningChanges::cloudUpdateStopsBeforeFillingTheDisk()
{
    QFETCH(qint64, disk);
    QFETCH(qint64, total);
    QFETCH(qint64, margin);
    const QString speakers = m_cloudFolder.filePath("sp-speaker-tunings/");
    const QString amplifiers = m_cloudFolder.filePath("sp-amplifier-data/Manifest");
    const QByteArray speakerManifest = qx8test::fileContent(speakers + "Manifest");
    const QByteArray amplifierManifest = qx8test::fileContent(amplifiers);
    QStringList names;
    for (int i = 1; i <= 20; ++i)
        names.append(QStringLiteral("Cloud_Bomb_%1_2024_1_1_1_1.hdf").arg(i));
    auto restore = qScopeGuard([&] {
        QVERIFY(writeFile(speakers + "Manifest", speakerManifest));
        QVERIFY(writeFile(amplifiers, amplifierManifest));
        QVERIFY(m_cloud.setFault("/sp-speaker-tunings/Manifest", "off"));
        for (const QString& name : qAsConst(names))
            QVERIFY(m_cloud.setFault("/sp-speaker-tunings/" + name, "off"));
        m_manager->setCloudUpdateBudget(kCloudUpdateBudget);
    });
    QVERIFY(writeFile(speakers + "Manifest", names.join("\r\n").toUtf8()));
    QVERIFY(m_cloud.setFault("/sp-speaker-tunings/Manifest", "gzip:0"));
    QVERIFY(writeFile(amplifiers, ""));
    for (const QString& name : qAsConst(names)) {
        QVERIFY(writeFile(speakers + name, name.toUtf8()));
        QVERIFY(m_cloud.setFault("/sp-speaker-tunings/" + name, "gzip:1048576"));
    }
    QVERIFY(QDir().mkpath(cloudStaging()));
    if (disk)
        QVERIFY(qx8test::mountSmallDisk(cloudStaging(), disk));
    auto unmount = qScopeGuard([&] {
        if (disk)
            qx8test::unmount(cloudStaging());
    });
    m_manager->setCloudUpdateBudget({total, margin});
    qx8test::expectWarnings("^Failed to download .*/Cloud_Bomb_");
    qx8test::expectWarnings("^Cloud update stopped: ");
    const QStringList localBefore = QDir(localTuningFolder("SpeakerTunings")).entryList();
    const int before = m_cloud.requests().size();
    QSignalSpy errors(m_manager, &TuningFileManager::error);
    QSignalSpy done(m_manager, &TuningFileManager::initialized);
    QSignalSpy updated(m_manager, &TuningFileManager::updatedFromCloud);
    QElapsedTimer clock;
    clock.start();
    m_manager->onSignalUpdateFromCloud();
    QVERIFY(waitFor(done));
    qInfo("stopped after %lld ms", clock.elapsed());

    QCOMPARE(done.first().first().toBool(), false);
    QCOMPARE(updated.size(), 0);
    QCOMPARE(errors.size(), 1);
    const QString said = errors.first().first().toString();
    QFETCH(QString, cause);
    QVERIFY2(said.startsWith("The update from the cloud was stopped; no tuning was changed.\n") &&
                 said.endsWith(cause),
             qPrintable(said));
    QFETCH(int, fetched);
    QCOMPARE(m_cloud.requests().size() - before, 2 + fetched);
    QCOMPARE(filesBelow(cloudStaging()), QStringList());
    QCOMPARE(QDir(localTuningFolder("SpeakerTunings")).entryList(), localBefore);
}

// A disk for the staging folders with bytes to spare but room for only a few files: the manifests
// and the first tuning files arrive, then the next cannot even be made. That is the disk being
// full: the update stops, says so, and copies none of the files that did arrive.
void TestTuningChanges::cloudUpdateStopsOnADiskWithoutRoomForFiles()
{
    const QString speakers = m_cloudFolder.filePath("sp-speaker-tunings/");
    const QString amplifiers = m_cloudFolder.filePath("sp-amplifier-data/Manifest");
    const QByteArray speakerManifest = qx8test::fileContent(speakers + "Manifest");
    const QByteArray amplifierManifest = qx8test::fileContent(amplifiers);
    QStringList names;
    for (int i = 1; i <= 6; ++i)
        names.append(QStringLiteral("Cloud_Many_%1_2024_1_1_1_1.hdf").arg(i));
    auto restore = qScopeGuard([&] {
        QVERIFY(writeFile(speakers + "Manifest", speakerManifest));
        QVERIFY(writeFile(amplifiers, amplifierManifest));
    });
    QVERIFY(writeFile(speakers + "Manifest", names.join("\r\n").toUtf8()));
    QVERIFY(writeFile(amplifiers, ""));
    for (const QString& name : qAsConst(names))
        QVERIFY(writeFile(speakers + name, name.toUtf8()));
    // Its root, the staging folders, the two manifests and a few tuning files.
    QVERIFY(QDir().mkpath(cloudStaging()));
    QVERIFY(qx8test::mountSmallDisk(cloudStaging(), 40 * 1024 * 1024, 11));
    auto unmount = qScopeGuard([] { qx8test::unmount(cloudStaging()); });
    qx8test::expectWarnings("^Failed to download .*/Cloud_Many_");
    qx8test::expectWarnings("^Cloud update stopped: ");
    const QStringList localBefore = QDir(localTuningFolder("SpeakerTunings")).entryList();
    const int before = m_cloud.requests().size();
    QSignalSpy errors(m_manager, &TuningFileManager::error);
    QSignalSpy done(m_manager, &TuningFileManager::initialized);
    QSignalSpy updated(m_manager, &TuningFileManager::updatedFromCloud);
    m_manager->onSignalUpdateFromCloud();
    QVERIFY(waitFor(done));

    QCOMPARE(done.first().first().toBool(), false);
    QCOMPARE(updated.size(), 0);
    QCOMPARE(errors.size(), 1);
    const QString said = errors.first().first().toString();
    QVERIFY2(said.startsWith("The update from the cloud was stopped; no tuning was changed.\n") &&
                 said.endsWith(": No space left on device"),
             qPrintable(said));
    // Beside the manifests: a file that arrived, the one that could not be made, none after it.
    const int fetched = m_cloud.requests().size() - before - 2;
    QVERIFY2(fetched >= 2 && fetched < names.size(), qPrintable(QString::number(fetched)));
    QCOMPARE(filesBelow(cloudStaging()), QStringList());
    QCOMPARE(QDir(localTuningFolder("SpeakerTunings")).entryList(), localBefore);
}

QList<QPair<QString, QString>>
TestTuningChanges::chooseGroups(QStringList wanted, QHash<QString, QSet<QString>>& expected) const
{
    QList<QPair<QString, QString>> choices;
    for (auto group = m_map.cbegin(); group != m_map.cend() && !wanted.isEmpty(); ++group) {
        const QString action = wanted.first();
        const QString needs = action == FileInfo::willRemove   ? FileInfo::loaded
                              : action == FileInfo::willUpdate ? FileInfo::hasUpdate
                                                               : FileInfo::notLoaded;
        if (std::none_of(group->begin(), group->end(),
                         [&](const FileInfo& info) { return info.state == needs; }))
            continue;
        choices.append({group.key().first + '/' + group.key().second, wanted.takeFirst()});
        for (const FileInfo& info : *group) {
            QSet<QString>& files = expected[folderOf(info)];
            const QString name = tuningname::fileName(info.file);
            const auto deviceCopy = std::find_if(files.begin(), files.end(), [&](const QString& f) {
                return tuningname::fileName(f) == name;
            });
            if (action == FileInfo::willRemove || info.state == FileInfo::hasUpdate) {
                if (info.state != FileInfo::notLoaded)
                    files.erase(deviceCopy);
            }
            if (action != FileInfo::willRemove && info.state != FileInfo::loaded)
                files.insert(info.file);
        }
    }
    return choices;
}

void TestTuningChanges::applyAddUpdateRemove()
{
    TuningDevice device;
    QVERIFY(device.seed());
    QVERIFY(device.start());
    QVERIFY(sync(device));
    const QStringList folders = TuningDevice::folders;
    QHash<QString, QSet<QString>> expected;
    for (const QString& folder : folders)
        expected[folder] = setOf(device.files(folder));

    // Two groups to add, one to update, one to remove, each with records of the state it needs.
    const QList<QPair<QString, QString>> choices = chooseGroups(
        {FileInfo::willAdd, FileInfo::willAdd, FileInfo::willUpdate, FileInfo::willRemove},
        expected);
    QCOMPARE(choices.size(), 4);

    m_progress.clear();
    const int logged = device.commandLog().size();
    QTest::ignoreMessage(QtDebugMsg, "Entering");
    QTest::ignoreMessage(QtDebugMsg, QRegularExpression("^Performing current action: Will Add for "
                                                        "file: /(SpeakerTunings|AmplifierData)/"));
    QSignalSpy applied(m_manager, &TuningFileManager::changesApplied);
    m_manager->onSignalApplyChanges(choose(choices));
    QVERIFY(waitFor(applied));
    for (const QString& folder : folders)
        QCOMPARE(setOf(device.files(folder)), expected.value(folder));
    QCOMPARE(m_progress.last(), QStringLiteral("Applying Changes...100%"));
    // Every upload was checked by its size on the device.
    const QStringList applying = device.commandLog().mid(logged);
    QVERIFY(applying.filter(QRegularExpression("^STOR ")).size() > 0);
    QCOMPARE(applying.filter(QRegularExpression("^SIZE ")).size(),
             applying.filter(QRegularExpression("^STOR ")).size());
}

// A device whose FTP server does not answer SIZE: each stored file is checked by the listing
// of its folder instead, and every apply that lands counts.
void TestTuningChanges::applyWithoutSize_data()
{
    QTest::addColumn<int>("sizeReply");
    QTest::newRow("500") << 500;
    QTest::newRow("502") << 502;
}

void TestTuningChanges::applyWithoutSize()
{
    QFETCH(int, sizeReply);
    TuningDevice device;
    QVERIFY(device.seed());
    device.setSizeRefusal(sizeReply);
    QVERIFY(device.start());
    QVERIFY(sync(device));
    QHash<QString, QSet<QString>> expected;
    for (const QString& folder : TuningDevice::folders)
        expected[folder] = setOf(device.files(folder));
    const QList<QPair<QString, QString>> choices =
        chooseGroups({FileInfo::willAdd, FileInfo::willUpdate}, expected);
    QCOMPARE(choices.size(), 2);

    const int logged = device.commandLog().size();
    QSignalSpy errors(m_manager, &TuningFileManager::error);
    QSignalSpy done(m_manager, &TuningFileManager::initialized);
    QSignalSpy applied(m_manager, &TuningFileManager::changesApplied);
    m_manager->onSignalApplyChanges(choose(choices));
    QVERIFY(waitFor(applied));
    QCOMPARE(errors.size(), 0);
    QCOMPARE(done.size(), 0);
    for (const QString& folder : TuningDevice::folders)
        QCOMPARE(setOf(device.files(folder)), expected.value(folder));
    // After each upload: SIZE, refused, then a listing of the folder.
    const QStringList applying = device.commandLog().mid(logged);
    const int stored = applying.filter(QRegularExpression("^STOR ")).size();
    QVERIFY(stored > 0);
    QCOMPARE(applying.filter(QRegularExpression("^SIZE ")).size(), stored);
    QCOMPARE(applying.filter(QRegularExpression("^LIST$")).size(), stored);
}

void TestTuningChanges::applyCutOffHalfway()
{
    TuningDevice device;
    QVERIFY(device.seed());
    QVERIFY(device.start());
    QVERIFY(sync(device));
    QHash<QString, QSet<QString>> before;
    for (const QString& folder : TuningDevice::folders)
        before[folder] = setOf(device.files(folder));
    QList<QPair<QString, QString>> everything;
    for (auto group = m_map.cbegin(); group != m_map.cend(); ++group)
        everything.append({group.key().first + '/' + group.key().second, FileInfo::willAdd});

    QSignalSpy done(m_manager, &TuningFileManager::initialized);
    QSignalSpy applied(m_manager, &TuningFileManager::changesApplied);
    m_manager->onSignalApplyChanges(choose(everything));
    QVERIFY(QTest::qWaitFor([&] { return device.commands("STOR ").size() >= 3; },
                            qx8test::timeoutMs()));
    device.stop();
    QVERIFY(waitFor(done));
    QCOMPARE(done.first().first().toBool(), false);
    QCOMPARE(applied.size(), 0);
    // Each name the device had is still there, in its old or its new version.
    for (const QString& folder : TuningDevice::folders) {
        QSet<QString> names;
        for (const QString& file : device.files(folder))
            names.insert(tuningname::fileName(file));
        for (const QString& file : before.value(folder))
            QVERIFY2(names.contains(tuningname::fileName(file)), qPrintable(file));
    }

    // Nothing of the cut-off apply runs when the next one has nothing chosen.
    QVERIFY(device.restart());
    const int stored = device.commands("STOR ").size();
    const int removed = device.commands("DELE ").size();
    done.clear();
    m_manager->onSignalApplyChanges(m_map);
    QVERIFY(waitFor(done));
    QCOMPARE(done.first().first().toBool(), true);
    QCOMPARE(device.commands("STOR ").size(), stored);
    QCOMPARE(device.commands("DELE ").size(), removed);
}

void TestTuningChanges::resetToFactorySet()
{
    TuningDevice device;
    QVERIFY(device.seed());
    QVERIFY(device.start());
    QVERIFY(sync(device));
    // "Custom" files are never touched on the device.
    QHash<QString, QSet<QString>> custom;
    for (const QString& folder : TuningDevice::folders)
        custom[folder] = setOf(device.files(folder).filter(QRegularExpression("^Custom_")));
    m_progress.clear();
    // The planned actions themselves reach the log.
    QTest::ignoreMessage(QtDebugMsg,
                         QRegularExpression("^Planned device actions: \\(Will (Remove|Add) "
                                            "/SpeakerTunings/[^ ,]+\\.hdf, "));
    QSignalSpy reset(m_manager, &TuningFileManager::tuningsReset);
    m_manager->onSignalResetTunings();
    QVERIFY(waitFor(reset));
    for (const QString& folder : TuningDevice::folders) {
        const QSet<QString> factory = setOf(QDir(":/TuningFiles/Local/" + folder).entryList());
        QCOMPARE(setOf(QDir(localTuningFolder(folder)).entryList(QDir::Files)), factory);
        QSet<QString> factoryShown = factory;
        for (const QString& file : factory) {
            if (file.startsWith("Custom_"))
                factoryShown.remove(file);
        }
        QCOMPARE(setOf(device.files(folder)), factoryShown + custom.value(folder));
    }
    QCOMPARE(m_progress.first(), QStringLiteral("Resetting local tunings..."));
    QCOMPARE(m_progress.last(), QStringLiteral("Resetting remote tunings...100%"));
}

QX8_PRIVATE_MOUNTS_TEST_MAIN(QCoreApplication, TestTuningChanges)
#include "tst_tuningchanges.moc"
