// Every file the application writes, written by the application's own writer in a process that
// is killed with SIGKILL at random moments: afterwards the file is a whole earlier or later
// generation, never a mix or a stub, and the application then starts normally on what is left.
// QX8_KILL_ITERATIONS sets the kills per file (default 40).
#include "datafolders.h"
#include "httpserverprocess.h"
#include "qx8settings.h"
#include "settingskeys.h"
#include "testharness.h"
#include "testmain.h"
#include "updatecache.h"
#include "updatefolders.h"
#include "writtenblob.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

#include <cstdio>
#include <functional>

using FileCheck = std::function<QString()>;
Q_DECLARE_METATYPE(FileCheck)

namespace {

QString dataFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
}

QSettings applicationStore()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope,
                     QLatin1String(settingskeys::kApplicationStore.organization),
                     QLatin1String(settingskeys::kApplicationStore.application));
}

// Each returns what is wrong with the file as the killed writer left it, empty when it is whole.
QString checkSettings()
{
    const QSettings store = applicationStore();
    if (store.status() != QSettings::NoError)
        return QStringLiteral("the settings file does not read");
    if (store.value(writtenblob::kSettingsKeptKey).toString() != writtenblob::kSettingsKeptValue)
        return QStringLiteral("the setting written first was lost");
    if (writtenblob::generationOf(store.value(writtenblob::kSettingsBlobKey).toByteArray()) < 0)
        return QStringLiteral("the rewritten setting is torn");
    return {};
}

QString checkPresets()
{
    const QString folder = writtenblob::presetFolder(dataFolder());
    const QStringList names = QDir(folder).entryList(QDir::Files);
    if (names.isEmpty())
        return QStringLiteral("no preset left");
    for (const QString& name : names) {
        if (writtenblob::generationOf(qx8test::fileContent(folder + QLatin1Char('/') + name)) < 0)
            return QStringLiteral("the preset \"%1\" is torn").arg(name);
    }
    return {};
}

QString checkTunings()
{
    const QString path = dataFolder() + QStringLiteral("/QX8/TuningFiles/Local/SpeakerTunings/") +
                         writtenblob::kTuningName;
    return writtenblob::generationOf(qx8test::fileContent(path)) < 0
               ? QStringLiteral("the tuning is torn")
               : QString();
}

QString checkAnalytics()
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(
        qx8test::fileContent(writtenblob::analyticsQueuePath(strLogDir)), &error);
    if (error.error != QJsonParseError::NoError || document.array().isEmpty())
        return QStringLiteral("the queue does not read: ") + error.errorString();
    const QJsonArray queued = document.array();
    const QString url = queued.first().toObject().value(QStringLiteral("url")).toString();
    const int generation =
        QRegularExpression(QStringLiteral("(?:^|&)ec=(\\d+)")).match(url).captured(1).toInt();
    const QList<QueryBuffer> expected = writtenblob::hits(generation);
    if (queued.size() != expected.size())
        return QStringLiteral("the queue holds %1 hits of generation %2, not %3")
            .arg(queued.size())
            .arg(generation)
            .arg(expected.size());
    for (int index = 0; index < expected.size(); ++index) {
        if (queued.at(index).toObject().value(QStringLiteral("url")).toString().toUtf8() !=
            expected.at(index).postQuery.text())
            return QStringLiteral("hit %1 of the queue is torn").arg(index);
    }
    return {};
}

} // namespace

class TestKilledWrites : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void killedWriterLeavesAWholeFile_data();
    void killedWriterLeavesAWholeFile();
    void applicationStartsOnWhatTheKillsLeft();

private:
    QString checkUpdates() const;

    QTemporaryDir m_served;
    HttpServerProcess m_cloud;
    QList<QByteArray> m_images;
};

void TestKilledWrites::initTestCase()
{
    for (const char* name : {"first.dmg", "second.dmg"}) {
        QFile image(m_served.filePath(QLatin1String(name)));
        QVERIFY(image.open(QIODevice::WriteOnly));
        m_images.append(writtenblob::make(m_images.size() + 7).repeated(4));
        QCOMPARE(image.write(m_images.last()), m_images.last().size());
    }
    QVERIFY(m_cloud.start(m_served.path()));
}

// Whichever image the cache records as complete is whole; until the first download ended
// there may be none.
QString TestKilledWrites::checkUpdates() const
{
    const UpdateCache cache(updatefolders::applicationImages(), writtenblob::kImageSuffix);
    const QString name = cache.completeImageName();
    if (name.isEmpty())
        return QStringLiteral("no complete image recorded");
    const QByteArray& expected = m_images.at(name.startsWith(QLatin1String("1.")) ? 0 : 1);
    return qx8test::fileContent(cache.imagePath(cache.versionOf(name))) == expected
               ? QString()
               : QStringLiteral("the recorded image %1 is torn").arg(name);
}

