#include "ftpserverprocess.h"
#include "ftptestsupport.h"
#include "qftp.h"
#include "signalrecorder.h"
#include "testharness.h"

#include <QBuffer>
#include <QDir>
#include <QLocale>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>

using ftptest::pattern;
using ftptest::readFile;
using ftptest::waitForDone;
using ftptest::writeFile;

// The client against pyftpdlib, the kind of server the device runs, on loopback.
class TestQFtpPyFtpdLib : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();

    void idsRiseAcrossClients();
    void emptyQueueInspectors();
    void connectAndLoginSignalOrder();
    void cdAndNameList();
    void emptyFolderNameListIs450();
    void listReadsEntriesUnderGermanLocale();
    void getAndPut_data();
    void getAndPut();
    void putFromFileAndGetWithoutDevice();
    void activeModeTransfers();
    void folderAndFileCommands();
    void rawCommandReply();
    void failingCdCancelsQueuedListing();
    void commandQueuedInFinishedSlotStartsAtOnce();
    void closeSignalOrder();
    void closeWhenNotConnected();
    void abortRunningDownload();
    void lineBreakInArgumentIsNeverSent();
    void anonymousLoginLines();
    void wrongPasswordThenReconnect();
    void refusedControlConnection();
    void serverKilledMidTransfer();
    void serverStopsAnsweringMidTransfer();

private:
    // A server of its own for a test that kills or stops it, serving a 64 MiB "big.bin".
    bool startServerWithBigFile(const QTemporaryDir& root, FtpServerProcess& server);
    // Queues connect and login, and waits for them to succeed.
    bool logIn(QFtp& ftp, FtpServerProcess& server);
    QString folder(const QString& name) const { return m_root.filePath(name); }
    FtpServerProcess m_server{FtpServerProcess::Kind::PyFtpdLib};
    QTemporaryDir m_root;
    QString m_test; // a fresh folder per test, under the served root
};

static FtpServerProcess::Options emptyNameListAnswers450()
{
    FtpServerProcess::Options options;
    options.emptyNameListIs450 = true;
    return options;
}

bool TestQFtpPyFtpdLib::logIn(QFtp& ftp, FtpServerProcess& server)
{
    ftp.connectToHost(server.address(), server.port());
    ftp.login(FtpServerProcess::user, FtpServerProcess::password);
    bool failed = true;
    return waitForDone(ftp, &failed) && !failed && ftp.state() == QFtp::LoggedIn;
}

bool TestQFtpPyFtpdLib::startServerWithBigFile(const QTemporaryDir& root, FtpServerProcess& server)
{
    return writeFile(root.filePath(QStringLiteral("big.bin")), pattern(64 * 1024 * 1024)) &&
           server.start(root.path());
}

void TestQFtpPyFtpdLib::initTestCase()
{
    QVERIFY(m_root.isValid());
    QVERIFY2(m_server.start(m_root.path(), emptyNameListAnswers450()), "pyftpdlib did not start");
}

void TestQFtpPyFtpdLib::init()
{
    m_test = QString::fromLatin1(QTest::currentTestFunction());
    if (const char* row = QTest::currentDataTag())
        m_test += QLatin1Char('-') + QString::fromLatin1(row).replace(QLatin1Char(' '), '_');
    QVERIFY(QDir(m_root.path()).mkpath(m_test));
}

void TestQFtpPyFtpdLib::idsRiseAcrossClients()
{
    QFtp first;
    QFtp second;
    QSignalSpy firstDone(&first, &QFtp::done);
    QSignalSpy secondDone(&second, &QFtp::done);
    const int a = first.connectToHost(m_server.address(), m_server.port());
    const int b = second.connectToHost(m_server.address(), m_server.port());
    const int c = first.login(FtpServerProcess::user, FtpServerProcess::password);
    QVERIFY(a >= 1);
    QCOMPARE(b, a + 1);
    QCOMPARE(c, a + 2);
    QCOMPARE(first.currentId(), a);
    QCOMPARE(first.currentCommand(), QFtp::ConnectToHost);
    QVERIFY(first.hasPendingCommands());
    QVERIFY(!second.hasPendingCommands());
    QTRY_COMPARE_WITH_TIMEOUT(firstDone.count() + secondDone.count(), 2, qx8test::timeoutMs());
}

