#include "applicationstartup.h"
#include "datafolders.h"
#include "messagehandler.h"
#include "presetmigration.h"
#include "privatemounts.h"
#include "qx8settings.h"
#include "qx8settingsstore.h"
#include "settingskeys.h"
#include "testharness.h"
#include "testmain.h"
#include "watchedfifo.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QtTest>
#include <sys/resource.h>
#include <sys/stat.h>

#include <memory>
#include <vector>

// Start-up of the real QX8Control as a child process: the order of its log, the log line
// format, settings defaults, the one-time preset migration, the single-instance lock, settings
// files it cannot trust or write, FIFOs in the place of the files it opens (Qt's QML disk cache
// among them), and links in the place of the files it writes.
class TestStartup : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void logLine_data();
    void logLine();
    void startsInOrder();
    void secondInstanceLeavesFirstAlone();
    void lockFailureIsNotAnotherInstance();
    void fatalMessageReachesTheLog();
    void migratesPresetsOnce();
    void readsOwnKeysBesideASerializedValueInAReadOnlyFolder();
    void storeFilesAreOwnerOnly();
    void qmlDiskCacheIsLeftAlone_data();
    void qmlDiskCacheIsLeftAlone();
    void startWritesThroughNoLink_data();
    void startWritesThroughNoLink();
    void oversizedStoreIsSetAside();
    void fifoStoresInAReadOnlyFolder();
    void startsPastAFifo_data();
    void startsPastAFifo();
    void lineAFifoLogCannotTakeIsDropped();

private:
    bool startApplication(QProcess& process);
    void stopApplication(QProcess& process);
    static QString dataFolder();
    static QString logPath();
    static QStringList logLines();

    QProcess m_first;
};

namespace {
const char* const kFatalChild = "--fatal-child";
const QString kLastWords = QStringLiteral("the last words before the end");
const QString kLoaded = QStringLiteral("Main: pageLoadSlot -> QX8Discovery.qml");
// The last step of the start, once the discovery page is on screen.
const QString kStarted = QStringLiteral("Configuration resources loaded");
const QRegularExpression
    kLinePattern(QStringLiteral("^\\d\\d:\\d\\d:\\d\\d:\\d{3}: (Debug  |Warning|Error  |Info   ) "
                                "\\[([^:\\]]*): (.*): (\\d+)\\] (.*)$"));

int indexOfLineContaining(const QStringList& lines, const QString& text, int from = 0)
{
    for (int i = from; i < lines.size(); ++i) {
        if (lines.at(i).contains(text))
            return i;
    }
    return -1;
}
} // namespace

QString TestStartup::dataFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
}

QString TestStartup::logPath()
{
    return dataFolder() + QStringLiteral("/yoxl/QX8/ui.log");
}