void TestKilledWrites::killedWriterLeavesAWholeFile_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<FileCheck>("check");
    QTest::newRow("settings") << QStringList{"settings"} << FileCheck(checkSettings);
    QTest::newRow("local presets") << QStringList{"presets"} << FileCheck(checkPresets);
    QTest::newRow("tuning store") << QStringList{"tunings"} << FileCheck(checkTunings);
    QTest::newRow("analytics queue") << QStringList{"analytics"} << FileCheck(checkAnalytics);
    QTest::newRow("update cache") << QStringList{"updates", m_cloud.url("/first.dmg").toString(),
                                                 m_cloud.url("/second.dmg").toString()}
                                  << FileCheck([this] { return checkUpdates(); });
}

void TestKilledWrites::killedWriterLeavesAWholeFile()
{
    QFETCH(QStringList, arguments);
    QFETCH(FileCheck, check);
    const int iterations = qEnvironmentVariableIntValue("QX8_KILL_ITERATIONS") > 0
                               ? qEnvironmentVariableIntValue("QX8_KILL_ITERATIONS")
                               : 40;
    // Kills that all fell between writes would prove nothing: at least a quarter of the kills
    // must fall while a generation is being written. A loaded machine starts the writer slowly and
    // more kills land in its start-up, so it goes on killing until enough did, within a bound.
    const int neededMidWrite = iterations / 4 + 1;
    const int mostKills = iterations * 4;
    QRandomGenerator random(QRandomGenerator::global()->generate());
    int midWrite = 0;
    int iteration = 0;
    for (; iteration < iterations || midWrite < neededMidWrite; ++iteration) {
        QVERIFY2(iteration < mostKills,
                 qPrintable(QStringLiteral("only %1 of %2 kills fell while a generation was "
                                           "being written")
                                .arg(midWrite)
                                .arg(iteration)));
        QProcess writer;
        writer.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        writer.start(QStringLiteral(QX8_KILL_WRITER), arguments);
        // The first whole file must exist before a kill means anything; later ones are killed
        // anywhere in their run, start-up included.
        QByteArray output;
        if (iteration == 0) {
            QTRY_VERIFY_WITH_TIMEOUT((output += writer.readAllStandardOutput()).contains("wrote 1"),
                                     qx8test::timeoutMs());
        } else {
            QVERIFY(writer.waitForStarted(qx8test::timeoutMs()));
        }
        QThread::usleep(random.bounded(150'000));
        QCOMPARE(writer.state(), QProcess::Running);
        writer.kill();
        QVERIFY(writer.waitForFinished(qx8test::timeoutMs()));
        output += writer.readAllStandardOutput();
        const QList<QByteArray> lines = output.trimmed().split('\n');
        midWrite += lines.last().startsWith("writing ");
        const QString fault = check();
        QVERIFY2(fault.isEmpty(),
                 qPrintable(QStringLiteral("after kill %1: %2").arg(iteration + 1).arg(fault)));
    }
    std::printf("%s: %d kills, %d of them while a generation was being written\n",
                QTest::currentDataTag(), iteration, midWrite);
}

void TestKilledWrites::applicationStartsOnWhatTheKillsLeft()
{
    QX8Settings().setValue(settingskeys::kCheckOnStart, QStringLiteral("false"));
    const QString queue = writtenblob::analyticsQueuePath(strLogDir);
    QVERIFY(QFile::exists(queue));
    // What a kill between creating a settings lock and filling it in leaves: empty locks, which
    // Qt waits 30 s to call stale.
    const QSettings defaultStore(QLatin1String(settingskeys::kDefaultStore.organization),
                                 QLatin1String(settingskeys::kDefaultStore.application));
    for (const QString& store : {applicationStore().fileName(), defaultStore.fileName()}) {
        QFile lock(store + QStringLiteral(".lock"));
        QVERIFY(lock.open(QIODevice::WriteOnly));
    }
    QProcess application;
    application.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    application.start(QStringLiteral(QX8_CONTROL_PATH), QStringList());
    // Start-up restores the queue (and removes its file) once the screen loader runs.
    QTRY_VERIFY_WITH_TIMEOUT(!QFile::exists(queue), 10000);
    const QByteArray log = qx8test::fileContent(strLogDir + QStringLiteral("/ui.log"));
    QVERIFY2(!log.contains("Ignored the queue file"), log.constData());
    QCOMPARE(application.state(), QProcess::Running);
    application.terminate();
    QVERIFY(application.waitForFinished(qx8test::timeoutMs()));
}

QX8_TEST_GUILESS_MAIN(TestKilledWrites)
#include "tst_killedwrites.moc"
