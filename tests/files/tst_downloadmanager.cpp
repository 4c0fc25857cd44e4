// The download queue against the harness HTTP server: files land in the target folder one by
// one, each reported once, each batch once, batches in the order asked, a name from a URL never
// leads out of its folder, and no body grows past the ceiling of its kind, compressed or not (a
// cause of the application's own is named as such); requests travel as the download signals, and
// a server's authentication request is handed to the caller on the download thread.
#include "downloadlimits.h"
#include "downloadmanager.h"
#include "httpserverprocess.h"
#include "peakmemory.h"
#include "testharness.h"
#include "testmain.h"

#include <QAuthenticator>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

class TestDownloadManager : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void batchResultsAndFiles_data();
    void batchResultsAndFiles();
    void compressedFilesStopAtTheirCeiling_data();
    void compressedFilesStopAtTheirCeiling();
    void batchesBackToBackBothFinish();
    void emptyingKeepsHiddenFiles();
    void unopenableSaveFileFailsOnlyItself_data();
    void unopenableSaveFileFailsOnlyItself();
    void requestsTravelAsSignals();
    void authenticationIsAskedOfTheCaller_data();
    void authenticationIsAskedOfTheCaller();

private:
    static QByteArray content(const QString& name) { return name.toUtf8().repeated(100); }
    static QStringList filesIn(const QString& folder);

    QTemporaryDir m_served;
    QTemporaryDir m_target;
    HttpServerProcess m_server;
    DownloadManager m_downloads;
};

void TestDownloadManager::initTestCase()
{
    QDir(m_served.path()).mkpath("sub");
    for (const QString name :
         {"a.hdf", "b.hdf", "c.hdf", "sub/index.html", "x_a.hdf", "Manifest", "big.hdf"}) {
        QFile file(m_served.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content(name));
    }
    // A manifest may be 1 MiB, a tuning file 64 MiB.
    QVERIFY(m_server.start(m_served.path(),
                           {"/b.hdf=404", "/c.hdf=cut", "/sub/index.html=auth:qx8:cloud",
                            "/Manifest=length:1048577", "/big.hdf=length:67108865"}));
}

