// The HTTP transfer against the harness HTTP server on loopback: real sockets, real files, and
// a small disk of its own that fills up.
#include "downloadlimits.h"
#include "httpserverprocess.h"
#include "httptransfer.h"
#include "peakmemory.h"
#include "privatemounts.h"
#include "testharness.h"
#include "testmain.h"

#include <QDir>
#include <QFile>
#include <QNetworkAccessManager>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace std::chrono_literals;

namespace {
// What a transfer may add to the process's memory besides the body it holds: Qt's socket and
// read buffers, one decoded piece.
constexpr qint64 kMemoryMargin = 16 * 1024 * 1024;
} // namespace

class TestHttpTransfer : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void downloads_data();
    void downloads();
    void postsAForm();
    void bodiesStopAtTheirCeiling_data();
    void bodiesStopAtTheirCeiling();
    void refusedAddressesAreNeverFetched_data();
    void refusedAddressesAreNeverFetched();
    void abortKeepsTheOldFile();
    void fifoInThePartialFilesPlace();
    void folderUnderThePartialNameIsNamed();
    void unwritableTargets_data();
    void unwritableTargets();
    void fullDiskIsNamed_data();
    void fullDiskIsNamed();
    void diskWithoutRoomForAFileIsFull();

private:
    // Runs one transfer to its end; false when finished() did not come exactly once.
    bool finishes(HttpTransfer& transfer, const std::function<bool()>& start);
    static void writeFile(const QString& path, const QByteArray& content);
    int requestsFor(const QByteArray& path, int since) const;

    QTemporaryDir m_served;
    QByteArray m_image;
    HttpServerProcess m_server;
    QNetworkAccessManager m_manager;
};

void TestHttpTransfer::initTestCase()
{
    m_image.resize(64 * 1024);
    QRandomGenerator(7).fillRange(reinterpret_cast<quint32*>(m_image.data()),
                                  m_image.size() / int(sizeof(quint32)));
    writeFile(m_served.filePath("image.bin"), m_image);
    writeFile(m_served.filePath("broken.bin"), m_image);
    QVERIFY(m_server.start(m_served.path(), {"/broken.bin=500"}));
}

void TestHttpTransfer::downloads_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("fault");
    QTest::addColumn<int>("error");
    QTest::newRow("complete") << "/image.bin"
                              << "" << int(QNetworkReply::NoError);
    QTest::newRow("compressed unasked") << "/image.bin"
                                        << "gzip:0" << int(QNetworkReply::NoError);
    QTest::newRow("encoding that cannot be read")
        << "/image.bin"
        << "encoding:br" << int(QNetworkReply::ProtocolFailure);
    QTest::newRow("labelled gzip, not compressed")
        << "/image.bin"
        << "encoding:gzip" << int(QNetworkReply::ProtocolFailure);
    QTest::newRow("one redirect") << "/moved.bin"
                                  << "redirect:/image.bin" << int(QNetworkReply::NoError);
    QTest::newRow("slow but moving") << "/image.bin"
                                     << "slow:60" << int(QNetworkReply::NoError);
    QTest::newRow("404") << "/image.bin"
                         << "404" << int(QNetworkReply::ContentNotFoundError);
    QTest::newRow("500 from the start") << "/broken.bin"
                                        << "" << int(QNetworkReply::InternalServerError);
    QTest::newRow("204 for a download") << "/image.bin"
                                        << "204" << int(QNetworkReply::UnknownContentError);
    QTest::newRow("cut mid-body") << "/image.bin"
                                  << "cut" << int(QNetworkReply::RemoteHostClosedError);
    QTest::newRow("wrong length") << "/image.bin"
                                  << "wrong-length" << int(QNetworkReply::ProtocolFailure);
    QTest::newRow("redirect loop") << "/image.bin"
                                   << "redirect-loop" << int(QNetworkReply::TooManyRedirectsError);
    QTest::newRow("stall") << "/image.bin"
                           << "stall" << int(QNetworkReply::TimeoutError);
}

