// Files the application reads from its data folder that someone else may have put there, each a
// FIFO that no one writes: none is opened (the open would wait for ever), and each reader says
// why it read nothing. Files it writes there, each a link someone else put in its place: none is
// written through, whatever the writer does with the link.
#include "analyticsqueuefile.h"
#include "datafolders.h"
#include "filesystemmodel.h"
#include "httpserverprocess.h"
#include "httptransfer.h"
#include "localtuningstore.h"
#include "messagehandler.h"
#include "testharness.h"
#include "testmain.h"
#include "updatecache.h"
#include "watchedfifo.h"

#include <QDir>
#include <QNetworkAccessManager>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>

namespace {
// Reads what lies at its place in the data folder, and tells what it made of it.
using Reader = std::function<QString(const QString& dataFolder)>;
// Writes the file at its place in the data folder through the application's own writer.
using Writer = std::function<void(const QString& dataFolder)>;
} // namespace
Q_DECLARE_METATYPE(Reader)
Q_DECLARE_METATYPE(Writer)

class TestFifoFiles : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void fifoIsNotOpened_data();
    void fifoIsNotOpened();
    void linkOutOfItsFolderIsRefused_data();
    void linkOutOfItsFolderIsRefused();
    void linkIsNotWrittenThrough_data();
    void linkIsNotWrittenThrough();

private:
    QTemporaryDir m_served;
    HttpServerProcess m_server;
};

void TestFifoFiles::initTestCase()
{
    QFile served(m_served.filePath(QStringLiteral("file.bin")));
    QVERIFY(served.open(QIODevice::WriteOnly) && served.write("downloaded") == 10);
    served.close();
    QVERIFY(m_server.start(m_served.path()));
}

void TestFifoFiles::fifoIsNotOpened_data()
{
    QTest::addColumn<QString>("place");
    QTest::addColumn<Reader>("read");
    QTest::addColumn<QString>("outcome");

    const QString tuning = QStringLiteral("Velmor_Stage_2024_3_1_12_0.tun");
    QTest::newRow("local tuning file")
        << "QX8/TuningFiles/Local/SpeakerTunings/" + tuning
        << Reader([tuning](const QString& data) {
               QString error;
               LocalTuningStore(data).read(TuningSide::Speaker, tuning, &error);
               return error;
           })
        << "Cannot read the tuning file " + tuning + ": Not a regular file";
    QTest::newRow("preset") << "QX8/Presets/Show" << Reader([](const QString& data) {
        FileSystemModel presets(data + "/QX8/Presets", nullptr);
        QSignalSpy error(&presets, &FileSystemModel::error);
        presets.transfer(QStringLiteral("Show"));
        return error.value(0).value(0).toString();
    }) << "Could not read \"Show\": Not a regular file";
    QTest::newRow("update cache record")
        << "UpdateCache/.complete" << Reader([](const QString& data) {
               return UpdateCache(data + "/UpdateCache", QStringLiteral(".bin"))
                   .completeImageName();
           })
        << "";
}

void TestFifoFiles::fifoIsNotOpened()
{
    QFETCH(QString, place);
    QFETCH(Reader, read);
    QFETCH(QString, outcome);
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    const QString path = data + '/' + place;
    QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
    const qx8test::WatchedFifo fifo(path);
    QVERIFY(fifo.isMade());

    QCOMPARE(read(data), outcome);
    QVERIFY(!fifo.wasOpened());
}

void TestFifoFiles::linkOutOfItsFolderIsRefused_data()
{
    QTest::addColumn<QString>("place");
    QTest::addColumn<Reader>("use");
    QTest::addColumn<QString>("outcome");

    const QString tuning = QStringLiteral("Velmor_Stage_2024_3_1_12_0.tun");
    const QString tunings = QStringLiteral("QX8/TuningFiles/Local/SpeakerTunings/");
    QTest::newRow("local tuning file, read")
        << tunings + tuning << Reader([tuning](const QString& data) {
               QString error;
               LocalTuningStore(data).read(TuningSide::Speaker, tuning, &error);
               return error;
           })
        << "Cannot read the tuning file " + tuning + ": Not a regular file";
    QTest::newRow("local tuning file, stored")
        << tunings + tuning << Reader([tuning](const QString& data) {
               return LocalTuningStore(data).write(TuningSide::Speaker, tuning, "written");
           })
        << "Refused to store the tuning file \"" + tuning + "\": Not a regular file.";
    QTest::newRow("preset") << "QX8/Presets/Bkind" << Reader([](const QString& data) {
        FileSystemModel presets(data + "/QX8/Presets", nullptr);
        QSignalSpy error(&presets, &FileSystemModel::error);
        presets.transfer(QStringLiteral("Bkind"));
        return error.value(0).value(0).toString();
    }) << "Could not read \"Bkind\": Not a regular file";
}

