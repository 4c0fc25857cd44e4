// The device model: how its file is read and refused, and whether the shipped model agrees
// with the nudge-step table, the range table and the screens' binding table.
#include "consolelinebuilder.h"
#include "devicemodel.h"
#include "nudgesteps.h"
#include "testharness.h"
#include "testmain.h"
#include "valueresolution.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>
#include <cmath>

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
            "stepTables": {"Hz": [{"below": 1000, "step": 1}, {"step": 10}]},
            "unitSteps": {"dB": 0.1, "Hz": "Hz"},
            "nodeVariables": [{"path": "Node\\SV\\Name_{1..3}", "type": "text",
                               "default": "Slot {n}"},
                              {"path": "Node\\SV\\Tone", "type": "number", "min": 20,
                               "max": 20000, "unit": "Hz", "default": 440},
                              {"path": "Node\\SV\\Turns", "type": "number", "min": 0,
                               "max": 9, "unit": "dB", "step": 0.5}],
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
        QCOMPARE(model->variables().size(), 5 + 4 * 5);
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
        // Steps: a switch's, the unit's (a table by name), and the variable's own over its unit's.
        auto steps = [&](const char* path) {
            QStringList listed;
            for (const DeviceModel::Step& step : model->variable(path)->steps)
                listed << QString::number(step.below) + ":" + QString::number(step.size);
            return listed.join(' ');
        };
        QCOMPARE(steps("Preset\\HighPEQ\\SV\\On"), QString("inf:1"));
        QCOMPARE(steps("Preset\\LowPEQ\\SV\\Band_2_Q"), QString("inf:0.1"));
        QCOMPARE(steps("Node\\SV\\Tone"), QString("1000:1 inf:10"));
        QCOMPARE(steps("Node\\SV\\Turns"), QString("inf:0.5"));
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
        node("number without a step", R"("type": "number", "min": 0, "max": 1, "unit": "V")",
             "needs a step");
        node("step of nothing", R"("type": "number", "min": 0, "max": 1, "step": 0)",
             "needs a step");
        node("unknown step table", R"("type": "number", "min": 0, "max": 1, "step": "Hz")",
             "needs a step");
        const auto table = [](const char* name, const char* entries) {
            QTest::newRow(name) << QByteArray(R"({"stepTables": {"T": )") + entries + "}}"
                                << QString("step table");
        };
        table("empty step table", "[]");
        table("step table closed at the top", R"([{"below": 10, "step": 1}])");
        table("step table open early", R"([{"step": 1}, {"step": 2}])");
        table("step table descending",
              R"([{"below": 10, "step": 1}, {"below": 5, "step": 2}, {"step": 3}])");
        table("negative step", R"([{"step": -1}])");
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

    // A nudge steps on its variable's resolution in every range: a step finer than the resolution
    // would change the value without changing what the read-out shows.
    void nudgeStepsAreOnTheResolution()
    {
        QFile file(qx8test::sourceDir() + "/xml/RangeCheck.json");
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QJsonObject ranges = QJsonDocument::fromJson(file.readAll()).object();
        for (const DeviceModel::Variable& variable : m_shipped.variables()) {
            if (variable.nudgeVariableClass.isEmpty())
                continue;
            const QString prefix =
                variable.nudgeObjectClass + ':' + variable.nudgeVariableClass + ':';
            QList<QPair<QString, double>> keysAndLows{{prefix + "-1", variable.minimum}};
            const QJsonArray list = ranges.value(variable.nudgeObjectClass)
                                        .toObject()
                                        .value(variable.nudgeVariableClass)
                                        .toArray();
            if (!list.isEmpty())
                keysAndLows.clear();
            for (const QJsonValue& range : list) {
                keysAndLows.append({prefix + range.toObject().value("range").toString(),
                                    range.toObject().value("low").toDouble()});
            }
            const ValueResolution resolution(variable.steps);
            for (const auto& [key, low] : keysAndLows) {
                const double steps = NudgeSteps::step(key) / resolution.stepAt(low);
                QVERIFY2(qAbs(steps - std::round(steps)) < 1e-4 && steps >= 1,
                         qPrintable(variable.path + " " + key + ": " + QString::number(steps)));
            }
        }
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
