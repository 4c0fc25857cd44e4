#include "ftplistingparser.h"
#include "ftpreplyreader.h"
#include "qftpdtp.h"
#include "qurlinfo.h"

#include <QDir>
#include <QLocale>
#include <QTest>
#include <QUrl>

// Listing lines, directory entries and reply lines: the parts of the FTP client that read text.
class TestFtpListing : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void parseLine_data();
    void parseLine();
    void parseDirUsesTheClock();
    void urlInfoRecord();
    void urlInfoComparisons();
    void replyLines_data();
    void replyLines();
};

void TestFtpListing::initTestCase()
{
    // No German locale is installed here; the default locale is what Qt's date parsing would
    // pick up, so a German default shows whether the month names are read as English.
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
}

void TestFtpListing::cleanupTestCase()
{
    QLocale::setDefault(QLocale::c());
}

void TestFtpListing::parseLine_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QString>("user");
    QTest::addColumn<QDateTime>("now");
    QTest::addColumn<bool>("parsed");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("kind"); // "file", "dir", "link" or "doslink" (a file)
    QTest::addColumn<qint64>("size");
    QTest::addColumn<int>("permissions");
    QTest::addColumn<QDateTime>("modified");
    QTest::addColumn<bool>("readable");
    QTest::addColumn<bool>("writable");

    const QDateTime now(QDate(2026, 6, 1), QTime(12, 0));
    const QDateTime none;
    QTest::newRow("unix dir")
        << QByteArray("drwxr-xr-x    2 ftp      ftp          4096 Jan 01  2020 presets\r\n")
        << QString() << now << true << "presets"
        << "dir" << qint64(4096) << 0755 << QDateTime(QDate(2020, 1, 1), QTime(0, 0)) << true
        << false;
    QTest::newRow("unix file, time of day this year")
        << QByteArray("-rw-rw-r--   1 owner   staff   1234 Mar  5 14:30 file name.txt") << QString()
        << now << true << "file name.txt"
        << "file" << qint64(1234) << 0664 << QDateTime(QDate(2026, 3, 5), QTime(14, 30)) << true
        << false;
    QTest::newRow("unix time of day ahead is last year")
        << QByteArray("-rw-------   1 me   me   7 Dec 24 10:00 gift") << QString("me")
        << QDateTime(QDate(2026, 1, 10), QTime(8, 0)) << true << "gift"
        << "file" << qint64(7) << 0600 << QDateTime(QDate(2025, 12, 24), QTime(10, 0)) << true
        << true;
    QTest::newRow("unix 29 February of a leap year")
        << QByteArray("-rw-r--r--   1 u   g   1 Feb 29 09:15 leap") << QString()
        << QDateTime(QDate(2024, 3, 1), QTime(0, 0)) << true << "leap"
        << "file" << qint64(1) << 0644 << QDateTime(QDate(2024, 2, 29), QTime(9, 15)) << true
        << false;
    QTest::newRow("unix owner rights count for the user")
        << QByteArray("-rw-------   1 qx8   users   10 Jan 02  2021 private") << QString("qx8")
        << now << true << "private"
        << "file" << qint64(10) << 0600 << QDateTime(QDate(2021, 1, 2), QTime(0, 0)) << true
        << true;
    QTest::newRow("unix symbolic link")
        << QByteArray("lrwxrwxrwx   1 root   root   11 Jul 14  2019 current -> release-1.2")
        << QString() << now << true << "current"
        << "link" << qint64(11) << 0777 << QDateTime(QDate(2019, 7, 14), QTime(0, 0)) << true
        << true;
    QTest::newRow("unix one-digit day, one blank before the year")
        << QByteArray("-r--r--r--   1 a   b   3 Sep  9 2018 old") << QString() << now << true
        << "old"
        << "file" << qint64(3) << 0444 << QDateTime(QDate(2018, 9, 9), QTime(0, 0)) << true
        << false;
    QTest::newRow("unix ACL mark does not parse")
        << QByteArray("-rw-r--r--+  1 a   b   3 Sep 09  2018 acl") << QString() << now << false
        << QString() << QString() << qint64(0) << 0 << none << false << false;
    QTest::newRow("total line") << QByteArray("total 12\r\n") << QString() << now << false
                                << QString() << QString() << qint64(0) << 0 << none << false
                                << false;
    QTest::newRow("empty") << QByteArray() << QString() << now << false << QString() << QString()
                           << qint64(0) << 0 << none << false << false;
    QTest::newRow("dos dir") << QByteArray("01-16-02  12:14PM       <DIR>          cc1\r\n")
                             << QString() << now << true << "cc1"
                             << "dir" << qint64(0) << 0666
                             << QDateTime(QDate(2002, 1, 16), QTime(12, 14)) << true << false;
    QTest::newRow("dos program") << QByteArray("11-03-98  09:01AM              1024 setup.exe")
                                 << QString() << now << true << "setup.exe"
                                 << "file" << qint64(1024) << 0777
                                 << QDateTime(QDate(1998, 11, 3), QTime(9, 1)) << true << true;
    QTest::newRow("dos extension compared as written")
        << QByteArray("11-03-98  09:01PM              1024 SETUP.EXE") << QString() << now << true
        << "SETUP.EXE"
        << "file" << qint64(1024) << 0666 << QDateTime(QDate(1998, 11, 3), QTime(21, 1)) << true
        << true;
    QTest::newRow("dos shortcut, year before 1971 is next century")
        << QByteArray("01-01-70  01:00AM                 5 Start.LNK") << QString() << now << true
        << "Start.LNK"
        << "doslink" << qint64(5) << 0666 << QDateTime(QDate(2070, 1, 1), QTime(1, 0)) << true
        << true;
    // proftpd's "ListStyle Windows" leaves out AM/PM: not the DOS form this client reads.
    QTest::newRow("dos without AM or PM")
        << QByteArray("12-06-26  05:22                    6 a.txt") << QString() << now << false
        << QString() << QString() << qint64(0) << 0 << none << false << false;
}