QStringList TestStartup::logLines()
{
    QFile log(logPath());
    if (!log.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    return QString::fromUtf8(log.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

// Analytics and update checks stay off in tests.
void TestStartup::init()
{
    QX8Settings settings;
    settings.clear();
    settings.setValue(settingskeys::kAppAnalytics, QStringLiteral("false"));
    settings.setValue(settingskeys::kCheckOnStart, QStringLiteral("false"));
    QFile::remove(logPath());
}

void TestStartup::cleanup()
{
    stopApplication(m_first);
}

bool TestStartup::startApplication(QProcess& process)
{
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.start(QStringLiteral(QX8_CONTROL_PATH), QStringList());
    if (!process.waitForStarted(qx8test::timeoutMs()))
        return false;
    QElapsedTimer clock;
    clock.start();
    while (indexOfLineContaining(logLines(), kStarted) < 0) {
        if (process.state() == QProcess::NotRunning || clock.elapsed() > qx8test::timeoutMs())
            return false;
        QTest::qWait(20);
    }
    return true;
}

void TestStartup::stopApplication(QProcess& process)
{
    if (process.state() == QProcess::NotRunning)
        return;
    process.terminate();
    if (!process.waitForFinished(qx8test::timeoutMs()))
        process.kill();
    process.waitForFinished();
}

void TestStartup::logLine_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QByteArray>("function");
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("expected");

    QTest::newRow("member") << int(QtDebugMsg) << QByteArray("/src/link/tcpadaptor.cpp")
                            << QByteArray("void TCPAdaptor::doConnect()") << 12 << "connecting"
                            << "Debug   [tcpadaptor.cpp: doConnect(): 12] connecting";
    QTest::newRow("free function") << int(QtWarningMsg) << QByteArray("main.cpp")
                                   << QByteArray("int main(int, char**)") << 3 << "w"
                                   << "Warning [main.cpp: int main(int, char**): 3] w";
    QTest::newRow("nested") << int(QtCriticalMsg) << QByteArray("a/b/c.cpp")
                            << QByteArray("void ns::A::B::f(int)") << 7 << "e"
                            << "Error   [c.cpp: f(int): 7] e";
    QTest::newRow("fatal") << int(QtFatalMsg) << QByteArray("x.cpp") << QByteArray("g()") << 1
                           << "f"
                           << "Fatal   [x.cpp: g(): 1] f";
    QTest::newRow("info") << int(QtInfoMsg) << QByteArray("x.cpp") << QByteArray("g()") << 1 << "i"
                          << "Info    [x.cpp: g(): 1] i";
    QTest::newRow("unknown type") << 42 << QByteArray("x.cpp") << QByteArray("g()") << 1 << "u"
                                  << "Debug   [x.cpp: g(): 1] u";
    QTest::newRow("no context") << int(QtDebugMsg) << QByteArray() << QByteArray() << 0 << "qt"
                                << "Debug   [: : 0] qt";
    QTest::newRow("placeholders stay")
        << int(QtDebugMsg) << QByteArray("x.cpp") << QByteArray("g()") << 1 << "50%1 %2"
        << "Debug   [x.cpp: g(): 1] 50%1 %2";
}

void TestStartup::logLine()
{
    QFETCH(int, type);
    QFETCH(QByteArray, file);
    QFETCH(QByteArray, function);
    QFETCH(int, line);
    QFETCH(QString, message);
    QFETCH(QString, expected);
    const QMessageLogContext context(file.isNull() ? nullptr : file.constData(), line,
                                     function.isNull() ? nullptr : function.constData(), nullptr);
    const QString text = formatLogLine(QtMsgType(type), context, message, QTime(9, 5, 7, 42));
    QCOMPARE(text, QStringLiteral("09:05:07:042: ") + expected + QLatin1Char('\n'));
}

void TestStartup::startsInOrder()
{
    QVERIFY(startApplication(m_first));
    const QStringList lines = logLines();
    for (const QString& line : lines)
        QVERIFY2(kLinePattern.match(line).hasMatch(), qPrintable(line));

    const QStringList steps = {
        QStringLiteral("Data folder:"),
        QStringLiteral("File locked by process."),
        QStringLiteral("QT PLATFORM NAME = offscreen"),
        QStringLiteral("Init View Loader: offscreen"),
        QStringLiteral("Complete JSON Received"),
        QStringLiteral("QML PLATFORM NAME = "),
        QStringLiteral("Entering state: Discovery"),
        QStringLiteral("onStateEntered QX8Discovery.qml"),
        QStringLiteral(" About to load ... QX8Discovery.qml"),
        kLoaded,
        QStringLiteral("Configuration resources loaded: 51 crossover types"),
    };
    int at = 0;
    for (const QString& step : steps) {
        at = indexOfLineContaining(lines, step, at);
        QVERIFY2(at >= 0, qPrintable(QStringLiteral("missing or out of order: ") + step));
    }

    QX8Settings settings;
    const QStringList fixed = {settingskeys::kExtraFeaturesReady, settingskeys::kResizeReady,
                               settingskeys::kPresetsCopy};
    for (const QString& key : fixed)
        QCOMPARE(settings.value(key).toString(), QStringLiteral("true"));
    QCOMPARE(settings.value(settingskeys::kCurrentVersion).toString(), QStringLiteral("1.1.4"));
    QCOMPARE(settings.value(settingskeys::kAppAnalytics).toString(), QStringLiteral("false"));
    QCOMPARE(settings.value(settingskeys::kCheckOnStart).toString(), QStringLiteral("false"));
    // Written by the discovery page once it is complete.
    QTRY_COMPARE(settings.value(settingskeys::kCloudFirmwareVersion).toString(),
                 QStringLiteral("0.0.0.0"));
    QCOMPARE(settings.value(settingskeys::kDelayPoJson).toString(), QStringLiteral("{}"));
    QCOMPARE(settings.value(settingskeys::kIsConfigMode).toString(), QStringLiteral("false"));
}

void TestStartup::secondInstanceLeavesFirstAlone()
{
    QVERIFY(startApplication(m_first));
    const QStringList before = logLines();

    QProcess second;
    second.setProcessChannelMode(QProcess::ForwardedChannels);
    second.start(QStringLiteral(QX8_CONTROL_PATH), QStringList());
    QVERIFY(second.waitForFinished(qx8test::timeoutMs()));
    QCOMPARE(second.exitStatus(), QProcess::NormalExit);
    QCOMPARE(second.exitCode(), 0);

    // The first instance's lines are all still there; it may have logged more meanwhile.
    const QStringList after = logLines();
    QCOMPARE(after.mid(0, before.size()), before);
    const QString message =
        QStringLiteral("Another instance of the application is already running.");
    const QStringList notices = after.filter(message);
    QCOMPARE(notices.size(), 1);
    const QRegularExpressionMatch match = kLinePattern.match(notices.first());
    QVERIFY(match.hasMatch());
    QCOMPARE(match.captured(1), QStringLiteral("Debug  "));
    QCOMPARE(match.captured(2), QStringLiteral("main.cpp"));
    QVERIFY(match.captured(3).startsWith(QLatin1String("int main(")));
    QCOMPARE(match.captured(5), message);
    QCOMPARE(m_first.state(), QProcess::Running);
}

// A lock file that cannot be made (the temporary folder is a plain file) is not another
// instance: the start fails with its own reason and a non-zero exit code.
void TestStartup::lockFailureIsNotAnotherInstance()
{
    const QString notAFolder = QDir::tempPath() + "/not-a-folder";
    QFile plainFile(notAFolder);
    QVERIFY(plainFile.open(QIODevice::WriteOnly));
    plainFile.close();
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TMPDIR"), notAFolder);
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.start(QStringLiteral(QX8_CONTROL_PATH), QStringList());
    QVERIFY(process.waitForFinished(qx8test::timeoutMs()));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 1);
    const QStringList lines = logLines();
    QCOMPARE(lines.filter(QStringLiteral("Another instance")), QStringList());
    const QStringList reports = lines.filter(QStringLiteral("single-instance lock"));
    QCOMPARE(reports.size(), 1);
    QVERIFY2(reports.first().contains(QLatin1String("Error   [")), qPrintable(reports.first()));
}

// The test program itself, started with kFatalChild, logs one fatal message through the
// application's handler.
void TestStartup::fatalMessageReachesTheLog()
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedChannels);
    child.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(kFatalChild)});
    QVERIFY(child.waitForFinished(qx8test::timeoutMs()));
    QCOMPARE(child.exitStatus(), QProcess::CrashExit);
    const QStringList fatal = logLines().filter(QStringLiteral("Fatal   ["));
    QCOMPARE(fatal.size(), 1);
    QVERIFY2(fatal.first().endsWith(kLastWords), qPrintable(fatal.first()));
}