// A link to a file outside the folder is not followed, and the reason says what is wrong with it.
void TestFifoFiles::linkOutOfItsFolderIsRefused()
{
    QFETCH(QString, place);
    QFETCH(Reader, use);
    QFETCH(QString, outcome);
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    const QString link = data + '/' + place;
    const QString outside = data + "/elsewhere";
    QVERIFY(QDir().mkpath(QFileInfo(link).absolutePath()));
    {
        QFile file(outside);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("outside") == 7);
    }
    QVERIFY(QFile::link(outside, link));
    auto remove = qScopeGuard([&] {
        QFile::remove(link);
        QFile::remove(outside);
    });

    QCOMPARE(use(data), outcome);
    QCOMPARE(qx8test::fileContent(outside), QByteArray("outside"));
}

void TestFifoFiles::linkIsNotWrittenThrough_data()
{
    QTest::addColumn<QString>("place");
    QTest::addColumn<QString>("target"); // where the link leads, in the data folder
    QTest::addColumn<Writer>("write");
    QTest::addColumn<bool>("linkStays"); // or the writer puts a file of its own in its place

    const QString tuning = QStringLiteral("Velmor_Stage_2024_3_1_12_0.tun");
    const QString tunings = QStringLiteral("QX8/TuningFiles/Local/SpeakerTunings/");
    QTest::newRow("local tuning file")
        << tunings + tuning << tunings + "Velmor_Stage_2024_3_1_11_0.tun"
        << Writer([tuning](const QString& data) {
               QCOMPARE(LocalTuningStore(data).write(TuningSide::Speaker, tuning, "written"),
                        QString());
           })
        << false;
    QTest::newRow("staged cloud tuning, cleared")
        << "TuningFiles/Cloud/SpeakerTunings/" + tuning << "elsewhere"
        << Writer([](const QString& data) { LocalTuningStore(data).clearStaging(); }) << false;
    QTest::newRow("preset") << "QX8/Presets/Show"
                            << "elsewhere" << Writer([](const QString& data) {
                                   FileSystemModel presets(data + "/QX8/Presets", nullptr);
                                   presets.addPresetToFileSystem("Show", "written");
                               })
                            << true;
    QTest::newRow("analytics queue")
        << "yoxl/QX8/appanalytics/analyticsData.json"
        << "elsewhere" << Writer([](const QString& data) {
               const QueryBuffer hit{FormQuery::fromText("v=1&cd=X"), QDateTime::currentDateTime()};
               AnalyticsQueueFile(data + "/yoxl/QX8/appanalytics/analyticsData.json").write({hit});
           })
        << false;
    QTest::newRow("update cache record")
        << "UpdateCache/.complete"
        << "elsewhere" << Writer([](const QString& data) {
               QFile image(data + "/UpdateCache/1.0.bin");
               QVERIFY(image.open(QIODevice::WriteOnly) && image.write("image") == 5);
               image.close();
               UpdateCache(data + "/UpdateCache", ".bin").keepOnly("1.0");
           })
        << false;
    const QUrl served = m_server.url(QStringLiteral("/file.bin"));
    QTest::newRow("download's partial file")
        << "Downloads/file.bin.tmp"
        << "elsewhere" << Writer([served](const QString& data) {
               QNetworkAccessManager network;
               HttpTransfer transfer(&network);
               QSignalSpy finished(&transfer, &HttpTransfer::finished);
               transfer.downloadToFile(QNetworkRequest(served), data + "/Downloads/file.bin", 100);
               QVERIFY(finished.wait(qx8test::timeoutMs()));
               QCOMPARE(transfer.errorString(), QString());
           })
        << false;
    QTest::newRow("log") << "yoxl/QX8/ui.log"
                         << "elsewhere" << Writer([](const QString&) {
                                messageHandler(QtInfoMsg, QMessageLogContext(), "a line");
                            })
                         << true;
}

// What the link leads to keeps its content and its permissions.
void TestFifoFiles::linkIsNotWrittenThrough()
{
    QFETCH(QString, place);
    QFETCH(QString, target);
    QFETCH(Writer, write);
    QFETCH(bool, linkStays);
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    const QString link = data + '/' + place;
    const QString kept = data + '/' + target;
    const QByteArray content("not the application's");
    QVERIFY(QDir().mkpath(QFileInfo(link).absolutePath()));
    QVERIFY(QDir().mkpath(QFileInfo(kept).absolutePath()));
    {
        QFile file(kept);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
    }
    QVERIFY(QFile::setPermissions(kept, QFileDevice::ReadOwner | QFileDevice::ReadGroup |
                                            QFileDevice::ReadOther));
    const QFileDevice::Permissions permissions = QFile::permissions(kept);
    QVERIFY(QFile::link(kept, link));
    auto remove = qScopeGuard([&] {
        QFile::remove(link);
        QFile::remove(kept);
    });

    write(data);
    QCOMPARE(qx8test::fileContent(kept), content);
    QCOMPARE(QFile::permissions(kept), permissions);
    QCOMPARE(QFileInfo(link).isSymLink(), linkStays);
}

QX8_TEST_GUILESS_MAIN(TestFifoFiles)
#include "tst_fifofiles.moc"