// Each case into a file that already holds an older download, and into memory. A failure
// leaves the older file as it was and no partial file beside it. Every request asks for the
// body as it is.
void TestHttpTransfer::downloads()
{
    QFETCH(QString, path);
    QFETCH(QString, fault);
    QFETCH(int, error);
    if (!fault.isEmpty())
        QVERIFY(m_server.setFault(path, fault));
    auto clearFault = qScopeGuard([&] { m_server.setFault(path, "off"); });
    const bool succeeds = error == QNetworkReply::NoError;
    const int requestsBefore = m_server.requests().size();

    QTemporaryDir folder;
    const QString target = folder.filePath("1.2.3");
    writeFile(target, "older image");
    HttpTransfer transfer(&m_manager);
    transfer.setStallLimit(1s);
    QSignalSpy progress(&transfer, &HttpTransfer::progress);
    QVERIFY(finishes(transfer, [&] {
        return transfer.downloadToFile(QNetworkRequest(m_server.url(path)), target,
                                       downloadlimits::kImage);
    }));
    QVERIFY2(int(transfer.error()) == error, qPrintable(transfer.errorString()));
    QCOMPARE(transfer.failure(),
             succeeds ? HttpTransfer::Failure::None : HttpTransfer::Failure::Network);
    QCOMPARE(transfer.errorString().isEmpty(), succeeds);
    QCOMPARE(qx8test::fileContent(target), succeeds ? m_image : QByteArray("older image"));
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList{"1.2.3"});
    // A compressed answer counts its bytes on the wire.
    if (succeeds && !fault.startsWith("gzip"))
        QCOMPARE(progress.last(), (QVariantList{qint64(m_image.size()), qint64(m_image.size())}));
    if (succeeds)
        QCOMPARE(progress.last().at(0), progress.last().at(1));

    QVERIFY(finishes(transfer, [&] {
        return transfer.downloadToMemory(QNetworkRequest(m_server.url(path)),
                                         downloadlimits::kFeed);
    }));
    QCOMPARE(int(transfer.error()), error);
    QCOMPARE(transfer.data(), succeeds ? m_image : QByteArray());
    for (const HttpServerProcess::Request& request : m_server.requests().mid(requestsBefore))
        QCOMPARE(request.header("Accept-Encoding"), QByteArrayLiteral("identity"));

    // Qt now and then sends a request again on a reused connection, so only the bound is checked:
    // far below Qt's own limit of 50 redirects.
    if (fault == "redirect-loop") {
        QVERIFY(requestsFor(path.toUtf8(), requestsBefore) <=
                4 * (1 + HttpTransfer::kMaximumRedirects));
    }
}

void TestHttpTransfer::postsAForm()
{
    HttpTransfer transfer(&m_manager);
    QNetworkRequest request(m_server.url("/collect"));
    request.setHeader(QNetworkRequest::UserAgentHeader, "Spandrell QX8/1.1.2");
    request.setRawHeader("Connection", "close");
    const QByteArray body = "v=1&t=screenview&cd=Mid%20EQ&cd1=%C3%84%2B";
    QVERIFY(finishes(transfer, [&] { return transfer.postForm(request, body); }));
    QVERIFY2(transfer.error() == QNetworkReply::NoError, qPrintable(transfer.errorString()));

    const HttpServerProcess::Request hit = m_server.requests().last();
    QCOMPARE(hit.method, QByteArrayLiteral("POST"));
    QCOMPARE(hit.path, QByteArrayLiteral("/collect"));
    QCOMPARE(hit.header("content-type"), QByteArrayLiteral("application/x-www-form-urlencoded"));
    QCOMPARE(hit.header("User-Agent"), QByteArrayLiteral("Spandrell QX8/1.1.2"));
    QCOMPARE(hit.header("Connection"), QByteArrayLiteral("close"));
    QCOMPARE(hit.body, body);

    // Any 2xx is accepted; the collector's failure is reported.
    for (const auto& [fault, error] : {std::pair{"204", QNetworkReply::NoError},
                                       std::pair{"500", QNetworkReply::InternalServerError}}) {
        QVERIFY(m_server.setFault("/collect", fault));
        QVERIFY(finishes(transfer, [&] { return transfer.postForm(request, body); }));
        QCOMPARE(transfer.error(), error);
    }
    QVERIFY(m_server.setFault("/collect", "off"));
}