void TestStartup::migratesPresetsOnce()
{
    const QString source =
        QDir::homePath() +
        "/Library/Containers/com.velmor.spandrellqx8/Data/Library/Caches/Presets";
    const QString target = dataFolder() + "/QX8/Presets";
    QVERIFY(QDir().mkpath(source + "/Folder"));
    QVERIFY(QDir().mkpath(target));
    auto write = [](const QString& path, const QByteArray& content) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    };
    write(source + "/Only.preset", "source only");
    write(source + "/Both.preset", "source copy");
    write(target + "/Both.preset", "target copy");
    write(source + "/Folder/Inner.preset", "inner");

    QVERIFY(startApplication(m_first));
    stopApplication(m_first);
    // Copied before the QML types and the screen loader come.
    const QStringList lines = logLines();
    const int copied = indexOfLineContaining(lines, target + "/Only.preset");
    QVERIFY(copied >= 0);
    QVERIFY(copied < indexOfLineContaining(lines, QStringLiteral("QT PLATFORM NAME = ")));
    auto read = [](const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    QCOMPARE(read(target + "/Only.preset"), QByteArray("source only"));
    QCOMPARE(read(target + "/Both.preset"), QByteArray("target copy"));
    QVERIFY(!QFileInfo::exists(target + "/Folder"));
    QVERIFY(!QFileInfo::exists(target + "/Inner.preset"));

    write(source + "/Later.preset", "later");
    QFile::remove(logPath());
    QVERIFY(startApplication(m_first));
    QVERIFY(!QFileInfo::exists(target + "/Later.preset"));
}