QStringList TestDownloadManager::filesIn(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

void TestDownloadManager::batchResultsAndFiles_data()
{
    QTest::addColumn<QStringList>("paths");
    QTest::addColumn<QList<bool>>("results");
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<int>("stopped"); // failures of the application's own, not the network's
    QTest::newRow("second of three missing")
        << QStringList{"/a.hdf", "/b.hdf", "/x_a.hdf"} << QList<bool>{true, false, true}
        << QStringList{"a.hdf", "x_a.hdf"} << 0;
    QTest::newRow("cut body leaves no file")
        << QStringList{"/c.hdf"} << QList<bool>{false} << QStringList{} << 0;
    QTest::newRow("folder url") << QStringList{"/sub/"} << QList<bool>{true}
                                << QStringList{"index.html"} << 0;
    QTest::newRow("no answer to a login asked for")
        << QStringList{"/sub/index.html"} << QList<bool>{false} << QStringList{} << 0;
    // The server would answer these from its root; the name must not leave the folder.
    QTest::newRow("encoded traversal")
        << QStringList{"/..%2F..%2Fx_a.hdf"} << QList<bool>{false} << QStringList{} << 0;
    QTest::newRow("dot dot") << QStringList{"/sub/.."} << QList<bool>{false} << QStringList{} << 1;
    QTest::newRow("hidden") << QStringList{"/.x_a.hdf"} << QList<bool>{false} << QStringList{} << 1;
    QTest::newRow("manifest one byte over")
        << QStringList{"/Manifest"} << QList<bool>{false} << QStringList{} << 1;
    QTest::newRow("tuning file one byte over")
        << QStringList{"/big.hdf", "/a.hdf"} << QList<bool>{false, true} << QStringList{"a.hdf"}
        << 1;
}

void TestDownloadManager::batchResultsAndFiles()
{
    QFETCH(QStringList, paths);
    QFETCH(QList<bool>, results);
    qx8test::expectWarnings("^Failed to download ", int(results.count(false)));
    const QString folder = m_target.filePath(QTest::currentDataTag());
    QSignalSpy fileDone(&m_downloads, &DownloadManager::currentDownloadFinished);
    QSignalSpy batchDone(&m_downloads, &DownloadManager::allDonwloadsFinished);
    QSignalSpy fileStopped(&m_downloads, &DownloadManager::currentDownloadStopped);
    QList<QUrl> urls;
    for (const QString& path : paths)
        urls.append(QUrl(m_server.url(QString()).toString() + path, QUrl::StrictMode));
    m_downloads.requestDownloadMultiple(urls, folder, true);

    QVERIFY(batchDone.wait(qx8test::timeoutMs()));
    QCOMPARE(fileDone.size(), results.size());
    for (int i = 0; i < results.size(); ++i) {
        QCOMPARE(fileDone.at(i).at(0).toUrl(), urls.at(i));
        QCOMPARE(fileDone.at(i).at(1).toBool(), results.at(i));
    }
    QCOMPARE(batchDone.first(), (QList<QVariant>{int(results.count(true)), int(results.size())}));
    QFETCH(int, stopped);
    QCOMPARE(fileStopped.size(), stopped);
    for (const QList<QVariant>& stop : qAsConst(fileStopped)) {
        const auto result = std::find_if(fileDone.cbegin(), fileDone.cend(), [&](const auto& done) {
            return done.at(0) == stop.at(0);
        });
        QVERIFY(result != fileDone.cend());
        QCOMPARE(result->at(2), stop.at(1));
    }
    QFETCH(QStringList, files);
    QCOMPARE(filesIn(folder), files);
    for (const QString& file : files) {
        QFile saved(QDir(folder).filePath(file));
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.readAll(),
                 content(file == "index.html" ? QStringLiteral("sub/index.html") : file));
    }
    QCOMPARE(filesIn(m_target.path()), QStringList());
}

void TestDownloadManager::compressedFilesStopAtTheirCeiling_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<qint64>("inflated"); // the size of the body decoded; 0: the file itself
    QTest::addColumn<qint64>("ceiling");  // 0 for a download that succeeds
    QTest::newRow("tuning file") << "/a.hdf" << qint64(0) << qint64(0);
    // A megabyte on the wire.
    QTest::newRow("manifest bomb") << "/Manifest" << 1024LL * 1024 * 1024 << downloadlimits::kFeed;
    QTest::newRow("tuning file bomb")
        << "/x_a.hdf" << downloadlimits::kTuningFile + 1 << downloadlimits::kTuningFile;
}

// Sent compressed unasked, a file is saved as it was before compression; one that inflates past
// the ceiling of its kind stops there, leaves no file, and never lies in memory.
void TestDownloadManager::compressedFilesStopAtTheirCeiling()
{
    QFETCH(QString, path);
    QFETCH(qint64, inflated);
    QFETCH(qint64, ceiling);
    QVERIFY(m_server.setFault(path, QStringLiteral("gzip:%1").arg(inflated)));
    auto clearFault = qScopeGuard([&] { m_server.setFault(path, "off"); });
    if (ceiling)
        qx8test::expectWarnings("^Failed to download ");
    const QString folder = m_target.filePath(QTest::currentDataTag());
    QSignalSpy fileDone(&m_downloads, &DownloadManager::currentDownloadFinished);
    QSignalSpy fileStopped(&m_downloads, &DownloadManager::currentDownloadStopped);
    const PeakMemory memory;
    QVERIFY(memory.isValid());
    m_downloads.requestDownload(m_server.url(path), folder, true);
    QVERIFY(fileDone.wait(qx8test::timeoutMs()));
    QVERIFY2(memory.growth() < 16 * 1024 * 1024, qPrintable(QString::number(memory.growth())));
    const QString name = path.mid(1);
    if (!ceiling) {
        QCOMPARE(fileDone.first().at(1).toBool(), true);
        QCOMPARE(qx8test::fileContent(QDir(folder).filePath(name)), content(name));
        return;
    }
    QCOMPARE(fileDone.first().at(1).toBool(), false);
    const QString cause = fileDone.first().at(2).toString();
    QVERIFY2(cause.contains("is larger than the " + downloadlimits::sizeText(ceiling) + " allowed"),
             qPrintable(cause));
    QCOMPARE(fileStopped.size(), 1);
    QCOMPARE(filesIn(folder), QStringList());
}

