// The configuration model against VirtualQX8: the device's configuration read at login, an edit
// applied and confirmed, an apply the device leaves unanswered or loses the connection in, a
// discard after an apply, and configuration mode left by both. The busy flag ends with every
// apply.
#include "appbusyflag.h"
#include "configresources.h"
#include "homescreenmodel.h"
#include "jsoncommandchannel.h"
#include "linkedprocessor.h"
#include "qx8settings.h"
#include "qx8settingsini.h"
#include "qx8settingsstore.h"
#include "settingskeys.h"
#include "testharness.h"
#include "testmain.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QSignalSpy>
#include <QTest>
#include <memory>

namespace {

QJsonObject builderConfigOf(const QJsonObject& config)
{
    return config.value(QLatin1String(".builderConfig")).toObject();
}

// The items of one column of a builder configuration, as JSON text.
QString column(const QJsonObject& builderConfig, int index)
{
    const QJsonArray columns = builderConfig.value(QLatin1String("Columns")).toArray();
    return QString::fromUtf8(
        QJsonDocument(columns.at(index).toArray()).toJson(QJsonDocument::Compact));
}

const QString kLinkedGeqs = QStringLiteral("[\"Column_In_Insert1\",[\"In_GEQ\",2],[\"In_GEQ\",1]]");

} // namespace

class TestConfigApply : public QObject
{
    Q_OBJECT

private:
    // A model, then a device it logs in to (it reads the device's configuration at the login).
    void startLoggedIn()
    {
        m_model = std::make_unique<HomeScreenModel>();
        m_model->loadDefaultConfig();
        m_model->setApplyTimeout(500);
        m_device = std::make_unique<LinkedProcessor>();
        QVERIFY(m_device->start());
        QTRY_VERIFY(m_model->ready());
        QTRY_COMPARE(JsonCommandChannel::instance()->pendingCount(), 0);
    }
    void command(const QString& line)
    {
        QVERIFY2(m_device->device().command(line).startsWith(QLatin1String("ok")),
                 qPrintable(line));
    }
    // What the device answers to GetBuilderConfig now.
    QJsonObject deviceBuilderConfig()
    {
        QJsonObject answer;
        JsonCommandChannel* channel = JsonCommandChannel::instance();
        QSignalSpy answered(channel, &JsonCommandChannel::answered);
        const QString id =
            channel->send(QStringLiteral("GetBuilderConfig"), QStringLiteral("test"), {});
        if (!answered.wait(qx8test::timeoutMs()) || answered.at(0).at(0).toString() != id)
            return answer;
        return answered.at(0).at(1).toJsonObject();
    }

    std::unique_ptr<HomeScreenModel> m_model;
    std::unique_ptr<LinkedProcessor> m_device;

private Q_SLOTS:
    void initTestCase() { QVERIFY(ConfigResources::load()); }
    void cleanup()
    {
        if (m_device)
            m_device->stop();
        m_device.reset();
        m_model.reset();
        QVERIFY(!AppBusyFlag::isBusy());
    }

    // An edit reloads the home screen once; the apply is one reconfiguration line, busy until
    // the device confirms; the device keeps the configuration and the model measures later
    // edits against it; a discard returns to it.
    void editApplyDiscard()
    {
        startLoggedIn();
        QCOMPARE(m_model->workingConfig(), m_model->referenceConfig());
        QSignalSpy ready(m_model.get(), &HomeScreenModel::readyChanged);
        m_model->link(3, 0);
        QCOMPARE(ready.size(), 2);
        QCOMPARE(ready.at(1).at(0).toBool(), true);
        QCOMPARE(column(builderConfigOf(m_model->workingConfig()), 3), kLinkedGeqs);
        QVERIFY(m_model->enCfgApply());

        QSignalSpy confirmed(m_model.get(), &HomeScreenModel::reconfigResponseReceived);
        const int before = m_device->received().size();
        m_model->applyAllChanges();
        QVERIFY(AppBusyFlag::isBusy());
        QVERIFY(!m_model->enCfgApply());
        QTRY_COMPARE(confirmed.size(), 1);
        QVERIFY(!AppBusyFlag::isBusy());
        const QString line = m_device->received().value(before);
        QVERIFY2(line.startsWith(QLatin1String("{\"id\":\"builder config reconfig\",\"method\":"
                                               "\"Reconfig\",\"params\":[\"Builder\",{\"Columns\":"
                                               "[[\"Column_InputRouter\",[\"InputRouter\",")),
                 qPrintable(line.left(200)));
        QCOMPARE(m_model->referenceConfig(), m_model->workingConfig());
        QCOMPARE(column(deviceBuilderConfig(), 3), kLinkedGeqs);

        m_model->unlink(3, 0);
        QVERIFY(m_model->enCfgApply());
        m_model->discardAllChanges();
        QCOMPARE(column(builderConfigOf(m_model->workingConfig()), 3), kLinkedGeqs);
        QVERIFY(!m_model->enCfgApply());
    }