// A settings file that Qt would read by deserializing a list of two billion entries, in a folder
// the application cannot write, so that nothing can take the value out: the application starts,
// warns, and reads its own keys (it finds nothing to write, so nothing fails to save).
void TestStartup::readsOwnKeysBesideASerializedValueInAReadOnlyFolder()
{
    QVERIFY(startApplication(m_first)); // writes every key a start writes
    stopApplication(m_first);
    const QString store = settingsstore::fileName(settingskeys::kApplicationStore);
    const QString folder = QFileInfo(store).absolutePath();
    QFile file(store);
    QVERIFY(file.open(QIODevice::Append));
    file.write("\n" + qx8test::fileContent(qx8test::sourceDir() +
                                           "/fuzz/settingsfile/seeds/serialized-list-of-billions"));
    file.close();
    QVERIFY(qx8test::mountReadOnly(folder));
    auto restore = qScopeGuard([&] {
        stopApplication(m_first);
        qx8test::unmount(folder);
        QFile::remove(store);
    });

    QFile::remove(logPath());
    QVERIFY(startApplication(m_first));
    const QStringList lines = logLines();
    QCOMPARE(lines
                 .filter(QRegularExpression("Warning .*QX8Control.conf holds 1 values in forms "
                                            "the application never writes, left out unread"))
                 .size(),
             1);
    QCOMPARE(lines.filter(QStringLiteral("could not be saved")), QStringList());
    QCOMPARE(m_first.state(), QProcess::Running);
}

// Under a umask that lets everyone read, both stores are written for their owner alone: the
// application's, made wider by hand, and the analytics store, made anew.
void TestStartup::storeFilesAreOwnerOnly()
{
    const QString application = settingsstore::fileName(settingskeys::kApplicationStore);
    const QString analytics = settingsstore::fileName(settingskeys::kDefaultStore);
    QFile::remove(analytics);
    QVERIFY(QFile::setPermissions(application, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                   QFileDevice::ReadGroup |
                                                   QFileDevice::ReadOther));
    const mode_t umask = ::umask(0);
    const bool started = startApplication(m_first);
    ::umask(umask);
    QVERIFY(started);
    stopApplication(m_first);
    for (const QString& store : {application, analytics}) {
        struct stat status
        {
        };
        QCOMPARE(::stat(QFile::encodeName(store).constData(), &status), 0);
        QVERIFY2((status.st_mode & 0777) == 0600, qPrintable(store));
    }
}

void TestStartup::qmlDiskCacheIsLeftAlone_data()
{
    QTest::addColumn<bool>("fifos"); // or links
    QTest::newRow("FIFOs") << true;
    QTest::newRow("links") << false;
}