// The second batch is asked for while the first one runs: it waits, then runs.
void TestDownloadManager::batchesBackToBackBothFinish()
{
    QSignalSpy batchDone(&m_downloads, &DownloadManager::allDonwloadsFinished);
    QSignalSpy fileDone(&m_downloads, &DownloadManager::currentDownloadFinished);
    const QString first = m_target.filePath("first");
    const QString second = m_target.filePath("second");
    m_downloads.requestDownloadMultiple({m_server.url("/a.hdf"), m_server.url("/x_a.hdf")}, first,
                                        true);
    m_downloads.requestDownload(m_server.url("/a.hdf"), second, true);
    m_downloads.requestDownloadMultiple({}, second, false);
    QTRY_COMPARE_WITH_TIMEOUT(batchDone.size(), 3, qx8test::timeoutMs());
    QCOMPARE(batchDone.at(0), (QList<QVariant>{2, 2}));
    QCOMPARE(batchDone.at(1), (QList<QVariant>{1, 1}));
    QCOMPARE(batchDone.at(2), (QList<QVariant>{0, 0}));
    QCOMPARE(fileDone.size(), 3);
    QCOMPARE(filesIn(first), (QStringList{"a.hdf", "x_a.hdf"}));
    QCOMPARE(filesIn(second), QStringList{"a.hdf"});
}

