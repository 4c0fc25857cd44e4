#include "ftpserverprocess.h"
#include "ftptestsupport.h"
#include "qftp.h"
#include "signalrecorder.h"
#include "testharness.h"
#include "testmain.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>

using namespace ftptest;

namespace {

const int bigSize = 64 * 1024 * 1024;

} // namespace

// The client against real servers on loopback, both serving one folder: pyftpdlib (the
// device's kind of server, with its command log) and proftpd (other replies and timing).
class TestQFtpServers : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();

    void queueSignalOrder();
    void nameListAnswered450_data();
    void nameListAnswered450();
    void listReadsEntriesUnderGermanLocale();
    void transfers_data();
    void transfers();
    void heldBytesAreReadFrontFirst();
    void folderCommands_data();
    void folderCommands();
    void abortStopsTransferAndKeepsSession();
    void lineBreakInArgumentIsNeverSent();
    void connectOrLoginFails_data();
    void connectOrLoginFails();
    void serverFailsMidTransfer_data();
    void serverFailsMidTransfer();

private:
    FtpServerProcess& server(const QString& name) { return name == "proftpd" ? m_pro : m_py; }
    // Logs in and changes to this test's own folder.
    bool openSession(QFtp& ftp, FtpServerProcess& server);
    QString path(const QString& name) const { return m_root.filePath(m_test + '/' + name); }

    QTemporaryDir m_root; // holds "big.bin" and a fresh folder per test
    FtpServerProcess m_py{FtpServerProcess::Kind::PyFtpdLib};
    FtpServerProcess m_pro{FtpServerProcess::Kind::ProFtpd};
    QString m_test;
};

bool TestQFtpServers::openSession(QFtp& ftp, FtpServerProcess& server)
{
    if (!logIn(ftp, server))
        return false;
    ftp.cd(QLatin1Char('/') + m_test);
    return succeeds(ftp);
}

void TestQFtpServers::initTestCase()
{
    QVERIFY(m_root.isValid());
    QVERIFY(writeFile(m_root.filePath(QStringLiteral("big.bin")), pattern(bigSize)));
    QVERIFY2(m_py.start(m_root.path(), true), "pyftpdlib did not start");
    QVERIFY2(m_pro.start(m_root.path()), "proftpd did not start");
}

void TestQFtpServers::init()
{
    // A folder per test function and data row.
    m_test = QString::fromLatin1(QTest::currentTestFunction());
    if (const char* row = QTest::currentDataTag())
        m_test += QLatin1Char('-') + QString::fromLatin1(row).replace(QLatin1Char(' '), '_');
    QVERIFY(QDir(m_root.path()).mkpath(m_test));
}