void TestQFtpPyFtpdLib::emptyQueueInspectors()
{
    QFtp ftp;
    QCOMPARE(ftp.currentId(), 0);
    QCOMPARE(ftp.currentCommand(), QFtp::None);
    QCOMPARE(ftp.currentDevice(), nullptr);
    QCOMPARE(ftp.state(), QFtp::Unconnected);
    QCOMPARE(ftp.error(), QFtp::NoError);
    QCOMPARE(ftp.errorString(), QStringLiteral("Unknown error"));
    ftp.put(QByteArray("x"), QStringLiteral("x"));
    QCOMPARE(ftp.currentDevice(), nullptr); // a put of bytes holds no device
    ftp.clearPendingCommands();
    QCOMPARE(ftp.currentCommand(), QFtp::Put);
    ftp.abort(); // harmless before anything was sent
}

void TestQFtpPyFtpdLib::connectAndLoginSignalOrder()
{
    QFtp ftp;
    SignalRecorder recorder(&ftp);
    const int connectId = ftp.connectToHost(m_server.address(), m_server.port());
    const int loginId = ftp.login(FtpServerProcess::user, FtpServerProcess::password);
    QVERIFY(waitForDone(ftp));

    QStringList expected{QStringLiteral("commandStarted %1").arg(connectId),
                         QStringLiteral("stateChanged 1"),
                         QStringLiteral("stateChanged 2"),
                         QStringLiteral("stateChanged 3"),
                         QStringLiteral("commandFinished %1 false").arg(connectId),
                         QStringLiteral("commandStarted %1").arg(loginId),
                         QStringLiteral("stateChanged 4"),
                         QStringLiteral("commandFinished %1 false").arg(loginId),
                         QStringLiteral("done false")};
    QStringList seen;
    for (const SignalRecorder::Emission& e : recorder.emissions()) {
        QStringList parts{e.name};
        for (const QVariant& argument : e.arguments)
            parts << argument.toString();
        seen << parts.join(QLatin1Char(' '));
    }
    QCOMPARE(seen, expected);
    QVERIFY(m_server.commandLog().contains(QStringLiteral("PASS ") + FtpServerProcess::password));
}