void TestDownloadManager::emptyingKeepsHiddenFiles()
{
    const QString folder = m_target.filePath("hidden");
    QVERIFY(QDir().mkpath(folder + "/old"));
    for (const char* name : {"/.keep", "/stale.hdf", "/old/stale.hdf"}) {
        QFile file(folder + QLatin1String(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    QSignalSpy batchDone(&m_downloads, &DownloadManager::allDonwloadsFinished);
    for (const QString& line :
         {"deleting file: " + folder + "/old/stale.hdf", "deleting directory: " + folder + "/old",
          "deleting file: " + folder + "/stale.hdf", "deleting directory: " + folder})
        QTest::ignoreMessage(QtDebugMsg, qPrintable(line));
    m_downloads.requestDownload(m_server.url("/a.hdf"), folder, true);
    QVERIFY(batchDone.wait(qx8test::timeoutMs()));
    QCOMPARE(filesIn(folder), (QStringList{".keep", "a.hdf"}));
    QVERIFY(!QFileInfo::exists(folder + "/old"));
}

// A folder in the way of one file's name, or of the name it is downloaded to, fails that file
// alone, with its own words; the batch goes on.
void TestDownloadManager::unopenableSaveFileFailsOnlyItself_data()
{
    QTest::addColumn<QString>("inTheWay");
    QTest::newRow("folder in the way of the file") << "a.hdf";
    QTest::newRow("folder in the way of its download") << "a.hdf.tmp";
}

void TestDownloadManager::unopenableSaveFileFailsOnlyItself()
{
    QFETCH(QString, inTheWay);
    const QString folder = m_target.filePath("blocked-" + inTheWay);
    QVERIFY(QDir().mkpath(folder + "/" + inTheWay + "/inside"));
    const QUrl blocked = m_server.url("/a.hdf");
    QTest::ignoreMessage(QtDebugMsg, "Entering");
    QTest::ignoreMessage(QtDebugMsg, "Exiting");
    QTest::ignoreMessage(
        QtWarningMsg,
        QRegularExpression("^" +
                           QRegularExpression::escape(
                               QString("Problem opening save file '%1/%2' for download '%3': ")
                                   .arg(folder, inTheWay, QString::fromUtf8(blocked.toEncoded()))) +
                           ".+$"));
    QSignalSpy fileDone(&m_downloads, &DownloadManager::currentDownloadFinished);
    QSignalSpy batchDone(&m_downloads, &DownloadManager::allDonwloadsFinished);
    m_downloads.requestDownloadMultiple({blocked, m_server.url("/x_a.hdf")}, folder, false);
    QVERIFY(batchDone.wait(qx8test::timeoutMs()));
    QCOMPARE(fileDone.size(), 2);
    QCOMPARE(fileDone.at(0).at(1).toBool(), false);
    QCOMPARE(fileDone.at(1).at(1).toBool(), true);
    QCOMPARE(batchDone.first(), (QList<QVariant>{1, 2}));
    QCOMPARE(filesIn(folder), QStringList{"x_a.hdf"});
}

void TestDownloadManager::requestsTravelAsSignals()
{
    QSignalSpy single(&m_downloads, &DownloadManager::download);
    QSignalSpy multiple(&m_downloads, &DownloadManager::downloadMultiple);
    QSignalSpy batchDone(&m_downloads, &DownloadManager::allDonwloadsFinished);
    const QString folder = m_target.filePath("signals");
    m_downloads.requestDownload(m_server.url("/a.hdf"), folder, false);
    QCOMPARE(single.size(), 1);
    QCOMPARE(single.first(), (QList<QVariant>{m_server.url("/a.hdf"), folder, false}));
    // Emitted by anyone, the signal is a request all the same.
    Q_EMIT m_downloads.downloadMultiple({m_server.url("/x_a.hdf")}, folder, false);
    QCOMPARE(multiple.size(), 1);
    QTRY_COMPARE_WITH_TIMEOUT(batchDone.size(), 2, qx8test::timeoutMs());
    QCOMPARE(filesIn(folder), (QStringList{"a.hdf", "x_a.hdf"}));
}

// The server asks for a login: the caller, connected directly, answers on the download thread.
void TestDownloadManager::authenticationIsAskedOfTheCaller_data()
{
    QTest::addColumn<QString>("password");
    QTest::addColumn<bool>("success");
    // In this order: the access manager keeps a login that worked for later requests.
    QTest::newRow("wrong") << "sky" << false;
    QTest::newRow("right") << "cloud" << true;
}

void TestDownloadManager::authenticationIsAskedOfTheCaller()
{
    QFETCH(QString, password);
    QFETCH(bool, success);
    if (!success)
        qx8test::expectWarnings("^Failed to download ");
    QList<QThread*> askedOn;
    QMetaObject::Connection answer = connect(
        &m_downloads, &DownloadManager::authenticationRequired, this,
        [&](QNetworkReply*, QAuthenticator* authenticator) {
            askedOn.append(QThread::currentThread());
            // Asked again after a refused answer: left unanswered, which ends the request.
            if (askedOn.size() == 1) {
                authenticator->setUser(QStringLiteral("qx8"));
                authenticator->setPassword(password);
            }
        },
        Qt::DirectConnection);
    QSignalSpy fileDone(&m_downloads, &DownloadManager::currentDownloadFinished);
    const QString folder = m_target.filePath(QStringLiteral("login-") + QTest::currentDataTag());
    m_downloads.requestDownload(m_server.url("/sub/index.html"), folder, true);
    QVERIFY(fileDone.wait(qx8test::timeoutMs()));
    disconnect(answer);
    QCOMPARE(fileDone.first().at(1).toBool(), success);
    QVERIFY(!askedOn.isEmpty());
    QVERIFY(!askedOn.contains(QThread::currentThread()));
    QCOMPARE(filesIn(folder), success ? QStringList{"index.html"} : QStringList{});
}

QX8_TEST_GUILESS_MAIN(TestDownloadManager)
#include "tst_downloadmanager.moc"
