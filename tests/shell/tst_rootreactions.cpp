// How the application's root follows the device: VirtualQX8 changes its variables (set on its
// control channel) or drops the connection, and the screens follow. The device listens on the
// near end of a veth pair in the test's own network namespace, so that a lost network can be
// made by taking the far end down.
#include "qx8settings.h"
#include "qx8textsv.h"
#include "shellfixture.h"
#include "tcpadaptor.h"
#include "testharness.h"
#include "testmain.h"
#include "tst_discoverynetwork.h"
#include "viewloader.h"
#include "virtualprocessor.h"

#include <QApplication>
#include <QQuickItem>
#include <QtTest>

namespace {
const QString kPassword = QStringLiteral("quillrampstow");
const QString kWizardState = QStringLiteral("Node\\Wizard\\SV\\WizardState");
const QString kConfigStatus = QStringLiteral("Node\\Config\\SV\\Command:Status");
const QString kCurrentPreset = QStringLiteral("Storage\\Presets\\SV\\CurrentPreset");
} // namespace

class TestRootReactions : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void deviceValueMovesTheScreen_data();
    void deviceValueMovesTheScreen();
    void lostConnectionReturnsToDiscovery_data();
    void lostConnectionReturnsToDiscovery();
    void reconnectionReopensTheRunningWizard();

private:
    void setOnDevice(const QString& path, const QString& value);
    void goTo(const QString& param, ViewLoader::Screen screen);
    QString valueShown(const QString& path) const;

    qx8test::VethNetwork m_network;
    VirtualProcessor m_device;
    ShellFixture m_shell;
};

void TestRootReactions::setOnDevice(const QString& path, const QString& value)
{
    const QString command = QStringLiteral("set \"\\\\%1\\\" \"%2\"").arg(path, value);
    const QString answer = m_device.command(command);
    QVERIFY2(answer.startsWith(QLatin1String("ok")), qPrintable(answer));
}

void TestRootReactions::goTo(const QString& param, ViewLoader::Screen screen)
{
    m_shell.guiSignal(param);
    QTRY_VERIFY(m_shell.loader()->isActive(screen));
}

// The value of the device variable at `path` as the application's value object holds it.
QString TestRootReactions::valueShown(const QString& path) const
{
    for (const QX8TextSV* variable : m_shell.root()->findChildren<QX8TextSV*>()) {
        if (!variable->svName().isEmpty() && path.endsWith(variable->svName()))
            return variable->value();
    }
    return QString();
}

void TestRootReactions::initTestCase()
{
    QVERIFY(qx8test::hasPrivateNetwork());
    QVERIFY(m_network.create());
    QVERIFY(m_network.addNearAddress(1));
    QVERIFY(m_device.start(
        {QStringLiteral("--address"), QLatin1String(qx8test::VethNetwork::kSubnet) + "1"}));
    QX8Settings settings;
    settings.setValue(QStringLiteral("Data/appAnalytics"), QStringLiteral("false"));
    settings.setValue(QStringLiteral("Data/checkOnStart"), QStringLiteral("false"));
    QVERIFY(m_shell.start());
}

// Every case starts logged in, on the home screen, with the device idle.
void TestRootReactions::init()
{
    if (!TCPAdaptor::instance()->Ready()) {
        m_shell.guiSignal(QStringLiteral("ConnectDevice"), m_device.address() + ':' + kPassword);
        QTRY_VERIFY_WITH_TIMEOUT(TCPAdaptor::instance()->Ready(), qx8test::timeoutMs());
    }
    setOnDevice(kWizardState, QStringLiteral("Inactive"));
    setOnDevice(kConfigStatus, QStringLiteral("Idle"));
    goTo(QStringLiteral("HomeButtonPressed"), ViewLoader::HomeScreen);
}

