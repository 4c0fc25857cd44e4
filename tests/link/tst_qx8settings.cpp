// The settings store on disk: a write that changes nothing leaves the file alone, since every
// write replaces the whole file (a new inode) and flushes it; the file, which holds the device
// password, is its owner's alone; a write that cannot reach a read-only disk is reported and what
// was written still holds for the run; the file reads and writes as Qt's IniFormat does, but
// for the serialized values Qt would decode from it, and is never written past the size its reader
// takes; a file that is no settings file at all is set aside, and never opened where it stays;
// and each store lies in the one file that every part of the application names.
#include "privatemounts.h"
#include "qx8settings.h"
#include "qx8settingsini.h"
#include "qx8settingsstore.h"
#include "settingskeys.h"
#include "testharness.h"
#include "testmain.h"

#include <QDir>
#include <QFileInfo>
#include <QScopeGuard>
#include <QSettings>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <fcntl.h>
#include <limits>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
QString storeFile()
{
    return settingsstore::fileName(settingskeys::kApplicationStore);
}

QString storeFolder()
{
    return QFileInfo(storeFile()).absolutePath();
}

struct stat statusOf(const QString& path)
{
    struct stat status
    {
    };
    ::stat(QFile::encodeName(path).constData(), &status);
    return status;
}

// Of a link itself, not of what it leads to.
struct stat linkStatusOf(const QString& path)
{
    struct stat status
    {
    };
    ::lstat(QFile::encodeName(path).constData(), &status);
    return status;
}

void writeFile(const QString& path, const QByteArray& content)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(content), content.size());
}

QString uniquePath()
{
    static int count = 0;
    return QDir::temp().filePath(QStringLiteral("qt-ini-%1.ini").arg(++count));
}

// What Qt's own IniFormat reads from the text. A file of its own each time: Qt keeps what it
// read of a file until the file's size or time changes.
QSettings::SettingsMap readByQt(const QByteArray& text)
{
    const QString path = uniquePath();
    writeFile(path, text);
    const QSettings qt(path, QSettings::IniFormat);
    QSettings::SettingsMap values;
    for (const QString& key : qt.allKeys())
        values.insert(key, qt.value(key));
    return values;
}

QByteArray writtenByQt(const QSettings::SettingsMap& values)
{
    const QString path = uniquePath();
    {
        QSettings qt(path, QSettings::IniFormat);
        for (auto entry = values.cbegin(); entry != values.cend(); ++entry)
            qt.setValue(entry.key(), entry.value());
    }
    return qx8test::fileContent(path);
}

// The first difference of type or value, empty when there is none.
QString difference(const QSettings::SettingsMap& ours, const QSettings::SettingsMap& qt)
{
    if (ours.keys() != qt.keys())
        return QStringLiteral("keys differ: ours %1, Qt's %2")
            .arg(QString::fromLatin1(ours.keys().join('|').toUtf8().toPercentEncoding()),
                 QString::fromLatin1(qt.keys().join('|').toUtf8().toPercentEncoding()));
    for (auto entry = qt.cbegin(); entry != qt.cend(); ++entry) {
        const QVariant& mine = ours.value(entry.key());
        if (mine.userType() != entry.value().userType() || mine != entry.value())
            return QStringLiteral("%1: ours %2 (%3), Qt's %4 (%5)")
                .arg(entry.key(), mine.toString(), mine.typeName(), entry.value().toString(),
                     entry.value().typeName());
    }
    return QString();
}

// A list claiming two billion entries, as Qt would read it from "@Variant(...)".
const QByteArray kHugeList = R"(\0\0\0\t\x7f\xff\xff\xff)";

// The files that are opened, by anyone, while it lives.
class OpenWatch
{
public:
    explicit OpenWatch(const QStringList& paths) : m_watch(::inotify_init1(IN_NONBLOCK))
    {
        for (const QString& path : paths)
            m_watched +=
                ::inotify_add_watch(m_watch, QFile::encodeName(path).constData(), IN_OPEN) >= 0;
    }
    ~OpenWatch() { ::close(m_watch); }
    OpenWatch(const OpenWatch&) = delete;
    OpenWatch& operator=(const OpenWatch&) = delete;

    bool watchesAll(int count) const { return m_watch >= 0 && m_watched == count; }

    int opens() const
    {
        int opens = 0;
        alignas(inotify_event) char events[4096];
        for (ssize_t size; (size = ::read(m_watch, events, sizeof events)) > 0;) {
            for (ssize_t at = 0; at < size;) {
                const auto* event = reinterpret_cast<const inotify_event*>(events + at);
                opens += (event->mask & IN_OPEN) != 0;
                at += ssize_t(sizeof(inotify_event)) + event->len;
            }
        }
        return opens;
    }

private:
    const int m_watch;
    int m_watched = 0;
};

// A FIFO at `path`, held open at both ends here, so that an open elsewhere finds a writer and
// returns rather than wait for one; closed when it ends.
struct HeldFifo
{
    explicit HeldFifo(const QString& path)
        : made(::mkfifo(QFile::encodeName(path).constData(), 0600) == 0)
        , ends(::open(QFile::encodeName(path).constData(), O_RDWR | O_NONBLOCK))
    {
    }
    ~HeldFifo() { ::close(ends); }
    HeldFifo(const HeldFifo&) = delete;
    HeldFifo& operator=(const HeldFifo&) = delete;