void TestHttpTransfer::bodiesStopAtTheirCeiling_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<qint64>("ceiling");
    QTest::addColumn<QString>("text"); // empty for a download that succeeds
    const qint64 size = 64 * 1024;
    QTest::newRow("exactly the ceiling") << "" << size << "";
    QTest::newRow("one byte over")
        << "" << size - 1 << "announces 64 KiB, more than the 64.0 KiB allowed";
    QTest::newRow("endless body") << "endless" << 4 * size << "is larger than the 256 KiB allowed";
    QTest::newRow("announced beyond the ceiling")
        << "length:1099511627776" << 4 * size << "announces 1 TiB, more than the 256 KiB";
    QTest::newRow("compressed, exactly the ceiling") << "gzip:0" << size << "";
    // 64 KiB on the wire.
    QTest::newRow("compression bomb")
        << "gzip:67108864" << 4 * size << "is larger than the 256 KiB allowed";
}

// Into memory and into a file: a body past its ceiling stops there, nothing of it is kept, and
// the memory never holds much more than the ceiling.
void TestHttpTransfer::bodiesStopAtTheirCeiling()
{
    QFETCH(QString, fault);
    QFETCH(qint64, ceiling);
    QFETCH(QString, text);
    if (!fault.isEmpty())
        QVERIFY(m_server.setFault("/image.bin", fault));
    auto clearFault = qScopeGuard([&] { m_server.setFault("/image.bin", "off"); });
    const QNetworkRequest request(m_server.url("/image.bin"));
    const HttpTransfer::Failure failure =
        text.isEmpty() ? HttpTransfer::Failure::None : HttpTransfer::Failure::TooLarge;
    HttpTransfer transfer(&m_manager);
    QSignalSpy progress(&transfer, &HttpTransfer::progress);

    const PeakMemory memory;
    QVERIFY(memory.isValid());
    QVERIFY(finishes(transfer, [&] { return transfer.downloadToMemory(request, ceiling); }));
    QVERIFY2(memory.growth() < ceiling + kMemoryMargin,
             qPrintable(QString::number(memory.growth())));
    QCOMPARE(transfer.failure(), failure);
    QVERIFY2(transfer.errorString().contains(text), qPrintable(transfer.errorString()));
    QCOMPARE(transfer.data().size(), text.isEmpty() ? m_image.size() : 0);
    if (!progress.isEmpty())
        QVERIFY(progress.last().at(0).toLongLong() <= ceiling + HttpTransfer::kAnswerLimit);

    QTemporaryDir folder;
    const PeakMemory fileMemory;
    QVERIFY(finishes(transfer, [&] {
        return transfer.downloadToFile(request, folder.filePath("image.bin"), ceiling);
    }));
    QVERIFY2(fileMemory.growth() < kMemoryMargin, qPrintable(QString::number(fileMemory.growth())));
    QCOMPARE(transfer.failure(), failure);
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files),
             text.isEmpty() ? QStringList{"image.bin"} : QStringList());
}

void TestHttpTransfer::refusedAddressesAreNeverFetched_data()
{
    // %1: the served image, %2: a foreign host's base, %3: the server's host on another port
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("redirect"); // the served image redirects there when given
    QTest::addColumn<bool>("hostsListed");
    QTest::newRow("a local file") << "file://%1"
                                  << "" << false;
    QTest::newRow("ftp") << "ftp://127.0.0.1/image.bin"
                         << "" << false;
    QTest::newRow("no scheme") << "image.bin"
                               << "" << false;
    QTest::newRow("a host not listed") << "%2/image.bin"
                                       << "" << true;
    QTest::newRow("redirect to a host not listed") << ""
                                                   << "%2/image.bin" << true;
    QTest::newRow("the listed host on another port") << "%3/image.bin"
                                                     << "" << true;
    QTest::newRow("redirect to the listed host on another port") << ""
                                                                 << "%3/image.bin" << true;
    QTest::newRow("redirect to a local file") << ""
                                              << "file://%1" << false;
}

