#include "ftpserverprocess.h"
#include "ftptestsupport.h"
#include "qftp.h"
#include "testharness.h"

#include <QBuffer>
#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using ftptest::pattern;
using ftptest::readFile;
using ftptest::waitForDone;
using ftptest::writeFile;

// The client against a second server, proftpd, with its own replies and listing style.
class TestQFtpProFtpd : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void nameListAndNoMatch();
    void listUnixStyle();
    void getAndPut_data();
    void getAndPut();
    void asciiGetWithRefusedSize();
    void folderAndFileCommands();
    void wrongPasswordThenCloseAndReconnect();

private:
    bool logIn(QFtp& ftp, const QString& password = FtpServerProcess::password);
    QString path(const QString& name) const { return m_root.filePath(m_test + '/' + name); }

    FtpServerProcess m_server{FtpServerProcess::Kind::ProFtpd};
    QTemporaryDir m_root;
    QString m_test;
    std::unique_ptr<QFtp> m_ftp;
};

bool TestQFtpProFtpd::logIn(QFtp& ftp, const QString& password)
{
    ftp.connectToHost(m_server.address(), m_server.port());
    ftp.login(FtpServerProcess::user, password);
    bool failed = true;
    return waitForDone(ftp, &failed) && !failed;
}

void TestQFtpProFtpd::initTestCase()
{
    QVERIFY(m_root.isValid());
    QVERIFY2(m_server.start(m_root.path()), "proftpd did not start");
}

void TestQFtpProFtpd::init()
{
    m_test = QString::fromLatin1(QTest::currentTestFunction());
    if (const char* row = QTest::currentDataTag())
        m_test += QLatin1Char('-') + QString::fromLatin1(row).replace(QLatin1Char(' '), '_');
    QVERIFY(QDir(m_root.path()).mkpath(m_test));
    m_ftp = std::make_unique<QFtp>();
    QVERIFY(logIn(*m_ftp));
    m_ftp->cd(QLatin1Char('/') + m_test);
    QVERIFY(waitForDone(*m_ftp));
}

void TestQFtpProFtpd::cleanup()
{
    m_ftp.reset();
}

