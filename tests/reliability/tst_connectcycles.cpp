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

#include <QDir>
#include <QElapsedTimer>
#include <QLoggingCategory>
#include <QSignalSpy>
#include <QtTest>

#include <cstdio>

namespace {

int openDescriptors()
{
    return int(QDir(QStringLiteral("/proc/self/fd"))
                   .entryList(QDir::NoDotAndDotDot | QDir::System)
                   .size());
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
    int baseline = 0;
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
        if (cycle == kWarmUp)
            baseline = openDescriptors();
    }
    // The socket thread closes the last connection in its own time, later on a busy machine.
    QTRY_VERIFY_WITH_TIMEOUT(openDescriptors() <= baseline, qx8test::timeoutMs());
    std::printf("%d cycles in %lld ms; %d descriptors open after %d cycles, %d after the last\n",
                cycles, clock.elapsed(), baseline, kWarmUp, openDescriptors());
    link->shutdown();
}

QX8_TEST_GUILESS_MAIN(TestConnectCycles)
#include "tst_connectcycles.moc"