// Nothing is read, nothing is written, no connection reaches the foreign host or port, and the
// error names the address.
void TestHttpTransfer::refusedAddressesAreNeverFetched()
{
    QFETCH(QString, address);
    QFETCH(QString, redirect);
    QFETCH(bool, hostsListed);
    QTcpServer foreign;
    QVERIFY(qx8test::listenOnUniqueLoopback(foreign, 0));
    QTcpServer otherPort;
    QVERIFY(otherPort.listen(QHostAddress(m_server.url(QString()).host())));
    const auto base = [](const QTcpServer& server) {
        return QStringLiteral("http://%1:%2")
            .arg(server.serverAddress().toString())
            .arg(server.serverPort());
    };
    const QString localFile = m_served.filePath("image.bin");
    const QString refused = QString(redirect.isEmpty() ? address : redirect)
                                .replace("%1", localFile)
                                .replace("%2", base(foreign))
                                .replace("%3", base(otherPort));
    if (!redirect.isEmpty())
        QVERIFY(m_server.setFault("/image.bin", "redirect:" + refused));
    auto clearFault = qScopeGuard([&] { m_server.setFault("/image.bin", "off"); });
    const QUrl url = redirect.isEmpty() ? QUrl(refused) : m_server.url("/image.bin");

    HttpTransfer transfer(&m_manager);
    if (hostsListed)
        transfer.setAllowedHosts({m_server.url(QString()).authority()});
    QVERIFY(finishes(transfer, [&] {
        return transfer.downloadToMemory(QNetworkRequest(url), downloadlimits::kFeed);
    }));
    QCOMPARE(transfer.failure(), HttpTransfer::Failure::Address);
    QVERIFY2(transfer.errorString().contains(QUrl(refused).toDisplayString()),
             qPrintable(transfer.errorString()));
    QVERIFY(transfer.data().isEmpty());

    QTemporaryDir folder;
    QVERIFY(finishes(transfer, [&] {
        return transfer.downloadToFile(QNetworkRequest(url), folder.filePath("image.bin"),
                                       downloadlimits::kImage);
    }));
    QCOMPARE(transfer.failure(), HttpTransfer::Failure::Address);
    QVERIFY(QDir(folder.path()).entryList(QDir::Files).isEmpty());
    QVERIFY(!foreign.hasPendingConnections());
    QVERIFY(!otherPort.hasPendingConnections());
}

void TestHttpTransfer::abortKeepsTheOldFile()
{
    QVERIFY(m_server.setFault("/image.bin", "stall"));
    auto clearFault = qScopeGuard([&] { m_server.setFault("/image.bin", "off"); });
    QTemporaryDir folder;
    const QString target = folder.filePath("image.bin");
    writeFile(target, "older image");
    HttpTransfer transfer(&m_manager);
    QSignalSpy progress(&transfer, &HttpTransfer::progress);
    QSignalSpy finished(&transfer, &HttpTransfer::finished);
    QVERIFY(transfer.downloadToFile(QNetworkRequest(m_server.url("/image.bin")), target,
                                    downloadlimits::kImage));
    QTRY_VERIFY_WITH_TIMEOUT(!progress.isEmpty() && progress.last().at(0).toLongLong() > 0,
                             qx8test::timeoutMs());
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("refused: another one is running"));
    QVERIFY(!transfer.downloadToMemory(QNetworkRequest(m_server.url("/image.bin")),
                                       downloadlimits::kFeed));

    transfer.abort();
    QCOMPARE(finished.count(), 1);
    QCOMPARE(transfer.error(), QNetworkReply::OperationCanceledError);
    QCOMPARE(qx8test::fileContent(target), QByteArray("older image"));
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList{"image.bin"});
}