void TestFtpListing::parseLine()
{
    QFETCH(QByteArray, line);
    QFETCH(QString, user);
    QFETCH(QDateTime, now);
    QFETCH(bool, parsed);

    QUrlInfo info;
    QCOMPARE(FtpListingParser::parse(line, user, &info, now), parsed);
    if (!parsed) {
        QVERIFY(!info.isValid());
        return;
    }
    QFETCH(QString, name);
    QFETCH(QString, kind);
    QFETCH(qint64, size);
    QFETCH(int, permissions);
    QFETCH(QDateTime, modified);
    QFETCH(bool, readable);
    QFETCH(bool, writable);
    QCOMPARE(info.name(), name);
    QCOMPARE(info.isFile(), kind == QLatin1String("file") || kind == QLatin1String("doslink"));
    QCOMPARE(info.isDir(), kind == QLatin1String("dir") || kind == QLatin1String("link"));
    QCOMPARE(info.isSymLink(), kind.endsWith(QLatin1String("link")));
    QCOMPARE(info.size(), size);
    QCOMPARE(QString::number(info.permissions(), 8), QString::number(permissions, 8));
    QCOMPARE(info.lastModified(), modified);
    QCOMPARE(info.isReadable(), readable);
    QCOMPARE(info.isWritable(), writable);
}

void TestFtpListing::parseDirUsesTheClock()
{
    // The German default is in force: read with it, an English month name fails.
    QVERIFY(!QLocale()
                 .toDateTime(QStringLiteral("Mar 05  2020"), QStringLiteral("MMM dd  yyyy"))
                 .isValid());

    // Through the data connection's own entry point, with today's clock: a file changed an
    // hour ago is dated today.
    const QDateTime hourAgo = QDateTime::currentDateTime().addSecs(-3600);
    const QByteArray line =
        "-rw-r--r--   1 u  g  9 " +
        QLocale::c().toString(hourAgo, QStringLiteral("MMM dd hh:mm")).toLatin1() + " recent";
    QUrlInfo info;
    QVERIFY(QFtpDTP::parseDir(line, QString(), &info));
    QCOMPARE(info.lastModified().date(), hourAgo.date());
}

void TestFtpListing::urlInfoRecord()
{
    QUrlInfo empty;
    QVERIFY(!empty.isValid());
    QCOMPARE(empty.name(), QString());
    QCOMPARE(empty.size(), 0);
    QVERIFY(!empty.isFile() && !empty.isReadable() && !empty.lastModified().isValid());

    QUrlInfo entry;
    entry.setSize(5);
    QVERIFY(entry.isValid());
    QVERIFY(entry.isFile() && entry.isReadable() && entry.isWritable()); // a new record's values
    QVERIFY(!entry.isDir() && !entry.isExecutable());

    QUrlInfo copy(entry);
    copy.setName(QStringLiteral("other"));
    QCOMPARE(entry.name(), QString()); // deep copy
    QVERIFY(copy != entry);
    copy = empty;
    QVERIFY(!copy.isValid());
    QVERIFY(copy == empty);
    QVERIFY(copy != entry);

    const QDateTime when(QDate(2020, 5, 6), QTime(7, 8));
    const QUrlInfo fromUrl(QUrl(QStringLiteral("ftp://host/dir/file.bin")), 0644,
                           QStringLiteral("o"), QStringLiteral("g"), 42, when, when, false, true,
                           false, true, true, false);
    QCOMPARE(fromUrl.name(), QStringLiteral("file.bin"));
    const QUrlInfo byName(QStringLiteral("file.bin"), 0644, QStringLiteral("o"),
                          QStringLiteral("g"), 42, when, when, false, true, false, true, true,
                          false);
    QVERIFY(fromUrl == byName);
    QCOMPARE(fromUrl.lastRead(), when);
}