void TestQFtpProFtpd::nameListAndNoMatch()
{
    QVERIFY(writeFile(path("Preset_1.preset"), "1"));
    QVERIFY(writeFile(path("Preset_2.preset"), "2"));
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    m_ftp->nameList(&buffer);
    bool failed = true;
    QVERIFY(waitForDone(*m_ftp, &failed));
    QVERIFY(!failed);
    QStringList names =
        QString::fromUtf8(buffer.data()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    names.sort();
    QCOMPARE(names, (QStringList{"Preset_1.preset", "Preset_2.preset"}));

    // proftpd answers a pattern without a match with 450.
    QBuffer none;
    none.open(QIODevice::WriteOnly);
    m_ftp->nameList(QStringLiteral("*.tuning"), &none);
    QVERIFY(waitForDone(*m_ftp, &failed));
    QVERIFY(failed);
    QCOMPARE(m_ftp->error(), QFtp::NoFilesFound);
    QVERIFY(!m_ftp->errorString().contains(QLatin1Char('\n')));
    QVERIFY(none.data().isEmpty());
}

void TestQFtpProFtpd::listUnixStyle()
{
    QVERIFY(writeFile(path("file.bin"), pattern(4321)));
    QVERIFY(QDir(m_root.filePath(m_test)).mkdir(QStringLiteral("folder")));
    QList<QUrlInfo> entries;
    connect(m_ftp.get(), &QFtp::listInfo, this, [&](const QUrlInfo& info) { entries << info; });
    m_ftp->list();
    bool failed = true;
    QVERIFY(waitForDone(*m_ftp, &failed));
    QVERIFY(!failed);
    QCOMPARE(entries.size(), 2);
    std::sort(entries.begin(), entries.end(),
              [](const QUrlInfo& a, const QUrlInfo& b) { return a.name() < b.name(); });
    QCOMPARE(entries.at(0).name(), QStringLiteral("file.bin"));
    QCOMPARE(entries.at(0).size(), 4321);
    QVERIFY(entries.at(0).isFile());
    // proftpd pads the day with a blank and shows a time of day for recent files.
    QVERIFY(qAbs(entries.at(0).lastModified().secsTo(QDateTime::currentDateTime())) < 3600 * 25);
    QCOMPARE(entries.at(1).name(), QStringLiteral("folder"));
    QVERIFY(entries.at(1).isDir());
}

void TestQFtpProFtpd::getAndPut_data()
{
    QTest::addColumn<int>("size");
    QTest::newRow("small") << 777;
    QTest::newRow("multi-megabyte") << 5 * 1024 * 1024 + 3;
}

void TestQFtpProFtpd::getAndPut()
{
    QFETCH(int, size);
    const QByteArray content = pattern(size);
    QVERIFY(writeFile(path("down.bin"), content));
    QBuffer target;
    target.open(QIODevice::WriteOnly);
    QSignalSpy progress(m_ftp.get(), &QFtp::dataTransferProgress);
    m_ftp->get(QStringLiteral("down.bin"), &target);
    m_ftp->put(content, QStringLiteral("up.bin"));
    bool failed = true;
    QVERIFY(waitForDone(*m_ftp, &failed));
    QVERIFY2(!failed, qPrintable(m_ftp->errorString()));
    QVERIFY(target.data() == content);
    QVERIFY(readFile(path("up.bin")) == content);
    QCOMPARE(progress.first(), (QVariantList{qint64(0), qint64(size)}));
    QCOMPARE(progress.last(), (QVariantList{qint64(size), qint64(size)}));
}

void TestQFtpProFtpd::asciiGetWithRefusedSize()
{
    QVERIFY(writeFile(path("text.txt"), "a\nb\n"));
    QBuffer target;
    target.open(QIODevice::WriteOnly);
    QSignalSpy progress(m_ftp.get(), &QFtp::dataTransferProgress);
    m_ftp->get(QStringLiteral("text.txt"), &target, QFtp::Ascii);
    bool failed = true;
    QVERIFY(waitForDone(*m_ftp, &failed));
    QVERIFY2(!failed, qPrintable(m_ftp->errorString()));
    QCOMPARE(target.data(), QByteArray("a\r\nb\r\n"));
    QCOMPARE(progress.first(), (QVariantList{qint64(0), qint64(0)})); // SIZE was refused
}

void TestQFtpProFtpd::folderAndFileCommands()
{
    QVERIFY(writeFile(path("old.txt"), "x"));
    m_ftp->mkdir(QStringLiteral("made"));
    m_ftp->rename(QStringLiteral("old.txt"), QStringLiteral("made/new.txt"));
    bool failed = true;
    QVERIFY(waitForDone(*m_ftp, &failed));
    QVERIFY2(!failed, qPrintable(m_ftp->errorString()));
    QCOMPARE(readFile(path("made/new.txt")), QByteArray("x"));
    m_ftp->remove(QStringLiteral("made/new.txt"));
    m_ftp->rmdir(QStringLiteral("made"));
    QVERIFY(waitForDone(*m_ftp, &failed));
    QVERIFY2(!failed, qPrintable(m_ftp->errorString()));
    QVERIFY(!QFile::exists(path("made")));
}

void TestQFtpProFtpd::wrongPasswordThenCloseAndReconnect()
{
    QFtp ftp;
    QVERIFY(!logIn(ftp, QStringLiteral("wrong")));
    QCOMPARE(ftp.error(), QFtp::UnknownError);
    QVERIFY(ftp.errorString().startsWith(QStringLiteral("Login failed:\n")));

    QVERIFY(logIn(ftp));
    ftp.close();
    bool failed = true;
    QVERIFY(waitForDone(ftp, &failed));
    QVERIFY(!failed);
    QCOMPARE(ftp.state(), QFtp::Unconnected);
    QVERIFY(logIn(ftp));
}

QTEST_GUILESS_MAIN(TestQFtpProFtpd)
#include "tst_qftpproftpd.moc"