void TestQFtpPyFtpdLib::cdAndNameList()
{
    QVERIFY(writeFile(folder(m_test + "/a.preset"), "one"));
    QVERIFY(writeFile(folder(m_test + "/b.preset"), "two"));
    QFtp ftp;
    QVERIFY(logIn(ftp, m_server));

    QBuffer buffer;
    SignalRecorder recorder(&ftp);
    connect(&ftp, &QFtp::commandStarted, this, [&] {
        if (ftp.currentCommand() == QFtp::NameList)
            buffer.open(QIODevice::WriteOnly);
    });
    const int cdId = ftp.cd(QLatin1Char('/') + m_test);
    const int listId = ftp.nameList(&buffer);
    QCOMPARE(ftp.currentDevice(), nullptr); // the cd is current
    bool failed = true;
    QVERIFY(waitForDone(ftp, &failed));
    QVERIFY(!failed);

    QStringList names =
        QString::fromUtf8(buffer.data()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    names.sort();
    QCOMPARE(names, (QStringList{QStringLiteral("a.preset"), QStringLiteral("b.preset")}));
    const QStringList order =
        recorder.names({"commandStarted", "commandFinished", "done", "dataTransferProgress"});
    QCOMPARE(order.first(), QStringLiteral("commandStarted"));
    QCOMPARE(order.mid(1, 2), (QStringList{"commandFinished", "commandStarted"}));
    QVERIFY(order.contains(QStringLiteral("dataTransferProgress")));
    QCOMPARE(order.mid(order.size() - 2), (QStringList{"commandFinished", "done"}));
    const QList<SignalRecorder::Emission> emissions = recorder.emissions();
    QCOMPARE(emissions.first().arguments.first().toInt(), cdId);
    QCOMPARE(emissions.last().name, QStringLiteral("done"));
    QCOMPARE(emissions.at(emissions.size() - 2).arguments, (QVariantList{listId, false}));

    const QStringList log = m_server.commandLog();
    const int cwd = log.lastIndexOf(QStringLiteral("CWD /") + m_test);
    QVERIFY(cwd >= 0);
    QCOMPARE(log.mid(cwd, 4), (QStringList{"CWD /" + m_test, "TYPE A", "PASV", "NLST"}));
}

void TestQFtpPyFtpdLib::emptyFolderNameListIs450()
{
    QFtp ftp;
    QVERIFY(logIn(ftp, m_server));
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    ftp.cd(QLatin1Char('/') + m_test);
    const int listId = ftp.nameList(QString(), &buffer);
    QSignalSpy finished(&ftp, &QFtp::commandFinished);
    connect(&ftp, &QFtp::commandFinished, this, [&](int id, bool error) {
        if (id != listId)
            return;
        QVERIFY(error);
        QCOMPARE(ftp.currentCommand(), QFtp::NameList);
        QCOMPARE(ftp.error(), QFtp::NoFilesFound);
        QCOMPARE(ftp.errorString(), QStringLiteral("No files found"));
    });
    bool failed = false;
    QVERIFY(waitForDone(ftp, &failed));
    QVERIFY(failed);
    QCOMPARE(finished.count(), 2);
    QVERIFY(buffer.data().isEmpty());
    QVERIFY(m_server.commandLog().last() == QStringLiteral("NLST"));

    // The client goes on after the empty listing.
    ftp.cd(QStringLiteral("/"));
    QVERIFY(waitForDone(ftp, &failed));
    QVERIFY(!failed);
}

void TestQFtpPyFtpdLib::listReadsEntriesUnderGermanLocale()
{
    // The month names of listings are English whatever the user's locale.
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    QVERIFY(QDir(folder(m_test)).mkdir(QStringLiteral("presets")));
    QVERIFY(writeFile(folder(m_test + "/Preset_1.preset"), pattern(1234)));

    QFtp ftp;
    QVERIFY(logIn(ftp, m_server));
    QList<QUrlInfo> entries;
    connect(&ftp, &QFtp::listInfo, this, [&](const QUrlInfo& info) { entries << info; });
    ftp.list(QLatin1Char('/') + m_test);
    bool failed = true;
    QVERIFY(waitForDone(ftp, &failed));
    QLocale::setDefault(previous);
    QVERIFY(!failed);

    QCOMPARE(entries.size(), 2);
    std::sort(entries.begin(), entries.end(),
              [](const QUrlInfo& a, const QUrlInfo& b) { return a.name() < b.name(); });
    const QUrlInfo& file = entries.at(0);
    QCOMPARE(file.name(), QStringLiteral("Preset_1.preset"));
    QVERIFY(file.isFile() && !file.isDir());
    QCOMPARE(file.size(), 1234);
    QVERIFY(file.lastModified().isValid());
    QVERIFY(qAbs(file.lastModified().secsTo(QDateTime::currentDateTime())) < 3600 * 25);
    QCOMPARE(entries.at(1).name(), QStringLiteral("presets"));
    QVERIFY(entries.at(1).isDir());
}

void TestQFtpPyFtpdLib::getAndPut_data()
{
    QTest::addColumn<int>("size");
    QTest::newRow("empty") << 0;
    QTest::newRow("small") << 10000;
    QTest::newRow("multi-megabyte") << 6 * 1024 * 1024 + 7;
}

void TestQFtpPyFtpdLib::getAndPut()
{
    QFETCH(int, size);
    const QByteArray content = pattern(size);
    QVERIFY(writeFile(folder(m_test + "/down.bin"), content));

    QFtp ftp;
    QVERIFY(logIn(ftp, m_server));
    ftp.cd(QLatin1Char('/') + m_test);
    QBuffer target;
    target.open(QIODevice::WriteOnly);
    QList<QPair<qint64, qint64>> progress;
    connect(&ftp, &QFtp::dataTransferProgress, this, [&](qint64 done, qint64 total) {
        progress.append({done, total});
    });
    ftp.get(QStringLiteral("down.bin"), &target);
    bool failed = true;
    QVERIFY(waitForDone(ftp, &failed));
    QVERIFY2(!failed, qPrintable(ftp.errorString()));
    QCOMPARE(target.data().size(), content.size());
    QVERIFY(target.data() == content);
    QCOMPARE(progress.first(), qMakePair(qint64(0), qint64(size)));
    if (size > 0)
        QCOMPARE(progress.last(), qMakePair(qint64(size), qint64(size)));

    progress.clear();
    ftp.put(content, QStringLiteral("up.bin"));
    QVERIFY(waitForDone(ftp, &failed));
    QVERIFY2(!failed, qPrintable(ftp.errorString()));
    QVERIFY(readFile(folder(m_test + "/up.bin")) == content);
    QCOMPARE(progress.first(), qMakePair(qint64(0), qint64(size)));
    QCOMPARE(progress.last(), qMakePair(qint64(size), qint64(size)));

    const QStringList log = m_server.commandLog();
    QCOMPARE(log.mid(log.size() - 8),
             (QStringList{"TYPE I", "SIZE down.bin", "PASV", "RETR down.bin", "TYPE I", "PASV",
                          QStringLiteral("ALLO %1").arg(size), "STOR up.bin"}));
}

void TestQFtpPyFtpdLib::putFromFileAndGetWithoutDevice()
{
    const QByteArray content = pattern(300 * 1024 + 5); // several upload blocks
    QTemporaryDir local;
    const QString source = local.filePath(QStringLiteral("source.bin"));
    QVERIFY(writeFile(source, content));
    QFile file(source); // unopened: the client opens it for reading

    QFtp ftp;
    QVERIFY(logIn(ftp, m_server));
    ftp.cd(QLatin1Char('/') + m_test);
    ftp.put(&file, QStringLiteral("fromfile.bin"), QFtp::Binary);
    bool failed = true;
    QVERIFY(waitForDone(ftp, &failed));
    QVERIFY2(!failed, qPrintable(ftp.errorString()));
    QVERIFY(readFile(folder(m_test + "/fromfile.bin")) == content);
    QVERIFY(m_server.commandLog().contains(QStringLiteral("ALLO %1").arg(content.size())));

    // Without a device the bytes wait in the client for read()/readAll().
    QByteArray received;
    connect(&ftp, &QFtp::readyRead, this, [&] { received += ftp.readAll(); });
    ftp.get(QStringLiteral("fromfile.bin"), nullptr, QFtp::Binary);
    QVERIFY(waitForDone(ftp, &failed));
    QVERIFY(!failed);
    received += ftp.readAll();
    QCOMPARE(received.size(), content.size());
    QVERIFY(received == content);

    // In ASCII mode the server sends its line ends as CR LF; SIZE is still asked for.
    QVERIFY(writeFile(folder(m_test + "/text.txt"), "one\ntwo\n"));
    received.clear();
    ftp.get(QStringLiteral("text.txt"), nullptr, QFtp::Ascii);
    QVERIFY(waitForDone(ftp, &failed));
    QVERIFY(!failed);
    received += ftp.readAll();
    QCOMPARE(received, QByteArray("one\r\ntwo\r\n"));
    const QStringList log = m_server.commandLog();
    QCOMPARE(log.mid(log.size() - 4),
             (QStringList{"TYPE A", "SIZE text.txt", "PASV", "RETR text.txt"}));
}

void TestQFtpPyFtpdLib::activeModeTransfers()
{
    const QByteArray content = pattern(200000);
    QVERIFY(writeFile(folder(m_test + "/active.bin"), content));
    QFtp ftp;
    QVERIFY(logIn(ftp, m_server));
    ftp.setTransferMode(QFtp::Active);
    ftp.cd(QLatin1Char('/') + m_test);
    QBuffer target;
    target.open(QIODevice::WriteOnly);
    ftp.get(QStringLiteral("active.bin"), &target);
    ftp.put(content, QStringLiteral("active-up.bin"));
    bool failed = true;
    QVERIFY(waitForDone(ftp, &failed));
    QVERIFY2(!failed, qPrintable(ftp.errorString()));
    QVERIFY(target.data() == content);
    QVERIFY(readFile(folder(m_test + "/active-up.bin")) == content);

    // The listener sits on the control connection's local address.
    int ports = 0;
    for (const QString& line : m_server.commandLog())
        ports += line.startsWith(QStringLiteral("PORT 127,")) && line.count(',') == 5 ? 1 : 0;
    QCOMPARE(ports, 2);
}

void TestQFtpPyFtpdLib::folderAndFileCommands()
{
    QVERIFY(writeFile(folder(m_test + "/old.txt"), "x"));
    QFtp ftp;
    QVERIFY(logIn(ftp, m_server));
    ftp.cd(QLatin1Char('/') + m_test);
    ftp.mkdir(QStringLiteral("made"));
    ftp.rename(QStringLiteral("old.txt"), QStringLiteral("made/new.txt"));
    ftp.remove(QStringLiteral("made/new.txt"));
    ftp.rmdir(QStringLiteral("made"));
    QSignalSpy finished(&ftp, &QFtp::commandFinished);
    bool failed = true;
    QVERIFY(waitForDone(ftp, &failed));
    QVERIFY2(!failed, qPrintable(ftp.errorString()));
    QCOMPARE(finished.count(), 5);
    QVERIFY(QDir(folder(m_test)).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty());

    const QList<QPair<QString, QString>> failures{{"Removing file failed:\n", "remove"},
                                                  {"Creating directory failed:\n", "mkdir"},
                                                  {"Removing directory failed:\n", "rmdir"}};
    ftp.remove(QStringLiteral("missing"));
    QVERIFY(waitForDone(ftp, &failed));
    QVERIFY(failed);
    QVERIFY(ftp.errorString().startsWith(failures.at(0).first));
    QCOMPARE(ftp.error(), QFtp::UnknownError);
    ftp.mkdir(QStringLiteral("/nope/deeper"));
    QVERIFY(waitForDone(ftp, &failed));
    QVERIFY(ftp.errorString().startsWith(failures.at(1).first));
    ftp.rmdir(QStringLiteral("missing"));
    QVERIFY(waitForDone(ftp, &failed));
    QVERIFY(ftp.errorString().startsWith(failures.at(2).first));
    ftp.rename(QStringLiteral("missing"), QStringLiteral("other"));
    QVERIFY(waitForDone(ftp, &failed));
    QVERIFY(failed);
    QVERIFY(!ftp.errorString().contains(QLatin1Char('\n'))); // no prefix for a rename
}

void TestQFtpPyFtpdLib::rawCommandReply()
{
    QFtp ftp;
    QVERIFY(logIn(ftp, m_server));
    QSignalSpy replies(&ftp, &QFtp::rawCommandReply);
    ftp.rawCommand(QStringLiteral("  PWD  "));
    bool failed = true;
    QVERIFY(waitForDone(ftp, &failed));
    QVERIFY(!failed);
    QCOMPARE(replies.count(), 1);
    QCOMPARE(replies.first().at(0).toInt(), 257);
    QVERIFY(replies.first().at(1).toString().startsWith(QStringLiteral("\"/\"")));
    QCOMPARE(m_server.commandLog().last(), QStringLiteral("PWD"));
}

void TestQFtpPyFtpdLib::failingCdCancelsQueuedListing()
{
    QFtp ftp;
    QVERIFY(logIn(ftp, m_server));
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QSignalSpy started(&ftp, &QFtp::commandStarted);
    QSignalSpy finished(&ftp, &QFtp::commandFinished);
    QSignalSpy done(&ftp, &QFtp::done);
    const int cdId = ftp.cd(QStringLiteral("/nope"));
    ftp.nameList(&buffer);
    QTRY_COMPARE_WITH_TIMEOUT(done.count(), 1, qx8test::timeoutMs());
    QCOMPARE(done.first().first().toBool(), true);
    QCOMPARE(started.count(), 1);
    QCOMPARE(finished.count(), 1);
    QCOMPARE(finished.first(), (QVariantList{cdId, true}));
    QVERIFY(ftp.errorString().startsWith(QStringLiteral("Changing directory failed:\n")));
    QCOMPARE(ftp.currentCommand(), QFtp::None);
    QTest::qWait(50);
    QCOMPARE(done.count(), 1);
}

void TestQFtpPyFtpdLib::commandQueuedInFinishedSlotStartsAtOnce()
{
    QFtp ftp;
    QVERIFY(logIn(ftp, m_server));
    SignalRecorder recorder(&ftp);
    int followUp = 0;
    const int first = ftp.cd(QStringLiteral("/"));
    connect(&ftp, &QFtp::commandFinished, this, [&](int id) {
        if (id == first)
            followUp = ftp.cd(QLatin1Char('/') + m_test);
    });
    QVERIFY(waitForDone(ftp));
    QVERIFY(followUp > first);
    QCOMPARE(recorder.names({"commandStarted", "commandFinished", "done"}),
             (QStringList{"commandStarted", "commandFinished", "commandStarted", "commandFinished",
                          "done"}));
}

void TestQFtpPyFtpdLib::closeSignalOrder()
{
    QFtp ftp;
    QVERIFY(logIn(ftp, m_server));
    SignalRecorder recorder(&ftp);
    ftp.close();
    bool failed = true;
    QVERIFY(waitForDone(ftp, &failed));
    QVERIFY(!failed);
    QCOMPARE(recorder.names(), (QStringList{"commandStarted", "stateChanged", "stateChanged",
                                            "commandFinished", "done"}));
    const QList<SignalRecorder::Emission> emissions = recorder.emissions();
    QCOMPARE(emissions.at(1).arguments.first().toInt(), int(QFtp::Closing));
    QCOMPARE(emissions.at(2).arguments.first().toInt(), int(QFtp::Unconnected));
    QCOMPARE(m_server.commandLog().last(), QStringLiteral("QUIT"));

    // And the same client connects again.
    QVERIFY(logIn(ftp, m_server));
}

void TestQFtpPyFtpdLib::closeWhenNotConnected()
{
    QFtp ftp;
    SignalRecorder recorder(&ftp);
    const int id = ftp.close();
    bool failed = false;
    QVERIFY(waitForDone(ftp, &failed));
    QVERIFY(failed);
    QCOMPARE(recorder.names(),
             (QStringList{"commandStarted", "stateChanged", "commandFinished", "done"}));
    QCOMPARE(recorder.emissions().at(2).arguments, (QVariantList{id, true}));
    QCOMPARE(ftp.error(), QFtp::NotConnected);
    QCOMPARE(ftp.errorString(), QStringLiteral("Not connected"));
    QCOMPARE(ftp.state(), QFtp::Closing);
    QVERIFY(logIn(ftp, m_server));
}

void TestQFtpPyFtpdLib::abortRunningDownload()
{
    QVERIFY(writeFile(folder(m_test + "/big.bin"), pattern(48 * 1024 * 1024)));
    QFtp ftp;
    QVERIFY(logIn(ftp, m_server));
    ftp.cd(QLatin1Char('/') + m_test);
    QBuffer target;
    target.open(QIODevice::WriteOnly);
    const int getId = ftp.get(QStringLiteral("big.bin"), &target);
    const int behind = ftp.remove(QStringLiteral("big.bin"));
    QSignalSpy started(&ftp, &QFtp::commandStarted);
    QSignalSpy finished(&ftp, &QFtp::commandFinished);
    bool aborted = false;
    connect(&ftp, &QFtp::dataTransferProgress, this, [&](qint64 done) {
        if (done > 0 && !aborted) {
            aborted = true;
            ftp.abort();
        }
    });
    bool failed = false;
    QVERIFY(waitForDone(ftp, &failed));
    QVERIFY(aborted);
    QVERIFY(failed);
    QCOMPARE(ftp.currentCommand(), QFtp::None);
    for (const QList<QVariant>& s : started)
        QVERIFY(s.first().toInt() != behind);
    QVERIFY(QFile::exists(folder(m_test + "/big.bin")));
    QVERIFY(m_server.commandLog().contains(QStringLiteral("ABOR")));
    // The cd before it, then the download, ended by the server's failure reply.
    QCOMPARE(finished.count(), 2);
    QCOMPARE(finished.last(), (QVariantList{getId, true}));

    // The connection still serves commands afterwards.
    ftp.cd(QStringLiteral("/"));
    QVERIFY(waitForDone(ftp, &failed));
    QVERIFY2(!failed, qPrintable(ftp.errorString()));
}

void TestQFtpPyFtpdLib::lineBreakInArgumentIsNeverSent()
{
    QFtp ftp;
    QVERIFY(logIn(ftp, m_server));
    const int before = m_server.commandLog().size();
    ftp.remove(QStringLiteral("x\r\nDELE important"));
    bool failed = false;
    QVERIFY(waitForDone(ftp, &failed));
    QVERIFY(failed);
    QCOMPARE(ftp.error(), QFtp::UnknownError);
    QVERIFY(ftp.errorString().startsWith(QStringLiteral("Removing file failed:\n")));
    ftp.get(QStringLiteral("a\nb"), nullptr);
    QVERIFY(waitForDone(ftp, &failed));
    QVERIFY(failed);
    ftp.rawCommand(QStringLiteral("NOOP\nDELE x"));
    QVERIFY(waitForDone(ftp, &failed));
    QVERIFY(failed);
    ftp.cd(QStringLiteral("/"));
    QVERIFY(waitForDone(ftp, &failed));
    QVERIFY(!failed);
    QCOMPARE(m_server.commandLog().mid(before), QStringList{"CWD /"});
}

void TestQFtpPyFtpdLib::anonymousLoginLines()
{
    QFtp ftp;
    ftp.connectToHost(m_server.address(), m_server.port());
    ftp.login();
    bool failed = false;
    QVERIFY(waitForDone(ftp, &failed));
    QVERIFY(failed); // the server has no anonymous user
    QCOMPARE(ftp.error(), QFtp::UnknownError);
    QVERIFY(ftp.errorString().startsWith(QStringLiteral("Login failed:\n")));
    const QStringList log = m_server.commandLog();
    QCOMPARE(log.mid(log.size() - 2), (QStringList{"USER anonymous", "PASS anonymous@"}));
}

void TestQFtpPyFtpdLib::wrongPasswordThenReconnect()
{
    QFtp ftp;
    ftp.connectToHost(m_server.address(), m_server.port());
    ftp.login(FtpServerProcess::user, QStringLiteral("wrong"));
    ftp.cd(QStringLiteral("/"));
    QSignalSpy started(&ftp, &QFtp::commandStarted);
    bool failed = false;
    QVERIFY(waitForDone(ftp, &failed));
    QVERIFY(failed);
    QCOMPARE(started.count(), 2);
    QCOMPARE(ftp.error(), QFtp::UnknownError);
    QVERIFY2(ftp.errorString().startsWith(QStringLiteral("Login failed:\n")) &&
                 ftp.errorString().size() > 14,
             qPrintable(ftp.errorString()));
    QVERIFY(logIn(ftp, m_server));
}

void TestQFtpPyFtpdLib::refusedControlConnection()
{
    QTcpServer closed; // binds a free port on an address of its own, then gives it up
    QVERIFY(qx8test::listenOnUniqueLoopback(closed, 0));
    const QString address = closed.serverAddress().toString();
    const quint16 port = closed.serverPort();
    closed.close();

    QFtp ftp;
    SignalRecorder recorder(&ftp);
    ftp.connectToHost(address, port);
    ftp.login(FtpServerProcess::user, FtpServerProcess::password);
    bool failed = false;
    QVERIFY(waitForDone(ftp, &failed));
    QVERIFY(failed);
    QCOMPARE(ftp.error(), QFtp::ConnectionRefused);
    QCOMPARE(ftp.errorString(),
             QStringLiteral("Connecting to host failed:\nConnection refused to host ") + address);
    QCOMPARE(ftp.state(), QFtp::Unconnected);
    QCOMPARE(recorder.count(QStringLiteral("commandStarted")), 1);
    const QStringList names = recorder.names({"stateChanged", "commandFinished"});
    QCOMPARE(names.mid(names.size() - 2), (QStringList{"stateChanged", "commandFinished"}));
    QVERIFY(logIn(ftp, m_server));
}

void TestQFtpPyFtpdLib::serverKilledMidTransfer()
{
    QTemporaryDir root;
    FtpServerProcess server(FtpServerProcess::Kind::PyFtpdLib);
    QVERIFY(startServerWithBigFile(root, server));
    QFtp ftp;
    QVERIFY(logIn(ftp, server));

    QBuffer target;
    target.open(QIODevice::WriteOnly);
    const int getId = ftp.get(QStringLiteral("big.bin"), &target);
    connect(&ftp, &QFtp::dataTransferProgress, this, [&](qint64 done) {
        if (done > 0)
            server.kill();
    });
    QSignalSpy finished(&ftp, &QFtp::commandFinished);
    bool failed = false;
    QVERIFY(waitForDone(ftp, &failed));
    QVERIFY(failed);
    QCOMPARE(finished.count(), 1);
    QCOMPARE(finished.first(), (QVariantList{getId, true}));
    QVERIFY(target.data().size() < 64 * 1024 * 1024);
    QCOMPARE(ftp.error(), QFtp::NotConnected);
    QVERIFY2(ftp.errorString().startsWith(QStringLiteral("Downloading file failed:\n")),
             qPrintable(ftp.errorString()));
    QCOMPARE(ftp.state(), QFtp::Unconnected);

    // Later commands fail at once; a new connection works.
    ftp.cd(QStringLiteral("/"));
    QVERIFY(waitForDone(ftp, &failed));
    QVERIFY(failed);
    QCOMPARE(ftp.error(), QFtp::NotConnected);
    QVERIFY(logIn(ftp, m_server));
}

void TestQFtpPyFtpdLib::serverStopsAnsweringMidTransfer()
{
    QTemporaryDir root;
    FtpServerProcess server(FtpServerProcess::Kind::PyFtpdLib);
    QVERIFY(startServerWithBigFile(root, server));
    QFtp ftp;
    ftp.setProgressTimeout(1000);
    QVERIFY(logIn(ftp, server));

    QBuffer target;
    target.open(QIODevice::WriteOnly);
    bool paused = false;
    connect(&ftp, &QFtp::dataTransferProgress, this, [&](qint64 done) {
        if (done > 0 && !paused) {
            paused = true;
            server.pause();
        }
    });
    QElapsedTimer clock;
    clock.start();
    ftp.get(QStringLiteral("big.bin"), &target);
    bool failed = false;
    QVERIFY(waitForDone(ftp, &failed));
    QVERIFY(failed);
    QVERIFY2(clock.elapsed() >= 1000,
             qPrintable(ftp.errorString().replace(QLatin1Char('\n'), QLatin1Char('|'))));
    QCOMPARE(ftp.error(), QFtp::ConnectionRefused);
    QCOMPARE(ftp.errorString(),
             QStringLiteral("Downloading file failed:\nConnection timed out to host ") +
                 server.address());
    QCOMPARE(ftp.state(), QFtp::Unconnected);

    // The stopped server also stalls a connect; once it runs again the client gets back in.
    ftp.connectToHost(server.address(), server.port());
    QVERIFY(waitForDone(ftp, &failed));
    QVERIFY(failed);
    QVERIFY(ftp.errorString().endsWith(QStringLiteral("Connection timed out to host ") +
                                       server.address()));
    server.resume();
    QVERIFY(logIn(ftp, server));
}

QTEST_GUILESS_MAIN(TestQFtpPyFtpdLib)
#include "tst_qftppyftpdlib.moc"