    // Without the device's confirmation the changes stay unapplied and the application is free.
    void applyEndsWithoutTheDevice_data()
    {
        QTest::addColumn<bool>("connectionLost");
        QTest::newRow("no answer") << false;
        QTest::newRow("connection lost") << true;
    }
    void applyEndsWithoutTheDevice()
    {
        QFETCH(bool, connectionLost);
        startLoggedIn();
        command(QStringLiteral("fault reconfig-silent on"));
        m_model->setOutputName(0, QStringLiteral("Main Left"));
        QSignalSpy failed(m_model.get(), &HomeScreenModel::applyFailed);
        m_model->applyAllChanges();
        QVERIFY(AppBusyFlag::isBusy());
        qx8test::expectWarnings("Reconfiguration failed");
        if (connectionLost) {
            qx8test::expectWarnings("Error code: 1, Error String: The remote host closed");
            command(QStringLiteral("close"));
        }
        QTRY_COMPARE(failed.size(), 1);
        QVERIFY(failed.at(0).at(0).toString().contains(
            connectionLost ? QLatin1String("connection") : QLatin1String("did not confirm")));
        QVERIFY(!AppBusyFlag::isBusy());
        QVERIFY(m_model->enCfgApply());
        QVERIFY(m_model->referenceConfig() != m_model->workingConfig());
    }

    // Apply and discard leave configuration mode, with changes or without: the settings file
    // says so at once.
    void applyAndDiscardLeaveConfigurationMode_data()
    {
        QTest::addColumn<bool>("apply"); // or discard
        QTest::addColumn<bool>("edited");
        QTest::newRow("apply an edit") << true << true;
        QTest::newRow("apply nothing") << true << false;
        QTest::newRow("discard an edit") << false << true;
        QTest::newRow("discard nothing") << false << false;
    }
    void applyAndDiscardLeaveConfigurationMode()
    {
        QFETCH(bool, apply);
        QFETCH(bool, edited);
        startLoggedIn();
        const QString key = QLatin1String(settingskeys::kIsConfigMode);
        const auto saved = [&key] {
            const QString store = settingsstore::fileName(settingskeys::kApplicationStore);
            return settingsini::parse(qx8test::fileContent(store)).values.value(key);
        };
        QX8Settings().setValue(key, QStringLiteral("true"));
        QCOMPARE(saved(), QVariant("true"));
        if (edited)
            m_model->setOutputName(0, QStringLiteral("Main Left"));
        QCOMPARE(m_model->enCfgApply(), edited);
        QSignalSpy confirmed(m_model.get(), &HomeScreenModel::reconfigResponseReceived);
        if (apply)
            m_model->applyAllChanges();
        else
            m_model->discardAllChanges();
        QCOMPARE(saved(), QVariant("false"));
        if (apply && edited)
            QTRY_COMPARE(confirmed.size(), 1);
    }

    // A configuration that does not build is never sent.
    void refusesAConfigurationThatDoesNotBuild()
    {
        startLoggedIn();
        Reconfigurator reconfigurator;
        QSignalSpy failed(&reconfigurator, &Reconfigurator::applyFailed);
        const QJsonObject config{
            {QStringLiteral(".builderConfig"), QJsonObject{{"Format", "BuilderConfig"}}}};
        qx8test::expectWarnings("Reconfiguration failed: .*Device must be Kalo480");
        const int before = m_device->received().size();
        QVERIFY(!reconfigurator.applyPendingChanges(config));
        QCOMPARE(failed.size(), 1);
        QVERIFY(m_device->settle());
        QCOMPARE(m_device->received().size(), before + 1); // the probe alone
        QVERIFY(!AppBusyFlag::isBusy());
    }
};

QX8_TEST_GUILESS_MAIN(TestConfigApply)
#include "tst_configapply.moc"