// Qt's disk cache of compiled QML, as a start with the cache forced on fills it, with a FIFO (that
// no one writes) or a link in the place of each file: the start opens none of them, shows the
// discovery page, and leaves what the links lead to as it was.
void TestStartup::qmlDiskCacheIsLeftAlone()
{
    QFETCH(bool, fifos);
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
                          '/' + settingskeys::kDefaultStore.organization + '/' +
                          settingskeys::kDefaultStore.application + "/qmlcache";
    auto remove = qScopeGuard([&] { QDir(cache).removeRecursively(); });
    QProcess filling;
    QProcessEnvironment forced = QProcessEnvironment::systemEnvironment();
    forced.insert(QStringLiteral("QML_FORCE_DISK_CACHE"), QStringLiteral("1"));
    filling.setProcessEnvironment(forced);
    QVERIFY(startApplication(filling));
    stopApplication(filling);
    const QStringList cached = QDir(cache).entryList(QDir::Files);
    QVERIFY(!cached.isEmpty());

    const QByteArray kept("not a compiled unit");
    std::vector<std::unique_ptr<qx8test::WatchedFifo>> watched;
    for (const QString& name : cached) {
        const QString path = cache + '/' + name;
        QVERIFY(QFile::remove(path));
        if (fifos) {
            watched.push_back(std::make_unique<qx8test::WatchedFifo>(path));
            QVERIFY(watched.back()->isMade());
            continue;
        }
        QFile target(path + ".target");
        QVERIFY(target.open(QIODevice::WriteOnly) && target.write(kept) == kept.size());
        QVERIFY(QFile::link(target.fileName(), path));
    }

    QFile::remove(logPath());
    QVERIFY(startApplication(m_first));
    QVERIFY(indexOfLineContaining(logLines(), kLoaded) >= 0);
    stopApplication(m_first);
    for (const auto& fifo : watched)
        QVERIFY(!fifo->wasOpened());
    for (const QString& name : cached) {
        if (fifos)
            continue;
        QVERIFY(QFileInfo(cache + '/' + name).isSymLink());
        QCOMPARE(qx8test::fileContent(cache + '/' + name + ".target"), kept);
    }
}

void TestStartup::startWritesThroughNoLink_data()
{
    QTest::addColumn<QString>("place");
    QTest::addColumn<QString>("warning"); // logged once; none when empty

    const QString store = settingsstore::fileName(settingskeys::kApplicationStore);
    QTest::newRow("settings store") << store
                                    << "Settings file " + QRegularExpression::escape(store) +
                                           " is a link: it is read, and nothing is saved to it$";
    // An old lock that names no process is stale: the link goes, and a lock of its own is made.
    QTest::newRow("single-instance lock")
        << QDir::tempPath() + '/' + ApplicationStartup::kLockFileName << QString();
}

// A link in the place of a file the start writes, to a file that holds what that file would: the
// start reads through it as needed and writes through it never.
void TestStartup::startWritesThroughNoLink()
{
    QFETCH(QString, place);
    QFETCH(QString, warning);
    const QString target = dataFolder() + "/elsewhere";
    QVERIFY(QDir().mkpath(dataFolder()));
    QVERIFY(QFile::copy(settingsstore::fileName(settingskeys::kApplicationStore), target));
    QFile::remove(place);
    QVERIFY(QFile::setPermissions(target, QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    QFile file(target);
    QVERIFY(file.open(QIODevice::ReadWrite));
    const QByteArray content = file.readAll();
    QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(-3600),
                             QFileDevice::FileModificationTime));
    file.close();
    QVERIFY(QFile::link(target, place));
    auto remove = qScopeGuard([&] {
        stopApplication(m_first);
        QFile::remove(place);
        QFile::remove(target);
    });

    QVERIFY(startApplication(m_first));
    stopApplication(m_first);
    QCOMPARE(qx8test::fileContent(target), content);
    if (!warning.isEmpty())
        QCOMPARE(logLines().filter(QRegularExpression("Warning .*" + warning)).size(), 1);
}

