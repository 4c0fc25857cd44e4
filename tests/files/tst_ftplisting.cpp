#include "ftplistingparser.h"
#include "ftpreplyreader.h"
#include "qurlinfo.h"
#include "testmain.h"

#include <QLocale>
#include <QTest>

// Listing lines and reply lines: the parts of the FTP client that read text.
class TestFtpListing : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void parseLine_data();
    void parseLine();
    void replyLines_data();
    void replyLines();
};

void TestFtpListing::initTestCase()
{
    // No German locale is installed here; the default locale is what Qt's date parsing would
    // pick up, so a German default shows whether the month names are read as English.
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    QVERIFY(
        !QLocale().toDate(QStringLiteral("Mar 05 2020"), QStringLiteral("MMM dd yyyy")).isValid());
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
    // "kind size permissions modified rights name", or empty when the line does not parse.
    QTest::addColumn<QString>("entry");

    const QDateTime now(QDate(2026, 6, 1), QTime(12, 0));
    QTest::newRow("unix dir")
        << QByteArray("drwxr-xr-x    2 ftp      ftp          4096 Jan 01  2020 presets\r\n")
        << QString() << now << "dir 4096 755 2020-01-01T00:00:00 r- presets";
    QTest::newRow("unix file, time of day this year")
        << QByteArray("-rw-rw-r--   1 owner   staff   1234 Mar  5 14:30 file name.txt") << QString()
        << now << "file 1234 664 2026-03-05T14:30:00 r- file name.txt";
    QTest::newRow("unix time of day ahead is last year")
        << QByteArray("-rw-------   1 me   me   7 Dec 24 10:00 gift") << "me"
        << QDateTime(QDate(2026, 1, 10), QTime(8, 0)) << "file 7 600 2025-12-24T10:00:00 rw gift";
    QTest::newRow("unix 29 February of a leap year")
        << QByteArray("-rw-r--r--   1 u   g   1 Feb 29 09:15 leap") << QString()
        << QDateTime(QDate(2024, 3, 1), QTime(0, 0)) << "file 1 644 2024-02-29T09:15:00 r- leap";
    QTest::newRow("unix symbolic link")
        << QByteArray("lrwxrwxrwx   1 root   root   11 Jul 14  2019 current -> release-1.2")
        << QString() << now << "dir+link 11 777 2019-07-14T00:00:00 rw current";
    QTest::newRow("unix one-digit day, one blank before the year")
        << QByteArray("-r--r--r--   1 a   b   3 Sep  9 2018 old") << QString() << now
        << "file 3 444 2018-09-09T00:00:00 r- old";
    QTest::newRow("unix ACL mark does not parse")
        << QByteArray("-rw-r--r--+  1 a   b   3 Sep 09  2018 acl") << QString() << now << QString();
    QTest::newRow("total line") << QByteArray("total 12\r\n") << QString() << now << QString();
    QTest::newRow("dos dir") << QByteArray("01-16-02  12:14PM       <DIR>          cc1\r\n")
                             << QString() << now << "dir 0 666 2002-01-16T12:14:00 r- cc1";
    QTest::newRow("dos program") << QByteArray("11-03-98  09:01AM              1024 setup.exe")
                                 << QString() << now
                                 << "file 1024 777 1998-11-03T09:01:00 rw setup.exe";
    QTest::newRow("dos extension compared as written")
        << QByteArray("11-03-98  09:01PM              1024 SETUP.EXE") << QString() << now
        << "file 1024 666 1998-11-03T21:01:00 rw SETUP.EXE";
    QTest::newRow("dos shortcut, year before 1971 is next century")
        << QByteArray("01-01-70  01:00AM                 5 Start.LNK") << QString() << now
        << "file+link 5 666 2070-01-01T01:00:00 rw Start.LNK";
    // proftpd's "ListStyle Windows" leaves out AM/PM: not the DOS form this client reads.
    QTest::newRow("dos without AM or PM")
        << QByteArray("12-06-26  05:22                    6 a.txt") << QString() << now
        << QString();
}

void TestFtpListing::parseLine()
{
    QFETCH(QByteArray, line);
    QFETCH(QString, user);
    QFETCH(QDateTime, now);
    QFETCH(QString, entry);

    QUrlInfo info;
    QCOMPARE(FtpListingParser::parse(line, user, &info, now), !entry.isEmpty());
    QString seen;
    if (info.isValid()) {
        const QString kind = QLatin1String(info.isDir()    ? "dir"
                                           : info.isFile() ? "file"
                                                           : "?") +
                             QLatin1String(info.isSymLink() ? "+link" : "");
        const QString rights = QLatin1String(info.isReadable() ? "r" : "-") +
                               QLatin1String(info.isWritable() ? "w" : "-");
        seen = QStringLiteral("%1 %2 %3 %4 %5 %6")
                   .arg(kind)
                   .arg(info.size())
                   .arg(info.permissions(), 0, 8)
                   .arg(info.lastModified().toString(Qt::ISODate), rights, info.name());
    }
    QCOMPARE(seen, entry);
}

void TestFtpListing::replyLines_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QStringList>("replies"); // "code|text" per completed reply, "dropped"

    QTest::newRow("single") << QStringList{"230 Login successful.\r\n"}
                            << QStringList{"230|Login successful."};
    QTest::newRow("lines without code inside")
        << QStringList{"211-Features:\r\n", " SIZE\r\n", " MDTM\r\n", "211 End\r\n"}
        << QStringList{"211|Features:\r\n SIZE\r\n MDTM\r\nEnd"};
    QTest::newRow("other code inside does not end it")
        << QStringList{"220-a\r\n", "221 b\r\n", "220 c\r\n"} << QStringList{"220|a\r\n221 b\r\nc"};
    QTest::newRow("garbage before a reply is dropped, the reply read")
        << QStringList{"garbage\r\n", "6xx bad\r\n", "1\r\n", "260 x\r\n", "226 Done\r\n"}
        << QStringList{"dropped", "dropped", "dropped", "dropped", "226|Done"};
    QTest::newRow("bare code ends the reply") << QStringList{"226\r\n"} << QStringList{"226|"};
    // A reply that never ends is cut off instead of growing without bound.
    QStringList endless{"220-start\r\n"};
    for (int i = 0; i < 100; ++i)
        endless << QString(1000, QLatin1Char('x')) + QStringLiteral("\r\n");
    QTest::newRow("endless reply") << endless << QStringList{"too long"};
}

void TestFtpListing::replyLines()
{
    QFETCH(QStringList, lines);
    QFETCH(QStringList, replies);
    FtpReplyReader reader;
    QStringList seen;
    for (const QString& line : lines) {
        const FtpReplyReader::Result result = reader.addLine(line);
        if (result == FtpReplyReader::Result::Dropped) {
            seen << QStringLiteral("dropped");
        } else if (result == FtpReplyReader::Result::Complete) {
            seen << QString::number(reader.code()) + QLatin1Char('|') + reader.text();
            reader.clear();
        } else if (result == FtpReplyReader::Result::TooLong) {
            seen << QStringLiteral("too long");
            break;
        }
    }
    QCOMPARE(seen, replies);
}

QX8_TEST_GUILESS_MAIN(TestFtpListing)
#include "tst_ftplisting.moc"
