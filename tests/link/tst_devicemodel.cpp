// The device model: how its file is read and refused, and whether the shipped model agrees
// with the nudge-step table, the range table and the screens' binding table.
#include "consolelinebuilder.h"
#include "devicemodel.h"
#include "nudgesteps.h"
#include "testharness.h"
#include "testmain.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

namespace {

// The path below the root that a control bound to `object` and `variable` addresses.
QString boundPath(const QString& object, const QString& variable)
{
    QString path = ConsoleLineBuilder::pathBody(object, variable);
    return path.mid(2).chopped(1);
}

} // namespace

class TestDeviceModel : public QObject
{
    Q_OBJECT

private:
    DeviceModel m_shipped;

private Q_SLOTS:
    void initTestCase()
    {
        QString error;
        const std::optional<DeviceModel> model =
            DeviceModel::load(qx8test::sourceDir() + "/simulator/devicemodel.json", &error);
        QVERIFY2(model, qPrintable(error));
        m_shipped = *model;
    }

    void readsPatternsDefaultsAndBindings()
    {
        QString error;
        const std::optional<DeviceModel> model = DeviceModel::parse(R"({
            "nodeVariables": [{"path": "Node\\SV\\Name_{1..3}", "type": "text",
                               "default": "Slot {n}"}],
            "classes": {"EQ": {"nudgeClass": "EQ", "stateVariables": [
                {"name": "Band_{1..2}_{Gain|Q}", "type": "number", "min": -20, "max": 20,
                 "unit": "dB", "default": [1, 2, 3, 4], "nudge": "Gain"},
                {"name": "On", "type": "switch", "default": 1}]}},
            "processingObjects": [{"name": "HighPEQ", "class": "EQ"},
                                  {"name": "LowPEQ", "class": "EQ", "listed": false},
                                  {"name": "PEQ{1..2}", "class": "EQ", "configured": true}],
            "screens": [{"page": "QX8PEQ.qml", "selectorKey": "Data/PEQType", "bindings": [
                {"objects": {"High": "HighPEQ", "Low": "LowPEQ"}, "variables": ["On"]},
                {"objects": ["NPO"], "variables": ["Node\\SV\\Name_1"]},
                {"objects": ["PEQ{1..2}"], "variables": ["On"]}]}]})",
                                                                    &error);
        QVERIFY2(model, qPrintable(error));
        QCOMPARE(model->variables().size(), 3 + 4 * 5);
        const DeviceModel::ProcessingObject& configured = model->processingObjects().at(3);
        QCOMPARE(configured.name, QString("PEQ2"));
        QVERIFY(configured.configured && !configured.listed);
        QCOMPARE(model->variable("Node\\SV\\Name_3")->defaultText, QString("Slot 3"));
        const DeviceModel::Variable* q2 = model->variable("Preset\\LowPEQ\\SV\\Band_2_Q");
        QVERIFY(q2);
        QCOMPARE(q2->defaultNumber, 4.0);
        QCOMPARE(q2->nudgeObjectClass + ':' + q2->nudgeVariableClass, QString("EQ:Gain"));
        const DeviceModel::Variable* on = model->variable("Preset\\HighPEQ\\SV\\On");
        QCOMPARE(on->minimumText + on->maximumText, QString("OffOn"));
        QVERIFY(!model->processingObjects().at(1).listed);
        const DeviceModel::Screen* peq = model->screen("QX8PEQ.qml");
        QVERIFY(peq);
        QCOMPARE(peq->selectors(), QStringList({"High", "Low"}));
        QVERIFY(peq->binds("Low", "LowPEQ", "On") && !peq->binds("High", "LowPEQ", "On"));
        QVERIFY(peq->binds("High", "NPO", "Node\\SV\\Name_1"));
        QVERIFY(peq->binds("Low", "PEQ2", "On"));
    }

    void refusesInconsistentEntries_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<QString>("error");
        const auto node = [](const char* name, const char* entry, const char* error) {
            QTest::newRow(name) << QByteArray(R"({"nodeVariables": [{"path": "Node\\SV\\X", )") +
                                       entry + "}]}"
                                << QString(error);
        };
        node("unknown type", R"("type": "colour")", "unknown type");
        node("empty range", R"("type": "number", "min": 5, "max": 5)", "min must be below max");
        node("default outside", R"("type": "number", "min": 0, "max": 1, "default": 2)",
             "default outside the range");
        node("default not an entry", R"("type": "enumeration", "entries": ["A"], "default": "B")",
             "one of the entries");
        node("default text a number", R"("type": "text", "default": 3)", "must be a text");
        QTest::newRow("list of the wrong length")
            << QByteArray(R"({"nodeVariables": [{"path": "Node\\SV\\X_{1..3}", "type": "number",
                             "min": 0, "max": 9, "default": [1, 2]}]})")
            << "one value per name";
        QTest::newRow("repeated path")
            << QByteArray(R"({"nodeVariables": [{"path": "Node\\X", "type": "text"},
                                                {"path": "Node\\X", "type": "text"}]})")
            << "repeated path";
        QTest::newRow("unknown class")
            << QByteArray(R"({"processingObjects": [{"name": "A", "class": "B"}]})")
            << "unknown class";
        QTest::newRow("selector without key")
            << QByteArray(R"({"screens": [{"page": "P.qml", "bindings": [
                             {"objects": {"High": "A"}, "variables": ["X"]}]}]})")
            << "need a selectorKey";
        QTest::newRow("not JSON") << QByteArray("{") << "";
    }
    void refusesInconsistentEntries()
    {
        QFETCH(QByteArray, json);
        QFETCH(QString, error);
        QString message;
        QVERIFY(!DeviceModel::parse(json, &message));
        QVERIFY2(!message.isEmpty() && message.contains(error), qPrintable(message));
    }

    // Every variable the model gives nudge classes has a step for each of its ranges, and every
    // entry of the step table belongs to a variable of the model.
    void nudgeClassesMatchTheStepTable()
    {
        QFile file(qx8test::sourceDir() + "/xml/RangeCheck.json");
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QJsonObject ranges = QJsonDocument::fromJson(file.readAll()).object();
        QSet<QString> used;
        for (const DeviceModel::Variable& variable : m_shipped.variables()) {
            if (variable.nudgeVariableClass.isEmpty())
                continue;
            const QString prefix =
                variable.nudgeObjectClass + ':' + variable.nudgeVariableClass + ':';
            const QJsonArray list = ranges.value(variable.nudgeObjectClass)
                                        .toObject()
                                        .value(variable.nudgeVariableClass)
                                        .toArray();
            QStringList keys{prefix + "-1"};
            if (!list.isEmpty()) {
                keys.clear();
                for (const QJsonValue& range : list)
                    keys << prefix + range.toObject().value("range").toString();
            }
            for (const QString& key : keys) {
                QVERIFY2(NudgeSteps::step(key) > 0, qPrintable(variable.path + " " + key));
                used.insert(key);
            }
        }
        for (const QString& key : NudgeSteps::keys())
            QVERIFY2(used.contains(key), qPrintable(key + " binds no variable of the model"));
    }

    // Every name in the binding table is a variable of the model: a typo fails here.
    void bindingsNameModelVariables_data()
    {
        QTest::addColumn<QString>("page");
        for (const DeviceModel::Screen& screen : m_shipped.screens())
            QTest::newRow(qPrintable(screen.page)) << screen.page;
    }
    void bindingsNameModelVariables()
    {
        QFETCH(QString, page);
        for (const DeviceModel::Binding& binding : m_shipped.screen(page)->bindings) {
            QVERIFY2(m_shipped.variable(boundPath(binding.object, binding.variable)),
                     qPrintable(binding.object + " " + binding.variable));
        }
    }
};

QX8_TEST_GUILESS_MAIN(TestDeviceModel)
#include "tst_devicemodel.moc"