// A FIFO under the name the download runs into is not opened (with no reader the open would wait
// for ever): it is replaced by a file of the download's own. The FIFO is held open here at both
// ends with room for the whole image, so that a download that did open it would end, with the
// FIFO in the target's place.
void TestHttpTransfer::fifoInThePartialFilesPlace()
{
    QTemporaryDir folder;
    const QString target = folder.filePath("2.5.0");
    const QByteArray partial = QFile::encodeName(target + ".tmp");
    QCOMPARE(::mkfifo(partial.constData(), 0600), 0);
    const int ends = ::open(partial.constData(), O_RDWR | O_NONBLOCK);
    QVERIFY(ends >= 0);
    auto close = qScopeGuard([&] { ::close(ends); });
    QVERIFY(::fcntl(ends, F_SETPIPE_SZ, 4 * m_image.size()) >= m_image.size());

    HttpTransfer transfer(&m_manager);
    QVERIFY(finishes(transfer, [&] {
        return transfer.downloadToFile(QNetworkRequest(m_server.url("/image.bin")), target,
                                       downloadlimits::kImage);
    }));
    QCOMPARE(transfer.failure(), HttpTransfer::Failure::None);
    QVERIFY(QFileInfo(target).isFile());
    QCOMPARE(qx8test::fileContent(target), m_image);
    QCOMPARE(QDir(folder.path()).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot),
             QStringList{"2.5.0"});
}

// A folder under the name the download runs into is not the download's to remove: the download
// fails and says what is in its way, and the folder stays as it was.
void TestHttpTransfer::folderUnderThePartialNameIsNamed()
{
    QTemporaryDir folder;
    const QString target = folder.filePath("2.5.0");
    const QString partial = target + ".tmp";
    QVERIFY(QDir().mkpath(partial));
    writeFile(partial + "/inner", "inner");
    HttpTransfer transfer(&m_manager);
    QVERIFY(finishes(transfer, [&] {
        return transfer.downloadToFile(QNetworkRequest(m_server.url("/image.bin")), target,
                                       downloadlimits::kImage);
    }));
    QCOMPARE(transfer.failure(), HttpTransfer::Failure::Unwritable);
    QCOMPARE(transfer.errorString(), "Could not save " + partial + ": Is a directory");
    QCOMPARE(transfer.fileProblem().fileName, partial);
    QCOMPARE(transfer.fileProblem().reason, QStringLiteral("Is a directory"));
    QCOMPARE(qx8test::fileContent(partial + "/inner"), QByteArray("inner"));
    QVERIFY(!QFileInfo::exists(target));
}

void TestHttpTransfer::unwritableTargets_data()
{
    QTest::addColumn<QString>("target");
    QTest::newRow("a folder in the way") << "in-the-way";
    QTest::newRow("no such folder") << "missing/1.2.3";
}

void TestHttpTransfer::unwritableTargets()
{
    QFETCH(QString, target);
    QTemporaryDir folder;
    QVERIFY(QDir(folder.path()).mkdir("in-the-way"));
    HttpTransfer transfer(&m_manager);
    QVERIFY(finishes(transfer, [&] {
        return transfer.downloadToFile(QNetworkRequest(m_server.url("/image.bin")),
                                       folder.filePath(target), downloadlimits::kImage);
    }));
    QCOMPARE(transfer.failure(), HttpTransfer::Failure::Unwritable);
    QVERIFY2(transfer.errorString().contains(target), qPrintable(transfer.errorString()));
    QVERIFY2(transfer.fileProblem().fileName.startsWith(folder.filePath(target)),
             qPrintable(transfer.fileProblem().fileName));
    QVERIFY(transfer.errorString().endsWith(transfer.fileProblem().reason));
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList{});
}