    const bool made;
    const int ends;
};

// What format makes of the values without a limit.
QByteArray formatted(const QSettings::SettingsMap& values)
{
    QStringList leftOut;
    QStringList tooLarge;
    return settingsini::format(values, &leftOut, std::numeric_limits<qint64>::max(), &tooLarge);
}

} // namespace

class TestQX8Settings : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Each test starts from an empty store that reaches the disk.
    void init() { QX8Settings().clear(); }

    void writesOnlyChanges_data()
    {
        QTest::addColumn<QVariant>("second");
        QTest::addColumn<bool>("rewritten");
        QTest::newRow("same text") << QVariant(QStringLiteral("false")) << false;
        QTest::newRow("other text") << QVariant(QStringLiteral("true")) << true;
        // Kept with its type: a reader in this process sees what it wrote.
        QTest::newRow("same text, other type") << QVariant(false) << true;
    }

    void writesOnlyChanges()
    {
        QFETCH(QVariant, second);
        QFETCH(bool, rewritten);
        QX8Settings settings;
        settings.setValue(QStringLiteral("Data/flag"), QStringLiteral("false"));
        const ino_t before = statusOf(storeFile()).st_ino;
        QVERIFY(before != 0);
        settings.setValue(QStringLiteral("Data/flag"), second);
        QCOMPARE(statusOf(storeFile()).st_ino != before, rewritten);
        QCOMPARE(QX8Settings().value(QStringLiteral("Data/flag")), second);
    }

    // Both stores are made owner-only, whatever the umask, kept so through rewrites, and narrowed
    // again when someone widened them.
    void storesAreOwnerOnly_data()
    {
        QTest::addColumn<QByteArray>("application");
        QTest::newRow("application store")
            << QByteArray(settingskeys::kApplicationStore.application);
        QTest::newRow("analytics store") << QByteArray(settingskeys::kDefaultStore.application);
    }

    void storesAreOwnerOnly()
    {
        QFETCH(QByteArray, application);
        const settingskeys::Store store{settingskeys::kApplicationStore.organization,
                                        application.constData()};
        const QString path = settingsstore::fileName(store);
        QFile::remove(path);
        const mode_t umask = ::umask(0);
        auto restore = qScopeGuard([&] { ::umask(umask); });
        auto write = [&](const QString& value) {
            settingsstore::OpenedStore settings(store);
            settings.setValue(settingskeys::kCurrentDevicePassword, value);
            QVERIFY(settings.save());
        };
        write(QStringLiteral("quillrampstow"));
        QCOMPARE(statusOf(path).st_mode & 0777, mode_t(0600));
        const ino_t first = statusOf(path).st_ino;
        write(QStringLiteral("other"));
        QVERIFY(statusOf(path).st_ino != first);
        QCOMPARE(statusOf(path).st_mode & 0777, mode_t(0600));

        QVERIFY(::chmod(QFile::encodeName(path).constData(), 0644) == 0);
        write(QStringLiteral("third"));
        QCOMPARE(statusOf(path).st_mode & 0777, mode_t(0600));
    }

    // Values Qt would deserialize, as another program or a hand may leave them (here a list
    // that claims two billion entries, in every spelling Qt reads), and Qt's geometry forms, are
    // never read; the application's own values are, a text that starts with '@' among them. The
    // file stays as it is until the application writes it.
    void serializedValuesAreNeverRead()
    {
        const QByteArray content = "[General]\nCurrentVersion=1.1.4\n"
                                   "Plain=@Variant(" +
                                   kHugeList +
                                   ")\n"
                                   "Escaped=\\x40Variant(" +
                                   kHugeList +
                                   ")\n"
                                   "Octal=\\100Variant(" +
                                   kHugeList +
                                   ")\n"
                                   "Quoted=\"@DateTime(" +
                                   kHugeList +
                                   ")\"\n"
                                   "Listed=a, @Variant(" +
                                   kHugeList +
                                   ")\n"
                                   "Continued=@Vari\\\nant(" +
                                   kHugeList +
                                   ")\n"
                                   "Geometry=@Rect(0 0 10 10)\n"
                                   "Literal=@@Variant(text)\n\n"
                                   "[Data]\nCurrentDevicePassword=p@ss\n"
                                   "CurrentPOData=\"{\\\"Name\\\":\\\"PEQ\\\"}\"\n";
        writeFile(storeFile(), content);

        qx8test::expectWarnings("^Settings file .*QX8Control.conf holds 7 values in forms the "
                                "application never writes, left out unread: Plain, Escaped, "
                                "Octal, Quoted, Listed, \\.\\.\\.$");
        QX8Settings settings;
        QCOMPARE(settings.value(settingskeys::kCurrentVersion), QVariant("1.1.4"));
        for (const char* key :
             {"Plain", "Escaped", "Octal", "Quoted", "Listed", "Continued", "Geometry"})
            QVERIFY2(!settings.contains(QLatin1String(key)), key);
        QCOMPARE(settings.value(QStringLiteral("Literal")), QVariant("@Variant(text)"));
        QCOMPARE(settings.value(settingskeys::kCurrentDevicePassword), QVariant("p@ss"));
        QCOMPARE(settings.value(settingskeys::kCurrentPoData), QVariant(R"({"Name":"PEQ"})"));
        QCOMPARE(qx8test::fileContent(storeFile()), content);

        // Written again, the file holds what was read, and Qt itself now reads it safely.
        settings.setValue(settingskeys::kCurrentVersion, QStringLiteral("1.1.5"));
        const QSettings::SettingsMap onDisk = readByQt(qx8test::fileContent(storeFile()));
        QCOMPARE(onDisk.keys(), QStringList({"CurrentVersion", "Data/CurrentDevicePassword",
                                             "Data/CurrentPOData", "Literal"}));
        QCOMPARE(onDisk.value(QStringLiteral("Literal")), QVariant("@Variant(text)"));
    }

    // On a read-only disk the first failed write is logged (the ones after it are counted) and
    // announced, once in the run (so this comes first); the writes go through again, all of them,
    // once the disk is back, and that is logged too.
    void failedWriteIsToldOnce()
    {
        QX8Settings settings;
        settings.setValue(QStringLiteral("Data/flag"), QStringLiteral("before"));
        QVERIFY(qx8test::mountReadOnly(storeFolder()));
        auto unmount = qScopeGuard([&] { qx8test::unmount(storeFolder()); });
        QSignalSpy told(&settings, &QX8Settings::saveFailureChanged);
        QX8Settings other;
        QSignalSpy toldOther(&other, &QX8Settings::saveFailureChanged);
        QVERIFY(settings.saveFailure().isEmpty());

        qx8test::expectWarnings("^Settings could not be saved to .*QX8Control.conf$");
        settings.setValue(settingskeys::kAppAnalytics, QStringLiteral("false"));
        QCOMPARE(told.count(), 1);
        QCOMPARE(toldOther.count(), 1);
        QVERIFY2(settings.saveFailure().contains(storeFile() + " cannot be written"),
                 qPrintable(settings.saveFailure()));
        settings.setValue(settingskeys::kCurrentDevicePassword, QStringLiteral("new"));
        QCOMPARE(told.count(), 1);
        QCOMPARE(other.saveFailure(), settings.saveFailure());

        unmount.dismiss();
        QVERIFY(qx8test::unmount(storeFolder()));
        settings.setValue(QStringLiteral("Data/flag"), QStringLiteral("after"));
        const QByteArray onDisk = qx8test::fileContent(storeFile());
        QVERIFY(onDisk.contains("flag=after"));
        QVERIFY(onDisk.contains("appAnalytics=false"));
        QVERIFY(onDisk.contains("CurrentDevicePassword=new"));
        QCOMPARE(told.count(), 1);
    }

    // The file of a serialized list of two billion entries, in a folder the application cannot
    // write: read without it, and the application's own keys are there. A write is told of and
    // holds for the run; the file stays as it was.
    void serializedValueInReadOnlyFolder()
    {
        const QByteArray content =
            "[General]\nExtraFeaturesReady=true\n[Data]\nCurrentDeviceAddress=10.77.0.20\n" +
            qx8test::fileContent(qx8test::sourceDir() +
                                 "/fuzz/settingsfile/seeds/serialized-list-of-billions");
        QVERIFY(content.contains("@Variant("));
        writeFile(storeFile(), content);
        QVERIFY(qx8test::mountReadOnly(storeFolder()));
        auto unmount = qScopeGuard([] { qx8test::unmount(storeFolder()); });

        qx8test::expectWarnings("^Settings file .*QX8Control.conf holds 1 values in forms the "
                                "application never writes, left out unread: ta/CurDrenD");
        QX8Settings settings;
        QCOMPARE(settings.value(settingskeys::kExtraFeaturesReady), QVariant("true"));
        QCOMPARE(settings.value(settingskeys::kCurrentDeviceAddress), QVariant("10.77.0.20"));

        qx8test::expectWarnings("^Settings could not be saved to .*QX8Control.conf$");
        settings.setValue(settingskeys::kCurrentDeviceAddress, QStringLiteral("10.77.0.21"));
        QCOMPARE(QX8Settings().value(settingskeys::kCurrentDeviceAddress), QVariant("10.77.0.21"));
        QCOMPARE(QX8Settings().value(settingskeys::kExtraFeaturesReady), QVariant("true"));
        QCOMPARE(qx8test::fileContent(storeFile()), content);
    }

    // The first start in a folder that cannot be written: nothing on disk, and every change,
    // removals and clearing included, holds for the run as QSettings would hold it.
    void unsavedChangesHoldForTheRun()
    {
        QFile::remove(storeFile());
        QVERIFY(qx8test::mountReadOnly(storeFolder()));
        auto unmount = qScopeGuard([&] { qx8test::unmount(storeFolder()); });
        qx8test::expectWarnings("^Settings could not be saved to ");
        QX8Settings settings;
        settings.setValue(settingskeys::kCurrentDeviceAddress, QStringLiteral("10.77.0.20"));
        settings.setValue(settingskeys::kCurrentDevicePassword, QStringLiteral("quillrampstow"));
        settings.setValue(settingskeys::kCrossoverNumBand, 3);
        settings.setValue(settingskeys::kResizeReady, QStringLiteral("true"));
        QCOMPARE(QX8Settings().value(settingskeys::kCurrentDeviceAddress), QVariant("10.77.0.20"));
        QCOMPARE(QX8Settings().value(settingskeys::kCrossoverNumBand), QVariant(3));
        // Unchanged: not written again, not told again.
        settings.setValue(settingskeys::kCurrentDeviceAddress, QStringLiteral("10.77.0.20"));

        settings.remove(QStringLiteral("Data"));
        QVERIFY(!settings.contains(settingskeys::kCurrentDeviceAddress));
        QVERIFY(!settings.contains(settingskeys::kCurrentDevicePassword));
        QVERIFY(settings.contains(settingskeys::kCrossoverNumBand));
        QCOMPARE(settings.value(settingskeys::kCurrentDeviceAddress, QStringLiteral("none")),
                 QVariant("none"));
        settings.clear();
        QVERIFY(!settings.contains(settingskeys::kCrossoverNumBand));
        QVERIFY(!QFile::exists(storeFile()));

        unmount.dismiss();
        QVERIFY(qx8test::unmount(storeFolder()));
        settings.setValue(settingskeys::kCurrentDeviceAddress, QStringLiteral("10.77.0.22"));
        QCOMPARE(qx8test::fileContent(storeFile()),
                 QByteArray("[Data]\nCurrentDeviceAddress=10.77.0.22\n"));
    }

    // The first start on a disk that fills up: the change that does not fit holds for the run,
    // and so do those after it, while the disk has no settings file.
    void changesBeyondAFullDiskHold()
    {
        QVERIFY(qx8test::mountSmallDisk(storeFolder(), 64 * 1024));
        auto unmount = qScopeGuard([&] { qx8test::unmount(storeFolder()); });
        qx8test::expectWarnings("^Settings could not be saved to .*QX8Control.conf$");
        QX8Settings settings;
        const QString large(100 * 1024, QLatin1Char('x'));
        settings.setValue(settingskeys::kCurrentPoData, large);
        settings.setValue(settingskeys::kCurrentDeviceAddress, QStringLiteral("10.77.0.20"));
        QCOMPARE(QX8Settings().value(settingskeys::kCurrentPoData).toString(), large);
        QCOMPARE(QX8Settings().value(settingskeys::kCurrentDeviceAddress), QVariant("10.77.0.20"));
        QVERIFY(QFileInfo(storeFile()).size() == 0);
    }

    // What is written is byte for byte what Qt's IniFormat writes, and what Qt reads back from
    // it the reader here reads too.
    void writesAsQtWrites_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QVariant>("value");
        auto row = [](const char* name, const QString& key, const QVariant& value) {
            QTest::newRow(name) << key << value;
        };
        row("plain text", "Data/CurrentDeviceAddress", "10.77.0.20");
        row("top-level key", "ResizeReady", "true");
        row("group named General", "General/x", "1");
        row("group named general", "general/x", "1");
        row("deep key", "Data/Sub/deep", "v");
        row("key of escapes", "Wi fi/\u00e4%;=\"[]\\", "x");
        row("key beyond Latin-1", "\u043a\u043b\u044e\u0447/\u540d\u524d", "x");
        row("spaces at the ends", "Data/padded", "  padded ");
        row("separators", "Data/separators", "a,b;c=d");
        row("quotes and backslashes", "Data/path", R"(say "hi" \ C:\path\)");
        row("control characters", "Data/control",
            QString::fromLatin1("line1\nline2\ttab\r\x01\x1f\x7f\a\b\f\v"));
        row("NUL", "Data/nul", QString::fromLatin1("a\0001b", 4));
        row("Latin-1", "Data/latin", "caf\u00e9");
        row("hexadecimal digit after an escape", "Data/digit", "\u00e91fA");
        row("beyond Latin-1", "Data/wide", "\u20ac \u65e5\u672c \U0001F600");
        row("starts with @", "Data/at", "@home");
        row("serialized form as a text", "Data/form", "@Variant(\\0\\0\\0\\t)");
        row("empty text", "Data/empty", "");
        row("JSON text", "Data/CurrentPOData", R"({"Name":"PEQ","Values":[1,2.5,"x"]})");
        row("int", "Crossover/NumBand", 42);
        row("negative int", "Data/negative", -7);
        row("unsigned", "Data/unsigned", 4000000000u);
        row("long long", "Data/long", qlonglong(1) << 40);
        row("double", "Data/double", 2.5);
        row("shortest double", "Data/tenth", 0.1);
        row("true", "Data/on", true);
        row("false", "Data/off", false);
        row("list", "Data/list", QStringList({"a", " b c ", "d,e", "@f", ""}));
        row("empty list", "Data/none", QStringList());
        row("list of one", "Data/one", QStringList({"only"}));
        row("variant list", "Data/mixed", QVariantList({1, "x", true}));
        row("byte array", "Data/bytes", QByteArray("\0\xff@bin\n", 7));
        row("invalid", "Data/invalid", QVariant());
    }

    void writesAsQtWrites()
    {
        QFETCH(QString, key);
        QFETCH(QVariant, value);
        QSettings::SettingsMap values{
            {key, value}, {QStringLiteral("Data/after"), "z"}, {QStringLiteral("Top"), "t"}};
        const QByteArray byQt = writtenByQt(values);
        QStringList leftOut;
        QStringList tooLarge;
        QCOMPARE(settingsini::format(values, &leftOut, settingsstore::kLargestFile, &tooLarge),
                 byQt);
        QCOMPARE(leftOut, QStringList());
        QCOMPARE(tooLarge, QStringList());
        const settingsini::Content read = settingsini::parse(byQt);
        const QString differs = difference(read.values, readByQt(byQt));
        QVERIFY2(differs.isEmpty(), qPrintable(differs));
    }

    // Types Qt would serialize are not written.
    void typesOfItsOwnAreLeftOut()
    {
        const QSettings::SettingsMap values{{"Data/date", QDateTime::currentDateTime()},
                                            {"Data/map", QVariantMap{{"a", 1}}},
                                            {"Data/one", QVariantList{1}},
                                            {"Data/kept", "yes"}};
        QStringList leftOut;
        QStringList tooLarge;
        QCOMPARE(settingsini::format(values, &leftOut, settingsstore::kLargestFile, &tooLarge),
                 QByteArray("[Data]\nkept=yes\n"));
        QCOMPARE(leftOut, QStringList({"Data/date", "Data/map", "Data/one"}));
    }

    // A text is never larger than its limit: the largest values are left out, one at a time,
    // until it fits, their sections with them, and what is written is what Qt writes of the rest.
    void largestValuesLeftOutUntilItFits()
    {
        const QSettings::SettingsMap values{{"Top", "t"},
                                            {"Data/a", QString(10, 'a')},
                                            {"Data/b", QString(20, 'b')},
                                            {"Data/c", QString(15, 'c')},
                                            {"Other/d", QString(30, 'd')}};
        const QStringList largestFirst{"Other/d", "Data/b", "Data/c", "Data/a", "Top"};
        const qint64 whole = formatted(values).size();
        for (qint64 limit = 0; limit <= whole; ++limit) {
            QStringList leftOut;
            QStringList tooLarge;
            const QByteArray text = settingsini::format(values, &leftOut, limit, &tooLarge);
            QVERIFY(text.size() <= limit);
            QCOMPARE(tooLarge, largestFirst.mid(0, tooLarge.size()));
            QSettings::SettingsMap kept = values;
            for (const QString& key : qAsConst(tooLarge))
                kept.remove(key);
            QCOMPARE(text, writtenByQt(kept));
            if (tooLarge.isEmpty())
                continue;
            // None left out that was not needed.
            kept.insert(tooLarge.last(), values.value(tooLarge.last()));
            QVERIFY(formatted(kept).size() > limit);
        }
    }

    // Files as a hand or another program may leave them read as Qt reads them.
    void readsAsQtReads_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("comments and spaces")
            << QByteArray("; a comment\n  [Data]  \n key = value ; after\n\tother=\t x \t\n;last");
        QTest::newRow("quotes") << QByteArray(
            "q=\"  kept  \" tail\nlist=\"a, b\", c ,d\nsemi=\"a;b\"\nopen=\"no end\nnext=1");
        QTest::newRow("continued lines")
            << QByteArray("a=abc\\\n  def\nb=x\\\r\ny\nc=x\\\n\ry\nd=\"two\nlines\"\n");
        QTest::newRow("line endings") << QByteArray("[S]\r\na=1\r\nb=2\rc=3\n\n\n");
        QTest::newRow("sections") << QByteArray(
            "[General]\ntop=1\n[general]\ntop2=2\n[%GENERAL]\ng=3\n[A\\B]\nk=4\n"
            "[a]\nx=1\n[a]\ny=2\n[General]\na/x=3\n");
        QTest::newRow("broken section") << QByteArray("[ok]\na=1\n[oops\nb=2\n[ x ]\nc=3");
        QTest::newRow("key escapes")
            << QByteArray("%41%20b=1\n%U00e4%U4E2D=2\n%zz=3\n%4=4\n% 1=5\n%-1=6\nx%=7\nq\"=\"=8\n");
        QTest::newRow("value escapes") << QByteArray(
            "a=\\x1F600\nb=\\101\\1012\nc=end\\\nd=a \\x\ne=\\q\\'\\?\nf=x \\\ng=a\\x20\nh=\\xzz\n"
            "i=\\0\\x31\nj=\\\"\\\\\nk=x  \\");
        QTest::newRow("forms") << QByteArray(
            "a=@@@x\nb=@ByteArray(abc\\xff)\nc=@String(x)\nd=@Invalid()\ne=@Unknown(1)\n"
            "f=@ByteArray(a), b\ng=@@a, b\nh=@Invalid(), @@c\ni=@\nj=@ByteArray(\n");
        QTest::newRow("empty values and lines without one")
            << QByteArray("k=\njusttext\n  \n,=comma\nl=,\nm= , ");
        QTest::newRow("Latin-1 without a byte-order mark") << QByteArray("a=caf\xc3\xa9\n");
        QTest::newRow("UTF-8 after a byte-order mark")
            << QByteArray("\xef\xbb\xbf[S]\na=caf\xc3\xa9 \xe2\x82\xac\nb=\"\xef\xbb\xbfin\"");
        QTest::newRow("byte-order mark before the first key") << QByteArray("\xef\xbb\xbfkey=v\n");
        static const char nul[] = "[a\0b]\nk\0=v\0w\n[general\0x]\nn=1\n[%general\0y]\no=2\n";
        QTest::newRow("NUL") << QByteArray(nul, sizeof nul - 1);
    }

    void readsAsQtReads()
    {
        QFETCH(QByteArray, text);
        const settingsini::Content read = settingsini::parse(text);
        QCOMPARE(read.leftOut, QStringList());
        const QString differs = difference(read.values, readByQt(text));
        QVERIFY2(differs.isEmpty(), qPrintable(differs));
    }

    // A store file that is no settings file, or one far larger than the application writes,
    // is moved aside and kept, and the application starts from its defaults.
    void unreadableFileIsSetAside_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("reason");
        QTest::newRow("link to /dev/zero") << "zero"
                                           << "is not a regular file";
        QTest::newRow("folder") << "folder"
                                << "is not a regular file";
        QTest::newRow("link to nothing") << "dangling"
                                         << "is not a regular file";
        QTest::newRow("100 MB") << "large"
                                << "is larger than 4 MiB";
    }

    void unreadableFileIsSetAside()
    {
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        const QString path = storeFile();
        const QString aside = path + ".set-aside";
        QFile::remove(path);
        QVERIFY(!QFileInfo::exists(path));
        writeFile(aside, "[General]\nearlier=1\n"); // an earlier one stays
        auto clean = qScopeGuard([&] {
            QFile::remove(aside);
            QDir(aside + "-2").removeRecursively();
            QFile::remove(aside + "-2");
        });
        if (kind == "zero") {
            QVERIFY(QFile::link("/dev/zero", path));
        } else if (kind == "folder") {
            QVERIFY(QDir().mkpath(path + "/inside"));
        } else if (kind == "dangling") {
            QVERIFY(QFile::link(QDir::temp().filePath("nothing-here"), path));
        } else {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            QVERIFY(file.resize(100 * 1000 * 1000)); // sparse: nothing of it is read here
        }
        const struct stat before = linkStatusOf(path);

        qx8test::expectWarnings(qPrintable("^Settings file .*QX8Control.conf " + reason +
                                           ": moved aside to .*QX8Control.conf.set-aside-2; the "
                                           "application starts with its defaults$"));
        QX8Settings::setAsideUnreadableFiles();
        QVERIFY(!QFileInfo(path).exists() && !QFileInfo(path).isSymLink());
        QCOMPARE(linkStatusOf(aside + "-2").st_ino, before.st_ino);
        QCOMPARE(qx8test::fileContent(aside), QByteArray("[General]\nearlier=1\n"));

        QX8Settings settings;
        QVERIFY(!settings.contains(QStringLiteral("earlier")));
        settings.setValue(settingskeys::kResizeReady, QStringLiteral("true"));
        QVERIFY(QFileInfo(path).isFile() && !QFileInfo(path).isSymLink());
        QCOMPARE(qx8test::fileContent(path), QByteArray("[General]\nResizeReady=true\n"));
        QX8Settings::setAsideUnreadableFiles(); // a good file stays
        QVERIFY(QFileInfo(path).isFile());
    }

    // Where it cannot be moved it is not read, and not replaced either: what the run writes
    // holds in memory.
    void unmovableFileIsNotRead()
    {
        const QString path = storeFile();
        {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            QVERIFY(file.write("[General]\nResizeReady=false\n") > 0);
            QVERIFY(file.resize(5 * 1024 * 1024));
        }
        QVERIFY(qx8test::mountReadOnly(storeFolder()));
        auto unmount = qScopeGuard([&] {
            qx8test::unmount(storeFolder());
            QFile::remove(path);
        });

        qx8test::expectWarnings("^Settings file .*QX8Control.conf is larger than 4 MiB and could "
                                "not be moved aside \\(Read-only file system\\): it is not read$");
        QX8Settings::setAsideUnreadableFiles();
        qx8test::expectWarnings("^Settings file .*QX8Control.conf is larger than 4 MiB: not read$");
        QX8Settings settings;
        QVERIFY(!settings.contains(settingskeys::kResizeReady));
        qx8test::expectWarnings("^Settings could not be saved to ");
        settings.setValue(settingskeys::kResizeReady, QStringLiteral("true"));
        QCOMPARE(settings.value(settingskeys::kResizeReady), QVariant("true"));
        QCOMPARE(QFileInfo(path).size(), qint64(5 * 1024 * 1024));
    }

    // A store that the writer would make larger than its reader takes (a list of short items,
    // read without and written with a space after each comma): the list is left out with a
    // warning and the rest saved, the device's address and password with it; no save fails, and
    // the next start keeps the file.
    void storeIsNeverWrittenPastTheLimit()
    {
        const QByteArray list = QByteArray("a,").repeated(1500 * 1000) + 'a';
        writeFile(storeFile(), "[Data]\nCurrentDeviceAddress=10.77.0.20\n"
                               "CurrentDevicePassword=quillrampstow\nLongList=" +
                                   list + '\n');
        auto remove = qScopeGuard([] { QFile::remove(storeFile()); });
        QVERIFY(QFileInfo(storeFile()).size() > 3000 * 1000);
        const QByteArray whole =
            formatted(settingsini::parse(qx8test::fileContent(storeFile())).values);
        QVERIFY(whole.size() > settingsstore::kLargestFile);

        qx8test::expectWarnings("^Settings left out of .*QX8Control.conf so that it stays "
                                "within 4 MiB, not saved: Data/LongList$");
        QX8Settings().setValue(settingskeys::kCurrentVersion, QStringLiteral("1.1.5"));
        QVERIFY(QFileInfo(storeFile()).size() <= settingsstore::kLargestFile);
        const QSettings::SettingsMap saved{{settingskeys::kCurrentVersion, "1.1.5"},
                                           {settingskeys::kCurrentDeviceAddress, "10.77.0.20"},
                                           {settingskeys::kCurrentDevicePassword, "quillrampstow"}};
        QCOMPARE(settingsini::parse(qx8test::fileContent(storeFile())).values, saved);

        // The list is gone from memory too: later saves neither format it nor warn again.
        QVERIFY(!QX8Settings().contains(QStringLiteral("Data/LongList")));
        for (const char* version : {"1.1.6", "1.1.7", "1.1.8"})
            QX8Settings().setValue(settingskeys::kCurrentVersion, QString(version));
        QCOMPARE(settingsini::parse(qx8test::fileContent(storeFile()))
                     .values.value(settingskeys::kCurrentVersion),
                 QVariant("1.1.8"));

        QX8Settings::setAsideUnreadableFiles();
        QVERIFY(QFileInfo(storeFile()).isFile());
        QCOMPARE(QX8Settings().value(settingskeys::kCurrentDevicePassword),
                 QVariant("quillrampstow"));
    }

    // A store that writes as it closes, without a save: what it left out is dropped from memory
    // as the store is next opened, and warned about once. The store holds another value, so that
    // the file written holds something and Qt has no cause to read it again.
    void oversizedValueWrittenAsTheStoreClosesIsWarnedOnce()
    {
        const QString path = settingsstore::fileName(settingskeys::kDefaultStore);
        auto remove = qScopeGuard([&] { QFile::remove(path); });
        const QString text(int(settingsstore::kLargestFile), QLatin1Char('a'));
        qx8test::expectWarnings("^Settings left out of .*Spandrell QX8.conf so that it stays "
                                "within 4 MiB, not saved: Data/LongList$");
        {
            settingsstore::OpenedStore store(settingskeys::kDefaultStore);
            store.setValue(settingskeys::kAnalyticsClientId, QStringLiteral("first"));
            store.setValue(QStringLiteral("Data/LongList"), text);
        }
        for (int id = 0; id < 3; ++id) {
            settingsstore::OpenedStore store(settingskeys::kDefaultStore);
            QVERIFY(!store.contains(QStringLiteral("Data/LongList")));
            store.setValue(settingskeys::kAnalyticsClientId, QString::number(id));
            QVERIFY(store.save());
        }
        const QSettings::SettingsMap saved = settingsini::parse(qx8test::fileContent(path)).values;
        QCOMPARE(saved.value(settingskeys::kAnalyticsClientId), QVariant("2"));
        QVERIFY(!saved.contains(QStringLiteral("Data/LongList")));
    }

    // A FIFO in place of either store, in a folder the application cannot write, so that it
    // stays there: never opened (an open waits for a writer, with no end). The run starts from
    // the defaults, and what it sets holds in memory.
    void fifoIsNeverOpened()
    {
        const QString application = storeFile();
        const QString analytics = settingsstore::fileName(settingskeys::kDefaultStore);
        QFile::remove(application);
        QFile::remove(analytics);
        const HeldFifo applicationFifo(application);
        const HeldFifo analyticsFifo(analytics);
        QVERIFY(applicationFifo.made && applicationFifo.ends >= 0);
        QVERIFY(analyticsFifo.made && analyticsFifo.ends >= 0);
        QVERIFY(qx8test::mountReadOnly(storeFolder()));
        auto clean = qScopeGuard([&] {
            qx8test::unmount(storeFolder());
            QFile::remove(application);
            QFile::remove(analytics);
        });
        const OpenWatch watch({application, analytics});
        QVERIFY(watch.watchesAll(2));

        qx8test::expectWarnings("^Settings file .*(QX8Control|Spandrell QX8).conf is not a regular "
                                "file and could not be moved aside \\(Read-only file system\\): "
                                "it is not read$",
                                2);
        QX8Settings::setAsideUnreadableFiles();
        QX8Settings settings;
        QCOMPARE(settings.value(settingskeys::kCurrentDeviceAddress, QStringLiteral("none")),
                 QVariant("none"));
        qx8test::expectWarnings("^Settings could not be saved to .*QX8Control.conf$");
        settings.setValue(settingskeys::kCurrentDeviceAddress, QStringLiteral("10.77.0.20"));
        QCOMPARE(QX8Settings().value(settingskeys::kCurrentDeviceAddress), QVariant("10.77.0.20"));

        settingsstore::OpenedStore analyticsStore(settingskeys::kDefaultStore);
        QVERIFY(!analyticsStore.contains(settingskeys::kAnalyticsClientId));
        analyticsStore.setValue(settingskeys::kAnalyticsClientId, QStringLiteral("{id}"));
        QCOMPARE(analyticsStore.value(settingskeys::kAnalyticsClientId), QVariant("{id}"));
        QVERIFY(!analyticsStore.save());
        QCOMPARE(watch.opens(), 0);
    }

    // A FIFO in place of the store's lock, as a run without the single-instance guard leaves it:
    // QSettings would read it before a write, and wait for ever. The file is read, what the run
    // sets holds in memory, and the lock is never opened.
    void fifoLockIsNeverOpened()
    {
        writeFile(storeFile(), "[Data]\nCurrentDeviceAddress=10.77.0.20\n");
        const QString lock = storeFile() + ".lock";
        auto remove = qScopeGuard([&] {
            QFile::remove(lock);
            QFile::remove(storeFile());
        });
        const HeldFifo fifo(lock);
        QVERIFY(fifo.made && fifo.ends >= 0);
        const OpenWatch watch({lock});
        QVERIFY(watch.watchesAll(1));

        qx8test::expectWarnings("^Settings lock .*QX8Control.conf.lock is not a regular file: "
                                ".*QX8Control.conf is read, and nothing is saved to it$");
        QX8Settings::setAsideUnreadableFiles();
        QX8Settings settings;
        QCOMPARE(settings.value(settingskeys::kCurrentDeviceAddress), QVariant("10.77.0.20"));
        qx8test::expectWarnings("^Settings could not be saved to .*QX8Control.conf$");
        settings.setValue(settingskeys::kCurrentDeviceAddress, QStringLiteral("10.77.0.21"));
        QCOMPARE(QX8Settings().value(settingskeys::kCurrentDeviceAddress), QVariant("10.77.0.21"));
        QCOMPARE(QX8Settings().value(settingskeys::kCurrentDevicePassword, "none"),
                 QVariant("none"));
        QCOMPARE(qx8test::fileContent(storeFile()),
                 QByteArray("[Data]\nCurrentDeviceAddress=10.77.0.20\n"));
        QCOMPARE(watch.opens(), 0);
    }

    // Each store lies where Linux users' files have always been, and is written to the file that
    // is set aside and unlocked by that name, whatever folder QSettings would choose for a format
    // of the application's own (on macOS and Windows not that one).
    void storeFileIsPinned()
    {
        const QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
        QCOMPARE(settingsstore::fileName(settingskeys::kApplicationStore),
                 config + "/Velmor/QX8Control.conf");
        QCOMPARE(settingsstore::fileName(settingskeys::kDefaultStore),
                 config + "/Velmor/Spandrell QX8.conf");

        const QTemporaryDir elsewhere;
        QVERIFY(elsewhere.isValid());
        auto setPaths = [](const QString& folder) {
            for (int format = QSettings::CustomFormat1; format <= QSettings::CustomFormat16;
                 ++format)
                QSettings::setPath(QSettings::Format(format), QSettings::UserScope, folder);
        };
        setPaths(elsewhere.path());
        auto restore = qScopeGuard([&] {
            setPaths(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation));
        });
        for (const settingskeys::Store& store :
             {settingskeys::kApplicationStore, settingskeys::kDefaultStore}) {
            const QString path = settingsstore::fileName(store);
            QFile::remove(path);
            settingsstore::OpenedStore opened(store);
            QCOMPARE(opened.fileName(), path);
            opened.setValue(QStringLiteral("Data/where"), QStringLiteral("here"));
            QVERIFY(opened.save());
            QCOMPARE(qx8test::fileContent(path), QByteArray("[Data]\nwhere=here\n"));
        }
        QCOMPARE(QDir(elsewhere.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList());
    }

    // A file that grew past the limit during the run is neither read nor replaced.
    void fileGrownDuringTheRunIsKept()
    {
        QX8Settings settings;
        settings.setValue(settingskeys::kResizeReady, QStringLiteral("true"));
        {
            QFile file(storeFile());
            QVERIFY(file.open(QIODevice::Append));
            QVERIFY(file.resize(5 * 1024 * 1024));
        }
        qx8test::expectWarnings("^Settings file .*QX8Control.conf is larger than 4 MiB: not read$");
        QVERIFY(!settings.contains(settingskeys::kResizeReady));
        qx8test::expectWarnings("^Settings file .*QX8Control.conf is larger than 4 MiB: not "
                                "replaced$");
        qx8test::expectWarnings("^Settings could not be saved to ");
        settings.setValue(settingskeys::kCurrentVersion, QStringLiteral("1.1.4"));
        QCOMPARE(settings.value(settingskeys::kCurrentVersion), QVariant("1.1.4"));
        QCOMPARE(QFileInfo(storeFile()).size(), qint64(5 * 1024 * 1024));
        QVERIFY(QFile::remove(storeFile()));
    }
};

QX8_PRIVATE_MOUNTS_TEST_MAIN(QCoreApplication, TestQX8Settings)
#include "tst_qx8settings.moc"
