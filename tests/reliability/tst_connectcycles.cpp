// The link through many connects and disconnects against VirtualQX8: each connection logs in
// or is dropped while it connects, and in the end the process holds as many descriptors as
// after the first few. Run in the sanitizer build, LeakSanitizer checks the memory at exit.
// QX8_CONNECT_CYCLES sets the number of cycles (default 1000).
#include "qx8settings.h"
#include "settingskeys.h"
#include "tcpadaptor.h"
#include "testharness.h"
#include "testmain.h"
#include "virtualprocessor.h"

#include <QElapsedTimer>
#include <QLoggingCategory>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QtTest>

#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <unistd.h>

namespace {

// What each open descriptor refers to ("socket:[...]", "anon_inode:[eventfd]", a path), the one
// that reads the list left out.
QStringList openDescriptors()
{
    QStringList targets;
    DIR* folder = opendir("/proc/self/fd");
    if (!folder)
        return {QStringLiteral("/proc/self/fd unreadable")};
    while (const dirent* entry = readdir(folder)) {
        if (entry->d_name[0] == '.' || std::atoi(entry->d_name) == dirfd(folder))
            continue;
        char target[256] = {};
        // One that closes while the list is read is not left open.
        if (readlinkat(dirfd(folder), entry->d_name, target, sizeof target - 1) >= 0)
            targets.append(QString::fromLatin1(entry->d_name) + " -> " + target);
    }
    closedir(folder);
    return targets;
}

bool holdsSocket(const QStringList& descriptors)
{
    return descriptors.indexOf(QRegularExpression(QStringLiteral(" -> socket:"))) >= 0;
}

} // namespace

class TestConnectCycles : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void connectsAndDisconnectsLeaveNothingOpen();
};

void TestConnectCycles::connectsAndDisconnectsLeaveNothingOpen()
{
    // The link logs every connect and disconnect; a thousand of each say nothing new.
    QLoggingCategory::setFilterRules(QStringLiteral("default.info=false\ndefault.debug=false"));
    VirtualProcessor device;
    QVERIFY(device.start());
    QX8Settings().setValue(settingskeys::kCurrentDeviceAddress, device.address());
    QX8Settings().setValue(settingskeys::kCurrentDevicePassword, QStringLiteral("quillrampstow"));
    TCPAdaptor* link = TCPAdaptor::instance();
    QSignalSpy ready(link, &TCPAdaptor::vimbalReady);
    const int cycles = qEnvironmentVariableIntValue("QX8_CONNECT_CYCLES") > 0
                           ? qEnvironmentVariableIntValue("QX8_CONNECT_CYCLES")
                           : 1000;
    constexpr int kWarmUp = 10;
    QStringList baseline;
    QElapsedTimer clock;
    clock.start();
    for (int cycle = 1; cycle <= cycles; ++cycle) {
        link->doConnect();
        // Every fifth connection is dropped before it has logged in.
        if (cycle % 5 != 0) {
            QVERIFY(ready.wait(qx8test::timeoutMs()));
            QVERIFY(link->Ready());
        }
        link->doDisconnect();
        QTRY_VERIFY_WITH_TIMEOUT(!link->isConnected(), qx8test::timeoutMs());
        // The socket thread closes a connection in its own time, and may not even have opened
        // the one just dropped when the link already says it is not connected.
        if (cycle == kWarmUp)
            QVERIFY(QTest::qWaitFor([&] { return !holdsSocket(baseline = openDescriptors()); },
                                    qx8test::timeoutMs()));
    }
    QStringList left;
    const auto nothingLeft = [&] {
        left = openDescriptors();
        return !holdsSocket(left) && left.size() <= baseline.size();
    };
    QVERIFY2(QTest::qWaitFor(nothingLeft, qx8test::timeoutMs()),
             qPrintable(QStringLiteral("after %1 cycles: %2\nafter the last: %3")
                            .arg(kWarmUp)
                            .arg(baseline.join(", "), left.join(", "))));
    std::printf("%d cycles in %lld ms; %d descriptors open after %d cycles, %d after the last\n",
                cycles, clock.elapsed(), int(baseline.size()), kWarmUp, int(left.size()));
    link->shutdown();
}

QX8_TEST_GUILESS_MAIN(TestConnectCycles)
#include "tst_connectcycles.moc"