// A 100 MB analytics store is moved aside, kept, and the start does not read it.
void TestStartup::oversizedStoreIsSetAside()
{
    const QString analytics = settingsstore::fileName(settingskeys::kDefaultStore);
    {
        QFile file(analytics);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.resize(100 * 1000 * 1000)); // sparse
    }
    auto remove = qScopeGuard([&] { QFile::remove(analytics + ".set-aside"); });
    QVERIFY(startApplication(m_first));
    QCOMPARE(logLines()
                 .filter(QRegularExpression("Warning .*Spandrell QX8.conf is larger than 4 MiB: "
                                            "moved aside to .*Spandrell QX8.conf.set-aside; the "
                                            "application starts with its defaults$"))
                 .size(),
             1);
    QCOMPARE(QFileInfo(analytics + ".set-aside").size(), qint64(100 * 1000 * 1000));
    QVERIFY(QFileInfo(analytics).size() < 1000);
}

// A FIFO in place of each store, in a folder the application cannot write, so that neither can
// be moved aside: neither is opened (the open would wait for a writer that never comes), and the
// application starts on its defaults and shows the discovery page.
void TestStartup::fifoStoresInAReadOnlyFolder()
{
    const QString application = settingsstore::fileName(settingskeys::kApplicationStore);
    const QString analytics = settingsstore::fileName(settingskeys::kDefaultStore);
    const QString folder = QFileInfo(application).absolutePath();
    for (const QString& store : {application, analytics}) {
        QFile::remove(store);
        QCOMPARE(::mkfifo(QFile::encodeName(store).constData(), 0600), 0);
    }
    QVERIFY(qx8test::mountReadOnly(folder));
    auto restore = qScopeGuard([&] {
        stopApplication(m_first);
        qx8test::unmount(folder);
        QFile::remove(application);
        QFile::remove(analytics);
    });

    QFile::remove(logPath());
    QElapsedTimer clock;
    clock.start();
    QVERIFY(startApplication(m_first));
    qInfo() << "Discovery page shown after" << clock.elapsed() << "ms";
    const QStringList lines = logLines();
    QCOMPARE(lines
                 .filter(QRegularExpression("Warning .*(QX8Control|Spandrell QX8).conf is not a "
                                            "regular file and could not be moved aside "
                                            "\\(Read-only file system\\): it is not read$"))
                 .size(),
             2);
    QVERIFY(indexOfLineContaining(lines, kLoaded) >= 0);
    QCOMPARE(m_first.state(), QProcess::Running);
}

void TestStartup::startsPastAFifo_data()
{
    QTest::addColumn<QString>("fifo");
    QTest::addColumn<QString>("link"); // to the FIFO, when it is the link that is in the way
    QTest::addColumn<bool>("staleLock");
    QTest::addColumn<QString>("warning");
    QTest::addColumn<bool>("guarded"); // by the single-instance lock

    const QString lock = QDir::tempPath() + '/' + ApplicationStartup::kLockFileName;
    const QString unguarded = " is not a regular file: the application runs without the "
                              "single-instance guard$";
    const QString lockWarning = "The single-instance lock " + QRegularExpression::escape(lock);
    QTest::newRow("single-instance lock")
        << lock << "" << false << lockWarning + unguarded << false;
    // QLockFile takes a lock of its own, beside a stale one, before it removes it.
    QTest::newRow("clean-up lock beside a stale lock")
        << lock + ".rmlock"
        << "" << true << lockWarning + "\\.rmlock" + unguarded << false;
    QTest::newRow("analytics queue")
        << dataFolder() + "/yoxl/QX8/appanalytics/analyticsData.json"
        << "" << false
        << "\\[Analytics\\] Left the queue file .*/analyticsData.json alone: it is not a "
           "regular file$"
        << true;
    QTest::newRow("preset of the sandboxed edition")
        << dataFolder() + "/elsewhere" << PresetMigration::sandboxPresetFolder() + "/Show.preset"
        << false << "Preset .*/Show.preset is not a regular file: not copied$" << true;
}

