#include "offlinemodel.h"
#include "pagesession.h"
#include "qx8control.h"
#include "qx8settings.h"
#include "settingskeys.h"
#include "shellfixture.h"
#include "tcpadaptor.h"
#include "testharness.h"
#include "testmain.h"
#include "viewloader.h"

#include <QQmlProperty>
#include <QQuickItem>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>

// The offline model: the virtual processor started as a child process on 127.0.0.1 with the
// chosen device type, connected to, and stopped again. Needs 127.0.0.1:19272 to itself.
class TestOfflineMode : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void connectsToTheOfflineModelAndStopsIt();
    void remoteLossLeavesOfflineMode();
    void findsTheInstalledProgramFirst_data();
    void findsTheInstalledProgramFirst();

private:
    static bool consolePortFree();

    ShellFixture m_shell;
};

bool TestOfflineMode::consolePortFree()
{
    QTcpServer probe;
    return probe.listen(QHostAddress(QStringLiteral("127.0.0.1")), 19272);
}

void TestOfflineMode::initTestCase()
{
    QX8Settings settings;
    settings.setValue(settingskeys::kAppAnalytics, QStringLiteral("false"));
    settings.setValue(settingskeys::kCheckOnStart, QStringLiteral("false"));
    QVERIFY(m_shell.start());
    QVERIFY(consolePortFree());
}

void TestOfflineMode::connectsToTheOfflineModelAndStopsIt()
{
    ViewLoader* loader = m_shell.loader();
    // As after "Search For Devices", from whose page the offline model is asked for: the start-up
    // splash stays hidden from the next page on.
    QQmlProperty::write(m_shell.root(), QStringLiteral("startUpScreenVisible"), false);
    QSignalSpy offline(loader, &ViewLoader::offlineModeChanged);
    m_shell.guiSignal(QStringLiteral("ConnectOfflineModel"), QStringLiteral("1"));
    QCOMPARE(offline.count(), 1);
    QVERIFY(loader->offlineMode());
    QX8Settings settings;
    QCOMPARE(settings.value(settingskeys::kCurrentDeviceAddress).toString(),
             QStringLiteral("127.0.0.1"));
    QCOMPARE(settings.value(settingskeys::kCurrentDevicePassword).toString(),
             QStringLiteral("quillrampstow"));

    QTRY_VERIFY_WITH_TIMEOUT(loader->isActive(ViewLoader::HomeScreen), qx8test::timeoutMs());
    QTRY_COMPARE_WITH_TIMEOUT(QQmlProperty::read(m_shell.root(), "strDeviceType").toString(),
                              QStringLiteral("Dante"), qx8test::timeoutMs());
    // The picture: the home screen once the device's values are on it.
    QObject* pageLoader = m_shell.root()->findChild<QObject*>(QStringLiteral("pageLoader"));
    QTRY_VERIFY_WITH_TIMEOUT(QQmlProperty::read(pageLoader, QStringLiteral("source"))
                                 .toString()
                                 .endsWith(QLatin1String("QX8HomeScreen.qml")),
                             qx8test::timeoutMs());
    const auto valuesShown = [this] {
        const QList<QX8Control*> controls = boundControlsUnder(m_shell.root());
        return std::all_of(controls.begin(), controls.end(),
                           [](const QX8Control* control) { return control->hasDeviceValue(); });
    };
    QTRY_VERIFY_WITH_TIMEOUT(valuesShown(), qx8test::timeoutMs());
    m_shell.screenshot(QStringLiteral("offline-home.png"));

    m_shell.guiSignal(QStringLiteral("DisconnectDevice"));
    QVERIFY(!loader->offlineMode());
    QCOMPARE(offline.count(), 2);
    QTRY_VERIFY(loader->isActive(ViewLoader::Discovery));
    QTRY_VERIFY_WITH_TIMEOUT(consolePortFree(), qx8test::timeoutMs());
}

void TestOfflineMode::remoteLossLeavesOfflineMode()
{
    ViewLoader* loader = m_shell.loader();
    m_shell.guiSignal(QStringLiteral("ConnectOfflineModel"), QStringLiteral("0"));
    QTRY_VERIFY_WITH_TIMEOUT(loader->isActive(ViewLoader::HomeScreen), qx8test::timeoutMs());
    QSignalSpy stops(loader, &ViewLoader::stopOfflineModel);
    // The model ends under the link, which reports it.
    QTest::ignoreMessage(QtWarningMsg,
                         "Error code: 1, Error String: The remote host closed the connection");
    loader->onRemoteConnectionLost();
    QVERIFY(!loader->offlineMode());
    QCOMPARE(stops.count(), 2);
    QTRY_VERIFY_WITH_TIMEOUT(consolePortFree(), qx8test::timeoutMs());
    QTRY_VERIFY_WITH_TIMEOUT(!TCPAdaptor::instance()->isConnected(), qx8test::timeoutMs());
}

void TestOfflineMode::findsTheInstalledProgramFirst_data()
{
    QTest::addColumn<bool>("present");
    QTest::addColumn<bool>("executable");
    QTest::addColumn<bool>("installedChosen");
    QTest::newRow("installed") << true << true << true;
    QTest::newRow("not executable") << true << false << false;
    QTest::newRow("absent") << false << false << false;
}

// An application installed with the virtual processor beside it starts that one; without it
// the build tree's.
void TestOfflineMode::findsTheInstalledProgramFirst()
{
    QFETCH(bool, present);
    QFETCH(bool, executable);
    QFETCH(bool, installedChosen);
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString installed = folder.filePath(QLatin1String(OfflineModel::kProgramName));
    if (present) {
        QVERIFY(QFile::copy(qx8test::virtualProcessorPath(), installed));
        QFile::Permissions permissions = QFile::ReadOwner | QFile::WriteOwner;
        if (executable)
            permissions |= QFile::ExeOwner;
        QVERIFY(QFile::setPermissions(installed, permissions));
    }
    const QString chosen = OfflineModel::programIn(folder.path());
    QCOMPARE(chosen, installedChosen ? installed : qx8test::virtualProcessorPath());
}

QX8_TEST_MAIN(TestOfflineMode)
#include "tst_offlinemode.moc"
