// Files the application reads from its data folder that someone else may have put there, each a
// FIFO that no one writes: none is opened (the open would wait for ever), and each reader says
// why it read nothing.
#include "filesystemmodel.h"
#include "localtuningstore.h"
#include "testmain.h"
#include "updatecache.h"
#include "watchedfifo.h"

#include <QDir>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QtTest>

#include <functional>

namespace {
// Reads what lies at its place in the data folder, and tells what it made of it.
using Reader = std::function<QString(const QString& dataFolder)>;
} // namespace
Q_DECLARE_METATYPE(Reader)

class TestFifoFiles : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fifoIsNotOpened_data();
    void fifoIsNotOpened();
};

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

QX8_TEST_GUILESS_MAIN(TestFifoFiles)
#include "tst_fifofiles.moc"