// A FIFO (or a link to one) in the place of a file the start reads, put there by someone else:
// it is not opened, and the discovery page shows, with a warning. Without the single-instance
// lock the log of an earlier run is kept, as another instance may still be writing it, and no
// line says the lock was taken.
void TestStartup::startsPastAFifo()
{
    QFETCH(QString, fifo);
    QFETCH(QString, link);
    QFETCH(bool, staleLock);
    QFETCH(QString, warning);
    QFETCH(bool, guarded);
    const QString lock = QDir::tempPath() + '/' + ApplicationStartup::kLockFileName;
    auto remove = qScopeGuard([&] {
        stopApplication(m_first);
        for (const QString& path : {fifo, link, lock}) {
            if (!path.isEmpty())
                QFile::remove(path);
        }
    });
    QFile::remove(lock); // left by an earlier start, ended by a signal
    QVERIFY(QDir().mkpath(QFileInfo(fifo).absolutePath()));
    QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    if (!link.isEmpty()) {
        QVERIFY(QDir().mkpath(QFileInfo(link).absolutePath()));
        QVERIFY(QFile::link(fifo, link));
    }
    if (staleLock) {
        QFile file(lock);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(-3600),
                                 QFileDevice::FileModificationTime));
    }
    const QString earlierRun = QStringLiteral("a line of an earlier run");
    {
        QVERIFY(QDir().mkpath(QFileInfo(logPath()).absolutePath()));
        QFile log(logPath());
        QVERIFY(log.open(QIODevice::WriteOnly));
        log.write(earlierRun.toUtf8() + '\n');
    }

    QElapsedTimer clock;
    clock.start();
    QVERIFY(startApplication(m_first));
    qInfo() << "Discovery page shown after" << clock.elapsed() << "ms";
    const QStringList lines = logLines();
    QCOMPARE(lines.filter(QRegularExpression("Warning .*" + warning)).size(), 1);
    QVERIFY(indexOfLineContaining(lines, kLoaded) >= 0);
    QCOMPARE(lines.contains(earlierRun), !guarded);
    QCOMPARE(lines.filter(QRegularExpression(" File locked by process\\.$")).size(),
             guarded ? 1 : 0);
    QCOMPARE(m_first.state(), QProcess::Running);
}

// A FIFO in the log's place is not opened (every message would wait on it for ever): the line of
// a fatal message is dropped, nothing reaches standard error or standard output, and the process
// ends as a fatal message ends it.
void TestStartup::lineAFifoLogCannotTakeIsDropped()
{
    QVERIFY(QDir().mkpath(QFileInfo(logPath()).absolutePath()));
    QCOMPARE(::mkfifo(QFile::encodeName(logPath()).constData(), 0600), 0);
    QProcess child;
    auto remove = qScopeGuard([&] {
        stopApplication(child);
        QFile::remove(logPath());
    });
    child.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(kFatalChild)});
    QVERIFY(child.waitForFinished(qx8test::timeoutMs()));
    QCOMPARE(child.exitStatus(), QProcess::CrashExit);
    QCOMPARE(child.readAllStandardError(), QByteArray());
    QCOMPARE(child.readAllStandardOutput(), QByteArray());
    struct stat status
    {
    };
    QCOMPARE(::stat(QFile::encodeName(logPath()).constData(), &status), 0);
    QVERIFY(S_ISFIFO(status.st_mode));
}

namespace {
int logOneFatalMessage()
{
    const rlimit noCoreFile{0, 0};
    setrlimit(RLIMIT_CORE, &noCoreFile);
    QDir().mkpath(strLogDir);
    qInstallMessageHandler(messageHandler);
    qFatal("%s", qPrintable(kLastWords));
}
} // namespace

int main(int argc, char** argv)
{
    if (argc > 1 && qstrcmp(argv[1], kFatalChild) == 0)
        return logOneFatalMessage();
    if (!qx8test::enterPrivateMounts())
        return 1;
    QCoreApplication application(argc, argv);
    TestStartup test;
    return qx8test::exec(&test, argc, argv);
}
#include "tst_startup.moc"