void TestHttpTransfer::fullDiskIsNamed_data()
{
    QTest::addColumn<qint64>("disk");
    QTest::addColumn<QString>("fault");
    QTest::addColumn<qint64>("margin");
    QTest::addColumn<QString>("text");
    const qint64 kib = 1024;
    QTest::newRow("length announced")
        << 32 * kib << "" << qint64(0) << "it needs 64 KiB and the disk has 32 KiB free.";
    QTest::newRow("no length") << 32 * kib << "endless" << qint64(0) << "No space left on device";
    // The 64 KiB image fits on a disk of 96 KiB, but not with 64 KiB kept free.
    QTest::newRow("length announced, margin")
        << 96 * kib << "" << 64 * kib
        << "it needs 64 KiB and the disk has 96 KiB free, of which 64 KiB must stay free.";
    QTest::newRow("no length, margin")
        << 96 * kib << "endless" << 64 * kib << "and 64 KiB must stay free.";
    QTest::newRow("compressed, margin")
        << 96 * kib << "gzip:0" << 64 * kib << "and 64 KiB must stay free.";
    QTest::newRow("compression bomb, margin")
        << 96 * kib << "gzip:1073741824" << 64 * kib << "and 64 KiB must stay free.";
}

// A small disk: the download fails with the disk's own words, or stops before it would leave
// less than its margin free, and leaves nothing on the disk.
void TestHttpTransfer::fullDiskIsNamed()
{
    QFETCH(qint64, disk);
    QFETCH(QString, fault);
    QFETCH(qint64, margin);
    QFETCH(QString, text);
    QTemporaryDir folder;
    QVERIFY(qx8test::mountSmallDisk(folder.path(), disk));
    auto unmount = qScopeGuard([&] { qx8test::unmount(folder.path()); });
    if (!fault.isEmpty())
        QVERIFY(m_server.setFault("/image.bin", fault));
    auto clearFault = qScopeGuard([&] { m_server.setFault("/image.bin", "off"); });
    HttpTransfer transfer(&m_manager);
    transfer.setFreeSpaceMargin(margin);
    QVERIFY(finishes(transfer, [&] {
        return transfer.downloadToFile(QNetworkRequest(m_server.url("/image.bin")),
                                       folder.filePath("2.5.0"), downloadlimits::kImage);
    }));
    QCOMPARE(transfer.failure(), HttpTransfer::Failure::Storage);
    QVERIFY2(transfer.errorString().contains(text), qPrintable(transfer.errorString()));
    QVERIFY(QDir(folder.path()).entryList(QDir::Files).isEmpty());
}

// A disk with bytes to spare but room for no more files (its root folder takes the one it has):
// the partial file cannot be made, and that is the disk being full.
void TestHttpTransfer::diskWithoutRoomForAFileIsFull()
{
    QTemporaryDir folder;
    QVERIFY(qx8test::mountSmallDisk(folder.path(), 1024 * 1024, 1));
    auto unmount = qScopeGuard([&] { qx8test::unmount(folder.path()); });
    HttpTransfer transfer(&m_manager);
    QVERIFY(finishes(transfer, [&] {
        return transfer.downloadToFile(QNetworkRequest(m_server.url("/image.bin")),
                                       folder.filePath("2.5.0"), downloadlimits::kImage);
    }));
    QCOMPARE(transfer.failure(), HttpTransfer::Failure::Storage);
    QCOMPARE(transfer.errorString(),
             "Could not save " + folder.filePath("2.5.0.tmp") + ": No space left on device");
}

bool TestHttpTransfer::finishes(HttpTransfer& transfer, const std::function<bool()>& start)
{
    QSignalSpy finished(&transfer, &HttpTransfer::finished);
    if (!start() || !finished.isEmpty())
        return false;
    if (!finished.wait(qx8test::timeoutMs()))
        return false;
    QTest::qWait(20);
    return finished.count() == 1 && !transfer.isRunning();
}

void TestHttpTransfer::writeFile(const QString& path, const QByteArray& content)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(content), content.size());
}

int TestHttpTransfer::requestsFor(const QByteArray& path, int since) const
{
    const QList<HttpServerProcess::Request> requests = m_server.requests().mid(since);
    return int(std::count_if(requests.begin(), requests.end(),
                             [&](const auto& request) { return request.path == path; }));
}

QX8_PRIVATE_MOUNTS_TEST_MAIN(QCoreApplication, TestHttpTransfer)
#include "tst_httptransfer.moc"
