// The configuration model's QML entry points called in random order with random arguments, in
// and out of range (built with AddressSanitizer and UndefinedBehaviorSanitizer): nothing crashes,
// a call that is refused or only asks leaves the configuration as it was, and every change is
// announced and builds.
#include "configresources.h"
#include "homescreenmodel.h"
#include "testmain.h"

#include <QSignalSpy>
#include <QTest>

#include <climits>
#include <functional>
#include <random>

class TestConfigModelCalls : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QVERIFY(ConfigResources::load()); }

    void randomCalls_data()
    {
        QTest::addColumn<unsigned>("seed");
        for (unsigned seed = 1; seed <= 4; ++seed)
            QTest::newRow(qPrintable(QStringLiteral("seed %1").arg(seed))) << seed * 104729u;
    }
    void randomCalls()
    {
        QFETCH(unsigned, seed);
        std::mt19937 random(seed);
        // Mostly near the valid ranges, now and then far outside them.
        const auto number = [&random] {
            static const int extremes[] = {INT_MIN, -1000, 1000, INT_MAX};
            if (random() % 20 == 0)
                return extremes[random() % 4];
            return int(random() % 20) - 3;
        };
        const QStringList texts{QStringLiteral("Stereo 2Way"),
                                QStringLiteral("Mono Full Range"),
                                QStringLiteral("LCR 2Way"),
                                QStringLiteral("no such type"),
                                QString(),
                                QStringLiteral("Lobby \"Left\"")};
        const auto text = [&] { return texts.at(int(random() % unsigned(texts.size()))); };

        HomeScreenModel model;
        model.loadDefaultConfig();
        model.refreshConfig();
        QSignalSpy announced(&model, &HomeScreenModel::readyChanged);
        QSignalSpy sourcesChanged(&model, &HomeScreenModel::inputSourceNamesChanged);
        const std::function<void()> calls[] = {
            [&] { model.link(number(), number()); },
            [&] { model.unlink(number(), number()); },
            [&] { model.changePO(number(), number(), number()); },
            [&] { model.setMixerConfig(number(), number(), number()); },
            [&] { model.setCrossoverConfig(number(), text()); },
            [&] { model.setOutputName(number(), text()); },
            [&] { model.inputRouterSetSource(number(), number()); },
            [&] { model.setRouterConfig(number()); },
            [&] { model.linkTest(number(), number(), number()); },
            [&] { model.poListCnt(number(), number()); },
            [&] { model.getPoName(number()); },
            [&] { model.cfgXoverListCnt(number()); },
            [&] { model.getCfgXoverInfo(number()); },
            [&] { model.getMixerCfgIdx(number(), number()); },
            [&] { model.getPoCfgIdx(number(), number()); },
            [&] { model.cellInfo(QStringLiteral("out"), number(), number()); },
            [&] { model.getInputRouterSourceName(number()); },
            [&] { model.inputRouterSwapOptionsForSlotNum(number()); },
            [&] { model.discardAllChanges(); },
        };
        int changes = 0;
        for (int step = 0; step < 2000; ++step) {
            const QJsonObject before = model.workingConfig();
            announced.clear();
            sourcesChanged.clear();
            calls[random() % std::size(calls)]();
            const bool changed = model.workingConfig() != before;
            changes += changed;
            QCOMPARE(changed, !announced.isEmpty() || !sourcesChanged.isEmpty());
            if (!changed)
                continue;
            QVERIFY(model.ready());
            QJsonObject built;
            QString error;
            Reconfigurator builder;
            QVERIFY2(builder.buildConfig(
                         model.workingConfig().value(QLatin1String(".builderConfig")).toObject(),
                         built, &error),
                     qPrintable(error));
        }
        QVERIFY(changes > 50);
    }
};

QX8_TEST_GUILESS_MAIN(TestConfigModelCalls)
#include "tst_configmodelcalls.moc"