void TestFtpListing::urlInfoComparisons()
{
    QUrlInfo a;
    a.setName(QStringLiteral("a"));
    a.setSize(10);
    a.setLastModified(QDateTime(QDate(2020, 1, 1), QTime(0, 0)));
    QUrlInfo b;
    b.setName(QStringLiteral("b"));
    b.setSize(5);
    b.setLastModified(QDateTime(QDate(2021, 1, 1), QTime(0, 0)));

    QVERIFY(QUrlInfo::greaterThan(b, a, QDir::Name));
    QVERIFY(QUrlInfo::greaterThan(b, a, QDir::Time));
    QVERIFY(QUrlInfo::greaterThan(a, b, QDir::Size));
    QVERIFY(!QUrlInfo::greaterThan(a, b, 7));
    QVERIFY(QUrlInfo::equal(a, a, QDir::Size));
    QVERIFY(!QUrlInfo::equal(a, a, 7));
    QVERIFY(QUrlInfo::lessThan(a, a, QDir::Name)); // "not greater", so true for equal entries
    QVERIFY(QUrlInfo::lessThan(a, b, 7));
}

void TestFtpListing::replyLines_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QStringList>("replies"); // "code|text" per completed reply, "dropped"

    QTest::newRow("single") << QStringList{"230 Login successful.\r\n"}
                            << QStringList{"230|Login successful."};
    QTest::newRow("multi-line") << QStringList{"220-Welcome\r\n", "220 Ready\r\n"}
                                << QStringList{"220|Welcome\r\nReady"};
    QTest::newRow("lines without code inside")
        << QStringList{"211-Features:\r\n", " SIZE\r\n", " MDTM\r\n", "211 End\r\n"}
        << QStringList{"211|Features:\r\n SIZE\r\n MDTM\r\nEnd"};
    QTest::newRow("other code inside does not end it")
        << QStringList{"220-a\r\n", "221 b\r\n", "220 c\r\n"} << QStringList{"220|a\r\n221 b\r\nc"};
    QTest::newRow("garbage before a reply is dropped, the reply read")
        << QStringList{"garbage\r\n", "6xx bad\r\n", "1\r\n", "226 Done\r\n"}
        << QStringList{"dropped", "dropped", "dropped", "226|Done"};
    QTest::newRow("bare code ends the reply") << QStringList{"226\r\n"} << QStringList{"226|"};
    QTest::newRow("second digit out of range")
        << QStringList{"260 x\r\n", "200 y\r\n"} << QStringList{"dropped", "200|y"};
}

void TestFtpListing::replyLines()
{
    QFETCH(QStringList, lines);
    QFETCH(QStringList, replies);
    FtpReplyReader reader;
    QStringList seen;
    for (const QString& line : lines) {
        switch (reader.addLine(line)) {
        case FtpReplyReader::Result::Dropped:
            seen << QStringLiteral("dropped");
            break;
        case FtpReplyReader::Result::Complete:
            seen << QString::number(reader.code()) + QLatin1Char('|') + reader.text();
            reader.clear();
            break;
        default:
            break;
        }
    }
    QCOMPARE(seen, replies);

    // A reply that never ends is cut off instead of growing without bound.
    reader.clear();
    QCOMPARE(reader.addLine(QStringLiteral("220-start\r\n")), FtpReplyReader::Result::Partial);
    const QString filler = QString(1000, QLatin1Char('x')) + QStringLiteral("\r\n");
    FtpReplyReader::Result result = FtpReplyReader::Result::Partial;
    for (int i = 0; i < 100 && result == FtpReplyReader::Result::Partial; ++i)
        result = reader.addLine(filler);
    QCOMPARE(result, FtpReplyReader::Result::TooLong);
}

QTEST_GUILESS_MAIN(TestFtpListing)
#include "tst_ftplisting.moc"