void TestQFtpServers::queueSignalOrder()
{
    QVERIFY(writeFile(path("a.preset"), "one"));
    QVERIFY(writeFile(path("b.preset"), "two"));
    QFtp ftp;
    SignalRecorder recorder(&ftp);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    const int connectId = ftp.connectToHost(m_py.address(), m_py.port());
    const int loginId = ftp.login(FtpServerProcess::user, FtpServerProcess::password);
    const int cdId = ftp.cd(QLatin1Char('/') + m_test);
    int listId = 0;
    int closeId = 0;
    // Commands queued while one finishes start at once, with no done() in between.
    connect(&ftp, &QFtp::commandFinished, this, [&](int id) {
        if (id == cdId) {
            listId = ftp.nameList(&buffer);
            closeId = ftp.close();
        }
    });
    QVERIFY(succeeds(ftp));

    QStringList seen;
    for (const SignalRecorder::Emission& e : recorder.emissions()) {
        QStringList parts{e.name};
        for (const QVariant& argument : e.arguments)
            parts << argument.toString();
        if (e.name != QLatin1String("dataTransferProgress"))
            seen << parts.join(QLatin1Char(' '));
    }
    const auto started = [](int id) { return QStringLiteral("commandStarted %1").arg(id); };
    const auto finished = [](int id) { return QStringLiteral("commandFinished %1 false").arg(id); };
    QCOMPARE(seen,
             (QStringList{started(connectId), "stateChanged 1", "stateChanged 2", "stateChanged 3",
                          finished(connectId), started(loginId), "stateChanged 4",
                          finished(loginId), started(cdId), finished(cdId), started(listId),
                          finished(listId), started(closeId), "stateChanged 5", "stateChanged 0",
                          finished(closeId), "done false"}));
    QVERIFY(recorder.count(QStringLiteral("dataTransferProgress")) > 0);
    QStringList names =
        QString::fromUtf8(buffer.data()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    names.sort();
    QCOMPARE(names, (QStringList{"a.preset", "b.preset"}));
    const QStringList log = m_py.commandLog();
    QCOMPARE(log.mid(log.size() - 7),
             (QStringList{"USER " + FtpServerProcess::user, "PASS " + FtpServerProcess::password,
                          "CWD /" + m_test, "TYPE A", "PASV", "NLST", "QUIT"}));

    QVERIFY(logIn(ftp, m_py)); // the same client connects again
}

void TestQFtpServers::nameListAnswered450_data()
{
    QTest::addColumn<QString>("server");
    QTest::addColumn<QString>("pattern");
    QTest::newRow("empty folder, as the device answers") << "pyftpdlib" << QString();
    QTest::newRow("proftpd, pattern without match") << "proftpd"
                                                    << "*.tuning";
}

void TestQFtpServers::nameListAnswered450()
{
    QFETCH(QString, server);
    QFETCH(QString, pattern);
    QFtp ftp;
    QVERIFY(openSession(ftp, this->server(server)));
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QSignalSpy finished(&ftp, &QFtp::commandFinished);
    ftp.nameList(pattern, &buffer);
    QVERIFY(fails(ftp));
    QCOMPARE(finished.count(), 1);
    QCOMPARE(ftp.error(), QFtp::NoFilesFound);
    QCOMPARE(ftp.errorString(), QStringLiteral("No files found"));
    QVERIFY(buffer.data().isEmpty());

    ftp.cd(QStringLiteral("/")); // the client goes on after the empty listing
    QVERIFY(succeeds(ftp));
}

void TestQFtpServers::listReadsEntriesUnderGermanLocale()
{
    // The month names of listings are English whatever the user's locale.
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    QVERIFY(QDir(m_root.filePath(m_test)).mkdir(QStringLiteral("presets")));
    QVERIFY(writeFile(path("Preset_1.preset"), pattern(1234)));

    QFtp ftp;
    QVERIFY(logIn(ftp, m_py));
    QStringList entries; // name, kind, size, and whether it changed within a day
    connect(&ftp, &QFtp::listInfo, this, [&](const QUrlInfo& info) {
        const qint64 age = info.lastModified().secsTo(QDateTime::currentDateTime());
        entries << QStringLiteral("%1 %2 %3 %4")
                       .arg(info.name(), info.isDir()    ? "dir"
                                         : info.isFile() ? "file"
                                                         : "?")
                       .arg(info.isDir() ? 0 : info.size())
                       .arg(qAbs(age) < 3600 * 25 ? "recent" : "old");
    });
    ftp.list(QLatin1Char('/') + m_test);
    const bool listed = succeeds(ftp);
    QLocale::setDefault(previous);
    QVERIFY(listed);
    entries.sort();
    QCOMPARE(entries, (QStringList{"Preset_1.preset file 1234 recent", "presets dir 0 recent"}));
}

void TestQFtpServers::transfers_data()
{
    QTest::addColumn<QString>("server");
    QTest::addColumn<int>("size");
    QTest::addColumn<bool>("active");
    QTest::addColumn<bool>("throughFile"); // put from a file, get into the client's own buffer

    // Empty: the client closes the data connection while it reads the 150 reply to STOR.
    QTest::newRow("empty") << "pyftpdlib" << 0 << false << false;
    QTest::newRow("small") << "pyftpdlib" << 10000 << false << false;
    QTest::newRow("multi-megabyte") << "pyftpdlib" << 6 * 1024 * 1024 + 7 << false << false;
    QTest::newRow("active mode") << "pyftpdlib" << 200000 << true << false;
    QTest::newRow("through a file") << "pyftpdlib" << 300 * 1024 + 5 << false << true;
    QTest::newRow("proftpd multi-megabyte") << "proftpd" << 5 * 1024 * 1024 + 3 << false << false;
}

void TestQFtpServers::transfers()
{
    QFETCH(QString, server);
    QFETCH(int, size);
    QFETCH(bool, active);
    QFETCH(bool, throughFile);
    const QByteArray content = pattern(size);
    QVERIFY(writeFile(path("down.bin"), content));
    const QVariantList none{qint64(0), qint64(size)};
    const QVariantList all{qint64(size), qint64(size)};

    QFtp ftp;
    ftp.setTransferMode(active ? QFtp::Active : QFtp::Passive);
    QVERIFY(openSession(ftp, this->server(server)));
    QSignalSpy progress(&ftp, &QFtp::dataTransferProgress);
    QBuffer target;
    target.open(QIODevice::WriteOnly);
    QByteArray received;
    connect(&ftp, &QFtp::readyRead, this, [&] { received += ftp.readAll(); });
    ftp.get(QStringLiteral("down.bin"), throughFile ? nullptr : &target);
    QVERIFY(succeeds(ftp));
    received += ftp.readAll();
    QVERIFY((throughFile ? received : target.data()) == content);
    QCOMPARE(progress.first(), none);
    QCOMPARE(progress.last(), all);

    progress.clear();
    QFile source(path("down.bin")); // unopened: the client opens it for reading
    if (throughFile)
        ftp.put(&source, QStringLiteral("up.bin"));
    else
        ftp.put(content, QStringLiteral("up.bin"));
    QVERIFY(succeeds(ftp));
    QVERIFY(qx8test::fileContent(path("up.bin")) == content);
    QCOMPARE(progress.first(), none);
    QCOMPARE(progress.last(), all);
    ftp.remove(QStringLiteral("up.bin"));
    QVERIFY(succeeds(ftp));
    QVERIFY(!QFile::exists(path("up.bin")));

    if (server != QLatin1String("pyftpdlib"))
        return;
    // In active mode the listener sits on the control connection's local address.
    QStringList log = m_py.commandLog().mid(m_py.commandLog().size() - 9);
    log.replaceInStrings(QRegularExpression(QStringLiteral("^PORT 127(,\\d+){5}$")), "PORT");
    const QString data = active ? QStringLiteral("PORT") : QStringLiteral("PASV");
    QCOMPARE(log, (QStringList{"TYPE I", "SIZE down.bin", data, "RETR down.bin", "TYPE I", data,
                               QStringLiteral("ALLO %1").arg(size), "STOR up.bin", "DELE up.bin"}));
}

void TestQFtpServers::heldBytesAreReadFrontFirst()
{
    const QByteArray content = pattern(1000);
    QVERIFY(writeFile(path("held.bin"), content));
    QFtp ftp;
    QVERIFY(openSession(ftp, m_py));
    ftp.get(QStringLiteral("held.bin")); // nobody reads while it arrives
    QVERIFY(succeeds(ftp));
    QCOMPARE(ftp.bytesAvailable(), qint64(content.size()));
    char front[4];
    QCOMPARE(ftp.read(front, -1), qint64(-1));
    QCOMPARE(ftp.read(front, 0), qint64(0));
    QCOMPARE(ftp.read(front, 4), qint64(4));
    QCOMPARE(QByteArray(front, 4), content.left(4));
    QVERIFY(ftp.readAll() == content.mid(4));
    QCOMPARE(ftp.bytesAvailable(), qint64(0));
}

void TestQFtpServers::folderCommands_data()
{
    QTest::addColumn<QString>("server");
    QTest::newRow("pyftpdlib") << QStringLiteral("pyftpdlib");
    QTest::newRow("proftpd") << QStringLiteral("proftpd");
}

void TestQFtpServers::folderCommands()
{
    QFETCH(QString, server);
    QFtp ftp;
    QVERIFY(openSession(ftp, this->server(server)));
    ftp.mkdir(QStringLiteral("Shows"));
    QVERIFY(succeeds(ftp));
    QVERIFY(QFileInfo(path("Shows")).isDir());
    ftp.rename(QStringLiteral("Shows"), QStringLiteral("Tours"));
    QVERIFY(succeeds(ftp));
    QVERIFY(QFileInfo(path("Tours")).isDir());
    ftp.rawCommand(QStringLiteral("NOOP"));
    QVERIFY(succeeds(ftp));
    ftp.rmdir(QStringLiteral("Tours"));
    QVERIFY(succeeds(ftp));
    QVERIFY(!QFileInfo::exists(path("Tours")));
    ftp.rmdir(QStringLiteral("Tours")); // gone: the server's refusal is the command's failure
    QVERIFY(fails(ftp));
    QVERIFY(!ftp.errorString().isEmpty());
}

void TestQFtpServers::abortStopsTransferAndKeepsSession()
{
    QFtp ftp;
    QVERIFY(logIn(ftp, m_py));
    QBuffer target;
    target.open(QIODevice::WriteOnly);
    connect(&ftp, &QFtp::dataTransferProgress, this, [&](qint64 done, qint64) {
        if (done > 0)
            ftp.abort();
    });
    ftp.get(QStringLiteral("/big.bin"), &target);
    QVERIFY(fails(ftp));
    QVERIFY(target.size() < bigSize);
    disconnect(&ftp, &QFtp::dataTransferProgress, this, nullptr);
    ftp.cd(QLatin1Char('/') + m_test);
    QVERIFY(succeeds(ftp));
}

void TestQFtpServers::lineBreakInArgumentIsNeverSent()
{
    QFtp ftp;
    QVERIFY(logIn(ftp, m_py));
    const int before = m_py.commandLog().size();
    ftp.remove(QStringLiteral("x\r\nDELE important"));
    QVERIFY(fails(ftp));
    QCOMPARE(ftp.error(), QFtp::UnknownError);
    QVERIFY(ftp.errorString().startsWith(QStringLiteral("Removing file failed:\n")));
    ftp.get(QStringLiteral("a\nb"), nullptr);
    QVERIFY(fails(ftp));
    ftp.rawCommand(QStringLiteral("NOOP\nDELE x"));
    QVERIFY(fails(ftp));

    // A raw command goes out trimmed, and its reply comes back.
    QSignalSpy replies(&ftp, &QFtp::rawCommandReply);
    ftp.rawCommand(QStringLiteral("  PWD  "));
    QVERIFY(succeeds(ftp));
    QCOMPARE(replies.count(), 1);
    QCOMPARE(replies.first().at(0).toInt(), 257);
    QVERIFY(replies.first().at(1).toString().startsWith(QStringLiteral("\"/\"")));
    QCOMPARE(m_py.commandLog().mid(before), QStringList{"PWD"});
}

void TestQFtpServers::connectOrLoginFails_data()
{
    QTest::addColumn<bool>("refused");
    QTest::addColumn<int>("error");
    QTest::addColumn<QString>("message");
    QTest::newRow("refused connection")
        << true << int(QFtp::ConnectionRefused)
        << "Connecting to host failed:\nConnection refused to host ";
    QTest::newRow("wrong password") << false << int(QFtp::UnknownError) << "Login failed:\n";
}

void TestQFtpServers::connectOrLoginFails()
{
    QFETCH(bool, refused);
    QFETCH(int, error);
    QFETCH(QString, message);
    QString address = m_py.address();
    quint16 port = m_py.port();
    if (refused) {
        QTcpServer closed; // binds a free port on an address of its own, then gives it up
        QVERIFY(qx8test::listenOnUniqueLoopback(closed, 0));
        address = closed.serverAddress().toString();
        port = closed.serverPort();
    }
    QFtp ftp;
    QSignalSpy started(&ftp, &QFtp::commandStarted);
    ftp.connectToHost(address, port);
    ftp.login(FtpServerProcess::user, QStringLiteral("wrong"));
    ftp.cd(QStringLiteral("/"));
    QVERIFY(fails(ftp));
    QCOMPARE(started.count(), refused ? 1 : 2); // the commands behind were dropped
    QCOMPARE(int(ftp.error()), error);
    if (refused)
        QCOMPARE(ftp.errorString(), message + address);
    else // the server's own text follows
        QVERIFY2(ftp.errorString().startsWith(message) && ftp.errorString().size() > message.size(),
                 qPrintable(ftp.errorString()));
    QVERIFY(logIn(ftp, m_py));
}

void TestQFtpServers::serverFailsMidTransfer_data()
{
    QTest::addColumn<bool>("upload");
    QTest::addColumn<bool>("killed"); // else stopped, and the progress time-out ends the wait
    QTest::addColumn<int>("error");
    QTest::addColumn<QString>("message"); // %1: the server's address
    QTest::newRow("killed") << false << true << int(QFtp::NotConnected)
                            << "Downloading file failed:\nConnection closed by host %1";
    QTest::newRow("stopped answering")
        << false << false << int(QFtp::ConnectionRefused)
        << "Downloading file failed:\nConnection timed out to host %1";
    QTest::newRow("stopped during an upload from memory")
        << true << false << int(QFtp::ConnectionRefused)
        << "Uploading file failed:\nConnection timed out to host %1";
}

void TestQFtpServers::serverFailsMidTransfer()
{
    QFETCH(bool, upload);
    QFETCH(bool, killed);
    QFETCH(int, error);
    QFETCH(QString, message);
    FtpServerProcess server(FtpServerProcess::Kind::PyFtpdLib);
    QVERIFY(server.start(m_root.path()));
    QFtp ftp;
    ftp.setProgressTimeout(1000);
    QVERIFY(logIn(ftp, server));
    QBuffer target;
    target.open(QIODevice::WriteOnly);
    bool struck = false;
    connect(&ftp, &QFtp::dataTransferProgress, this, [&](qint64 done) {
        if (done > 0 && !struck) {
            struck = true;
            killed ? server.kill() : server.pause();
        }
    });
    QSignalSpy finished(&ftp, &QFtp::commandFinished);
    QElapsedTimer clock;
    clock.start();
    const int id = upload ? ftp.put(pattern(bigSize), QLatin1Char('/') + m_test + "/up.bin")
                          : ftp.get(QStringLiteral("big.bin"), &target);
    QVERIFY(fails(ftp));
    QVERIFY(killed || clock.elapsed() >= 1000);
    QCOMPARE(finished.count(), 1);
    QCOMPARE(finished.first(), (QVariantList{id, true}));
    QVERIFY(target.data().size() < bigSize);
    QCOMPARE(int(ftp.error()), error);
    QCOMPARE(ftp.errorString(), message.arg(server.address()));
    QCOMPARE(ftp.state(), QFtp::Unconnected);

    // Later commands fail at once; a new connection works.
    ftp.cd(QStringLiteral("/"));
    QVERIFY(fails(ftp));
    QCOMPARE(ftp.error(), QFtp::NotConnected);
    server.resume();
    QVERIFY(logIn(ftp, killed ? m_py : server));
}

QX8_TEST_GUILESS_MAIN(TestQFtpServers)
#include "tst_qftpservers.moc"
