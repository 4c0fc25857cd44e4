// Scale and parse rules of the bound controls on real values, edge cases included: every
// conversion stays inside its tables and gives finite numbers.
#include "fader.h"
#include "nudgesteps.h"
#include "piecewisescale.h"
#include "qx8button.h"
#include "qx8meter.h"
#include "qx8slider.h"
#include "qx8textfield.h"

#include <QTest>
#include <cmath>

using Doubles = QList<double>;
Q_DECLARE_METATYPE(std::optional<double>)

class TestControlScales : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void ratioTable()
    {
        QCOMPARE(QX8Slider::ratioTableEntry(0), 0.0f);
        QCOMPARE(QString::number(QX8Slider::ratioTableEntry(18), 'f', 4), QString("2.6263"));
        QCOMPARE(QString::number(QX8Slider::ratioTableEntry(36), 'f', 4), QString("39.3939"));
        QCOMPARE(QX8Slider::ratioTableEntry(37), 100.0f);
        for (int i = 1; i < QX8Slider::kRatioSteps; ++i)
            QVERIFY(QX8Slider::ratioTableEntry(i) > QX8Slider::ratioTableEntry(i - 1));
    }

    void sliderReply_data()
    {
        QTest::addColumn<bool>("ratio");
        QTest::addColumn<QString>("valueType");
        QTest::addColumn<QString>("text");
        QTest::addColumn<float>("position"); // NaN: no position
        QTest::newRow("ratio 2.5%") << true << "%"
                                    << "2.5%" << 18 / 37.0f * 100;
        QTest::newRow("ratio 100%") << true << "%"
                                    << "100%" << 100.0f;
        QTest::newRow("ratio above 100%") << true << "%"
                                          << "101%" << 38 / 37.0f * 100;
        QTest::newRow("percent") << false << "%"
                                 << "45.5%" << 45.5f;
        QTest::newRow("percent without sign") << false << "%"
                                              << "50" << 50.0f;
        QTest::newRow("kHz") << false << ""
                             << "2.5kHz" << 2500.0f;
        QTest::newRow("KHZ") << false << ""
                             << "2.5KHZ" << 2500.0f;
        QTest::newRow("dB") << false << ""
                            << "-3.5DB" << -3.5f;
        QTest::newRow("ratio text") << false << ""
                                    << "4.0:1" << 4.0f;
        QTest::newRow("Inf") << false << ""
                             << "Inf" << 70.0f;
        QTest::newRow("Off inside") << false << ""
                                    << "xOffx" << 0.0f;
        QTest::newRow("no number") << false << ""
                                   << "abc" << 0.0f;
        QTest::newRow("empty") << false << ""
                               << "" << std::nanf("");
    }
    void sliderReply()
    {
        QFETCH(bool, ratio);
        QFETCH(QString, valueType);
        QFETCH(QString, text);
        QFETCH(float, position);
        QX8Slider slider;
        slider.setRatioSlider(ratio);
        const std::optional<float> shown = slider.positionOfReply(text, valueType);
        QCOMPARE(shown.has_value(), !std::isnan(position));
        if (shown)
            QVERIFY2(std::fabs(*shown - position) < 1e-4, qPrintable(QString::number(*shown)));
    }

    void ratioWrite_data()
    {
        QTest::addColumn<float>("position");
        QTest::addColumn<QString>("text");
        QTest::newRow("mid") << 50.0f << "2.62626";
        QTest::newRow("end") << 100.0f << "100";
        QTest::newRow("past the end") << 104.0f << "100";
        QTest::newRow("far past the end") << 1000.0f << "100";
        QTest::newRow("below the start") << -5.0f << "0";
        QTest::newRow("start") << 0.0f << "0";
    }
    void ratioWrite()
    {
        QFETCH(float, position);
        QFETCH(QString, text);
        QX8Slider slider;
        slider.setRatioSlider(true);
        QCOMPARE(slider.valueTextForPosition(position), text);
    }

    void faderScale_data()
    {
        QTest::addColumn<Doubles>("boundaries");
        QTest::addColumn<Doubles>("lengths");
        QTest::addColumn<double>("minimum");
        QTest::addColumn<double>("maximum");
        QTest::addColumn<double>("position");
        QTest::addColumn<std::optional<double>>("written");
        QTest::addColumn<double>("reply");
        QTest::addColumn<std::optional<double>>("shown");
        const Doubles b{-60, -20, 0, 10};
        const Doubles l{25, 50, 25};
        const std::optional<double> none;
        QTest::newRow("lists mid")
            << b << l << 0.0 << 0.0 << 50.0 << std::optional(-10.0) << -10.0 << std::optional(50.0);
        QTest::newRow("lists end")
            << b << l << 0.0 << 0.0 << 100.0 << std::optional(10.0) << 10.0 << std::optional(100.0);
        QTest::newRow("below first boundary")
            << b << l << 0.0 << 0.0 << 0.0 << std::optional(-60.0) << -70.0 << std::optional(-70.0);
        // Written as the inverse of what is shown, not the percent itself.
        QTest::newRow("linear") << Doubles{} << Doubles{} << -80.0 << 10.0 << 50.0
                                << std::optional(-35.0) << -35.0 << std::optional(50.0);
        QTest::newRow("linear without range")
            << Doubles{} << Doubles{} << 0.0 << 0.0 << 50.0 << none << -35.0 << none;
        QTest::newRow("equal boundaries")
            << Doubles{-60, 0, 0} << Doubles{50, 50} << 0.0 << 0.0 << 75.0 << std::optional(0.0)
            << 5.0 << std::optional(100.0);
        QTest::newRow("zero length") << Doubles{-60, -20, 0} << Doubles{0, 100} << 0.0 << 0.0 << 0.0
                                     << std::optional(-20.0) << -20.0 << std::optional(0.0);
        QTest::newRow("lengths longer than boundaries")
            << Doubles{-60, 0} << Doubles{40, 40, 20} << 0.0 << 0.0 << 90.0 << std::optional(0.0)
            << -30.0 << std::optional(20.0);
        QTest::newRow("one boundary, linear")
            << Doubles{-60} << Doubles{100} << -60.0 << 0.0 << 50.0 << std::optional(-30.0) << -30.0
            << std::optional(50.0);
    }
    void faderScale()
    {
        QFETCH(Doubles, boundaries);
        QFETCH(Doubles, lengths);
        QFETCH(double, minimum);
        QFETCH(double, maximum);
        QFETCH(double, position);
        QFETCH(std::optional<double>, written);
        QFETCH(double, reply);
        QFETCH(std::optional<double>, shown);
        Fader fader;
        fader.setRangeBounaryValues(boundaries);
        fader.setRangeLengthsInPercentage(lengths);
        fader.setMinimum(minimum);
        fader.setMaximum(maximum);
        QCOMPARE(fader.valueForPosition(position), written);
        QCOMPARE(fader.positionForValue(reply), shown);
    }

    // Any position on the travel is written as the value whose reply shows that position.
    void faderWriteInvertsDisplay()
    {
        Fader fader;
        fader.setRangeBounaryValues({-80, -40, -10, 0, 10});
        fader.setRangeLengthsInPercentage({10, 30, 40, 20});
        for (int p = 0; p <= 100; ++p) {
            const std::optional<double> value = fader.valueForPosition(p);
            QVERIFY(value && std::isfinite(*value));
            const std::optional<double> back = fader.positionForValue(*value);
            QVERIFY(back);
            QVERIFY2(std::fabs(*back - p) < 1e-9, qPrintable(QString::number(p)));
        }
    }

    void meterText_data()
    {
        QTest::addColumn<QString>("valueType");
        QTest::addColumn<Doubles>("boundaries");
        QTest::addColumn<QString>("reply");
        QTest::addColumn<QString>("shown");
        const Doubles b{-60, -40, -20, 0};
        QTest::newRow("percent") << "%" << b << "45.5%"
                                 << "45.5";
        QTest::newRow("percent given dB") << "%" << b << "-12dB"
                                          << "-12";
        QTest::newRow("scale -30") << "" << b << "-30dB"
                                   << "35";
        QTest::newRow("scale 0") << "" << b << "0dB"
                                 << "100";
        QTest::newRow("scale above") << "" << b << "6dB"
                                     << "115";
        QTest::newRow("below first boundary") << "" << b << "-65dB"
                                              << "-65";
        QTest::newRow("below threshold") << "" << b << "-75dB"
                                         << "0";
        QTest::newRow("no scale") << "" << Doubles{} << "-30dB"
                                  << "-30";
        QTest::newRow("equal boundaries") << "" << Doubles{-60, -60, 0} << "-60dB"
                                          << "20";
    }
    void meterText()
    {
        QFETCH(QString, valueType);
        QFETCH(Doubles, boundaries);
        QFETCH(QString, reply);
        QFETCH(QString, shown);
        QX8Meter meter;
        meter.setValueType(valueType);
        meter.setRangeBounaryValues(boundaries);
        meter.setRangeLengthsInPercentage({20, 30, 50});
        meter.setCppSignalThreshold(-70);
        QCOMPARE(meter.shownText(reply), shown);
    }

    void textFieldUnit_data()
    {
        QTest::addColumn<QString>("unit");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("part");
        const QString delay = "10.0ms/32.8ft/10.0m";
        QTest::newRow("ms") << "ms" << delay << "10.0ms";
        QTest::newRow("ft") << "ft" << delay << "32.8ft";
        QTest::newRow("m: last letter only") << "m" << delay << "10.0m";
        QTest::newRow("no unit") << "" << delay << "10.0ms";
        QTest::newRow("unit absent") << "s"
                                     << "10.0ms/32.8ft"
                                     << "10.0ms";
        QTest::newRow("no match") << "km" << delay << QString();
    }
    void textFieldUnit()
    {
        QFETCH(QString, unit);
        QFETCH(QString, value);
        QFETCH(QString, part);
        QCOMPARE(QX8TextField::partInUnit(value, unit).value_or(QString()), part);
    }

    void nudgeReply_data()
    {
        QTest::addColumn<QString>("object");
        QTest::addColumn<QString>("variable");
        QTest::addColumn<QString>("text");
        QTest::addColumn<float>("value"); // NaN: no change
        QTest::newRow("deg") << "Crossover"
                             << "Phase"
                             << "45 deg" << 45.0f;
        QTest::newRow("dB/s") << "AGC"
                              << "Rate"
                              << "3dB/s" << 3.0f;
        QTest::newRow("percent") << "AGC"
                                 << "Mix"
                                 << "40%" << 40.0f;
        QTest::newRow("kHz") << "RoomEQ"
                             << "Band_1_Frequency"
                             << "2.00kHz" << 2000.0f;
        QTest::newRow("Hz") << "RoomEQ"
                            << "Band_1_Frequency"
                            << "440HZ" << 440.0f;
        QTest::newRow("dB") << "RoomEQ"
                            << "Band_1_Gain"
                            << "-3.5dB" << -3.5f;
        QTest::newRow("compressor ratio") << "Compressor"
                                          << "Ratio"
                                          << "4.0:1" << 4.0f;
        QTest::newRow("compressor Inf") << "Compressor"
                                        << "Ratio"
                                        << "Inf:1" << std::numeric_limits<float>::infinity();
        QTest::newRow("LP out") << "Crossover"
                                << "Band_1_LPFrequency"
                                << "Out" << 20100.0f;
        QTest::newRow("HP out") << "Crossover"
                                << "Band_1_HPFrequency"
                                << "Out" << 15.9f;
        QTest::newRow("other out") << "Crossover"
                                   << "Band_1_Frequency"
                                   << "Out" << std::nanf("");
        QTest::newRow("gate ratio") << "Gate"
                                    << "Ratio"
                                    << "1:4.0" << 4.0f;
        QTest::newRow("delay") << "Delay1"
                               << "Amount"
                               << "10.0ms/x" << 10.0f;
        QTest::newRow("delay without ms") << "Delay1"
                                          << "Amount"
                                          << "10.0" << 0.0f;
        QTest::newRow("lift time") << "Nuq"
                                   << "LiftTime"
                                   << "1m 30s" << 90.0f;
        QTest::newRow("lift seconds") << "Nuq"
                                      << "LiftTime"
                                      << "45s" << 45.0f;
        QTest::newRow("ms with blank") << "Limiter"
                                       << "Attack"
                                       << "12.5 ms" << 12.5f;
        QTest::newRow("s") << "Limiter"
                           << "Hold"
                           << "2 S" << 2.0f;
        QTest::newRow("minutes") << "Limiter"
                                 << "Hold"
                                 << "2m " << 120.0f;
        QTest::newRow("plain") << "Limiter"
                               << "Hold"
                               << "7.25" << 7.25f;
        QTest::newRow("not a number") << "Limiter"
                                      << "Hold"
                                      << "abc" << 0.0f;
    }
    void nudgeReply()
    {
        QFETCH(QString, object);
        QFETCH(QString, variable);
        QFETCH(QString, text);
        QFETCH(float, value);
        const std::optional<float> parsed = QX8Button::nudgeValueOf(text, object, variable);
        QCOMPARE(parsed.has_value(), !std::isnan(value));
        if (parsed)
            QCOMPARE(*parsed, value);
    }

    void nudgeKey_data()
    {
        QTest::addColumn<QString>("ranges");
        QTest::addColumn<int>("direction");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("key");
        const QString eq = R"([{"low":20,"high":100,"range":"0"},)"
                           R"({"low":100,"high":1000,"range":"1"}])";
        QTest::newRow("up at a boundary") << eq << 1 << 100.0 << "EQ:Frequency:1";
        QTest::newRow("down at a boundary") << eq << -1 << 100.0 << "EQ:Frequency:0";
        QTest::newRow("below the first") << eq << 1 << 5.0 << "EQ:Frequency:0";
        QTest::newRow("above every range") << eq << 1 << 1000.0 << QString();
        QTest::newRow("no ranges") << "[]" << 1 << 5.0 << "EQ:Frequency:-1";
        QTest::newRow("double step") << eq << 2 << 50.0 << QString();
        QTest::newRow("not JSON") << "{oops" << 1 << 50.0 << QString();
        QTest::newRow("not an array") << R"({"low":1})" << 1 << 50.0 << QString();
    }
    void nudgeKey()
    {
        QFETCH(QString, ranges);
        QFETCH(int, direction);
        QFETCH(double, value);
        QFETCH(QString, key);
        QCOMPARE(
            NudgeSteps::keyFor("EQ", "Frequency", ranges, direction, value).value_or(QString()),
            key);
    }

    void nudgeStepsAndTexts()
    {
        QCOMPARE(NudgeSteps::step("Limiter:Threshold:-1"), 0.1f);
        QCOMPARE(NudgeSteps::step("Nuq:HighPass:0"), 30.0f);
        QCOMPARE(NudgeSteps::step("Wizard:DialTypeSlider:-1"), 1.0f);
        QCOMPARE(NudgeSteps::step("Nope:Nope:-1"), 0.0f);
        QCOMPARE(NudgeSteps::step("Nope:Nope:-1"), 0.0f);

        float delay = 2.5f + 0.06f;
        QCOMPARE(QX8Button::nudgeText(&delay, "Amount", "Delay"), std::optional<QString>("2.56ms"));
        float lift = 6;
        QCOMPARE(QX8Button::nudgeText(&lift, "LiftTime", "Nuq"), std::optional<QString>("6s"));
        float ratio = std::numeric_limits<float>::infinity();
        QCOMPARE(QX8Button::nudgeText(&ratio, "Ratio", "Compressor"),
                 std::optional<QString>("200"));
        QCOMPARE(ratio, 200.0f);
        float other = std::numeric_limits<float>::infinity();
        QCOMPARE(QX8Button::nudgeText(&other, "Gain", "EQ"), std::optional<QString>());
        float nan = std::nanf("");
        QCOMPARE(QX8Button::nudgeText(&nan, "Gain", "EQ"), std::optional<QString>());
    }
};

QTEST_GUILESS_MAIN(TestControlScales)
#include "tst_controlscales.moc"