void TestRootReactions::deviceValueMovesTheScreen_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<int>("fromScreen");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("shown");
    QTest::newRow("wizard active") << "PEQ" << int(ViewLoader::PEQ) << kWizardState
                                   << "NuqPromptRepeat" << int(ViewLoader::Wizard);
    QTest::newRow("device busy") << "PEQ" << int(ViewLoader::PEQ) << kConfigStatus
                                 << "Reconfig:InProgress" << int(ViewLoader::HomeScreen);
    QTest::newRow("preset recalled") << "PEQ" << int(ViewLoader::PEQ) << kCurrentPreset
                                     << "Preset 1" << int(ViewLoader::HomeScreen);
    // The preset screen recalls presets itself: it stays.
    QTest::newRow("preset recalled on presets")
        << "Presets" << int(ViewLoader::Presets) << kCurrentPreset << "Preset 2"
        << int(ViewLoader::Presets);
    // A wizard is not left for a preset recalled meanwhile.
    QTest::newRow("preset recalled during a wizard")
        << "Wizard" << int(ViewLoader::Wizard) << kCurrentPreset << "Preset 3"
        << int(ViewLoader::Wizard);
}

void TestRootReactions::deviceValueMovesTheScreen()
{
    QFETCH(QString, from);
    QFETCH(int, fromScreen);
    QFETCH(QString, path);
    QFETCH(QString, value);
    QFETCH(int, shown);
    goTo(from, ViewLoader::Screen(fromScreen));
    setOnDevice(path, value);
    QTRY_COMPARE(valueShown(path), value);
    ShellFixture::settle();
    QTRY_VERIFY(m_shell.loader()->isActive(ViewLoader::Screen(shown)));
}

void TestRootReactions::lostConnectionReturnsToDiscovery_data()
{
    QTest::addColumn<bool>("networkGone");
    QTest::newRow("device drops the connection") << false;
    QTest::newRow("network gone") << true;
}

// The loss clears the application's own wizard state; nothing is written to the device.
void TestRootReactions::lostConnectionReturnsToDiscovery()
{
    QFETCH(bool, networkGone);
    goTo(QStringLiteral("PEQ"), ViewLoader::PEQ);
    const int linesBefore = m_device.received().size();
    if (networkGone)
        QVERIFY(m_network.setFarUp(false));
    else {
        QTest::ignoreMessage(QtWarningMsg,
                             "Error code: 1, Error String: The remote host closed the connection");
        QCOMPARE(m_device.command(QStringLiteral("abort")), QStringLiteral("ok"));
    }
    QTRY_VERIFY_WITH_TIMEOUT(m_shell.loader()->isActive(ViewLoader::Discovery),
                             qx8test::timeoutMs());
    QVERIFY(m_network.setFarUp(true));
    QTRY_VERIFY(!TCPAdaptor::instance()->isConnected());
    const QStringList sent = m_device.received().mid(linesBefore);
    QCOMPARE(sent.filter(QRegularExpression(QStringLiteral("^set"))), QStringList());
}

// After a lost connection the application forgets the device's wizard state, so a device that is
// still in the same wizard step opens the wizard screen again.
void TestRootReactions::reconnectionReopensTheRunningWizard()
{
    setOnDevice(kWizardState, QStringLiteral("PromptNuqDone"));
    QTRY_VERIFY(m_shell.loader()->isActive(ViewLoader::Wizard));
    QTest::ignoreMessage(QtWarningMsg,
                         "Error code: 1, Error String: The remote host closed the connection");
    QCOMPARE(m_device.command(QStringLiteral("abort")), QStringLiteral("ok"));
    QTRY_VERIFY_WITH_TIMEOUT(m_shell.loader()->isActive(ViewLoader::Discovery),
                             qx8test::timeoutMs());
    m_shell.guiSignal(QStringLiteral("ConnectDevice"), m_device.address() + ':' + kPassword);
    QTRY_VERIFY_WITH_TIMEOUT(m_shell.loader()->isActive(ViewLoader::Wizard), qx8test::timeoutMs());
}

int main(int argc, char** argv)
{
    qx8test::enterPrivateNetwork();
    QApplication application(argc, argv);
    TestRootReactions test;
    return qx8test::exec(&test, argc, argv);
}

#include "tst_rootreactions.moc"
