// Scale and parse rules of the bound controls on real values, edge cases included: every
// conversion stays inside its tables and gives finite numbers.
#include "fader.h"
#include "nudgesteps.h"
#include "qx8button.h"
#include "qx8meter.h"
#include "qx8slider.h"
#include "qx8textfield.h"
#include "testmain.h"
#include "typednumber.h"
#include "valuetext.h"

#include <QTest>
#include <cmath>

using Doubles = QList<double>;
using Maybe = std::optional<double>;
Q_DECLARE_METATYPE(Maybe)

namespace {
const float kNone = std::nanf(""); // in a table: no value at all
}

class TestControlScales : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The one reading of device numbers every control shares.
    void deviceNumber_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<float>("number");
        const float inf = std::numeric_limits<float>::infinity();
        const std::pair<const char*, float> rows[] = {
            {"2.5kHz", 2500},   {"2.5KHZ", 2500}, {"440 Hz", 440}, {"-3.5dB", -3.5f},
            {"-3.5 DB", -3.5f}, {"45%", 45},      {"45", 45},      {"4.0:1", 4},
            {"1:4", 4},         {"3dB/s", 3},     {"45 deg", 45},  {"12.5 ms", 12.5f},
            {"30s", 30},        {"On", 1},        {"Off", 0},      {"Inf:1", inf},
            {"Out", kNone},     {"3.43m", kNone}, {"", kNone}};
        for (const auto& [text, number] : rows)
            QTest::newRow(*text ? text : "empty") << QString(text) << number;
    }
    void deviceNumber()
    {
        QFETCH(QString, text);
        QFETCH(float, number);
        const std::optional<double> read = ValueText::number(text);
        QCOMPARE(read.has_value(), !std::isnan(number));
        if (read)
            QCOMPARE(float(*read), number);
    }

    // What a user types for a number variable, in the unit of the field typed into: the value
    // to write in the variable's own unit, or the start and the end of the reason it is refused
    // (the delay page's test types the common refusals).
    void typedNumber_data()
    {
        QTest::addColumn<QString>("variable");
        QTest::addColumn<QString>("unit");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("written");
        QTest::addColumn<QString>("refusal");
        const QString delay = QStringLiteral("Preset\\InputDelay\\SV\\Amount");
        const QString gain = QStringLiteral("Preset\\HighPEQ\\SV\\Band_1_Gain");
        const QString frequency = QStringLiteral("Preset\\HighPEQ\\SV\\Band_1_Frequency");
        const QString notANumber = QStringLiteral("Not a number:|from 0 to 1000 ms");
        const QString outOfRange = QStringLiteral("Out of range:|from 0 to 1000 ms");
        const QByteArray nines(400, '9'); // outlives the rows that point into it
        const struct
        {
            const char* name;
            QString variable;
            const char* unit;
            const char* typed;
            const char* written;
            QString refusal;
        } rows[] = {
            {"rounded to the resolution", delay, "ms", "3.456", "3.46ms", {}},
            {"blanks and the unit around it", delay, "ms", " 7 ms ", "7ms", {}},
            {"a point first", delay, "ms", ".5", "0.5ms", {}},
            {"a point last", delay, "ms", "5.", "5ms", {}},
            {"signs", delay, "ms", "+12", "12ms", {}},
            {"minus nothing", delay, "ms", "-0.004", "0ms", {}},
            {"feet, written in milliseconds", delay, "ft", "10", "8.89ms", {}},
            {"the top in feet", delay, "ft", "1125.33", "1000ms", {}},
            {"above the top in feet", delay, "ft", "1125.34", "",
             QStringLiteral("Out of range:|from 0 to 1125.33 ft")},
            {"metres", delay, "m", "3.43", "10ms", {}},
            {"the top in metres", delay, "m", "343", "1000ms", {}},
            {"below the range", delay, "ms", "-0.01", "", outOfRange},
            {"far above the range", delay, "ms", nines.constData(), "", outOfRange},
            {"another unit", delay, "ms", "3ft", "", notANumber},
            {"other digits", delay, "ms", "\u0661\u0662", "", notANumber},
            {"two numbers", delay, "ms", "1 2", "", notANumber},
            {"decibels", gain, "dB", "3.14", "3.1dB", {}},
            {"the bottom, rounded up to it", gain, "dB", "-20.04", "-20dB", {}},
            {"below the bottom once rounded", gain, "dB", "-20.06", "",
             QStringLiteral("Out of range:|from -20 to 20 dB")},
            {"hertz at a step of ten", frequency, "Hz", "1234", "1230Hz", {}},
            {"hertz at a step of a tenth", frequency, "Hz", "99.94", "99.9Hz", {}},
        };
        for (const auto& row : rows) {
            QTest::newRow(row.name)
                << row.variable << QString(row.unit) << QString::fromUtf8(row.typed)
                << QString(row.written) << row.refusal;
        }
    }
    void typedNumber()
    {
        QFETCH(QString, variable);
        QFETCH(QString, unit);
        QFETCH(QString, typed);
        QFETCH(QString, written);
        QFETCH(QString, refusal);
        const DeviceModel::Variable* described = DeviceModel::fromResources().variable(variable);
        QVERIFY(described);
        const TypedNumber::Reading reading = TypedNumber::read(*described, unit, typed);
        QCOMPARE(reading.written.value_or(QString()), written);
        if (refusal.isEmpty()) {
            QCOMPARE(reading.refusal, QString());
        } else {
            const QStringList ends = refusal.split('|');
            QVERIFY2(reading.refusal.startsWith(ends[0]) && reading.refusal.endsWith(ends[1]),
                     qPrintable(reading.refusal));
        }
    }

    void sliderReply_data()
    {
        QTest::addColumn<bool>("ratio");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("valueType");
        QTest::addColumn<float>("position");
        const auto row = [](const char* name, bool ratio, const char* text, float position) {
            QTest::newRow(name) << ratio << text
                                << (ratio || QString(text).contains('%') ? "%" : "") << position;
        };
        row("ratio 2.5%", true, "2.5%", 18 / 37.0f * 100);
        row("ratio above 100%", true, "101%", 38 / 37.0f * 100);
        row("percent", false, "45.5%", 45.5f);
        QTest::newRow("percent without its sign") << false << "45"
                                                  << "%" << 45.0f;
        row("KHZ", false, "2.5KHZ", 2500.0f);
        row("dB", false, "-3.5DB", -3.5f);
        row("ratio text", false, "4.0:1", 4.0f);
        row("Inf", false, "Inf", 70.0f);
        row("Off inside", false, "xOffx", 0.0f);
        row("no number", false, "abc", 0.0f);
        row("empty", false, "", kNone);
    }
    void sliderReply()
    {
        QFETCH(bool, ratio);
        QFETCH(QString, text);
        QFETCH(QString, valueType);
        QFETCH(float, position);
        QX8Slider slider;
        slider.setRatioSlider(ratio);
        const std::optional<float> shown = slider.positionOfReply(text, valueType);
        QCOMPARE(shown.has_value(), !std::isnan(position));
        if (shown)
            QVERIFY2(std::fabs(*shown - position) < 1e-4, qPrintable(QString::number(*shown)));
    }

    // A ratio slider writes entries of its table only, whatever the position; the position
    // it shows for a step writes that same step back.
    void ratioWrite()
    {
        QX8Slider slider;
        slider.setRatioSlider(true);
        const std::pair<float, const char*> written[] = {
            {50, "2.62626"}, {100, "100"}, {104, "100"}, {1e30f, "100"}, {-5, "0"}};
        for (const auto& [position, text] : written)
            QCOMPARE(slider.valueTextForPosition(position), QString(text));
        for (int step = 0; step < QX8Slider::kRatioSteps; ++step) {
            const QString entry = QString::number(QX8Slider::ratioTableEntry(step), 'g', 6);
            const std::optional<float> shown = slider.positionOfReply(entry + '%', "%");
            QVERIFY(shown);
            QCOMPARE(slider.valueTextForPosition(*shown), entry);
        }
    }

    void faderScale_data()
    {
        QTest::addColumn<Doubles>("boundaries");
        QTest::addColumn<Doubles>("lengths");
        QTest::addColumn<Doubles>("range");
        QTest::addColumn<double>("position");
        QTest::addColumn<Maybe>("written");
        QTest::addColumn<double>("reply");
        QTest::addColumn<Maybe>("shown");
        const Doubles b{-60, -20, 0, 10}, l{25, 50, 25}, none{0, 0};
        QTest::newRow("lists mid") << b << l << none << 50.0 << Maybe(-10) << -10.0 << Maybe(50);
        QTest::newRow("lists end") << b << l << none << 100.0 << Maybe(10) << 10.0 << Maybe(100);
        QTest::newRow("below first boundary")
            << b << l << none << 0.0 << Maybe(-60) << -70.0 << Maybe(-70);
        QTest::newRow("linear") << Doubles{} << Doubles{} << Doubles{-80, 10} << 50.0 << Maybe(-35)
                                << -35.0 << Maybe(50);
        QTest::newRow("linear without range")
            << Doubles{} << Doubles{} << none << 50.0 << Maybe() << -35.0 << Maybe();
        QTest::newRow("equal boundaries") << Doubles{-60, 0, 0} << Doubles{50, 50} << none << 75.0
                                          << Maybe(0) << 5.0 << Maybe(100);
        QTest::newRow("zero length") << Doubles{-60, -20, 0} << Doubles{0, 100} << none << 0.0
                                     << Maybe(-20) << -20.0 << Maybe(0);
        QTest::newRow("lengths longer than boundaries")
            << Doubles{-60, 0} << Doubles{40, 40, 20} << none << 90.0 << Maybe(0) << -30.0
            << Maybe(20);
        QTest::newRow("one boundary, linear") << Doubles{-60} << Doubles{100} << Doubles{-60, 0}
                                              << 50.0 << Maybe(-30) << -30.0 << Maybe(50);
    }
    void faderScale()
    {
        QFETCH(Doubles, boundaries);
        QFETCH(Doubles, lengths);
        QFETCH(Doubles, range);
        QFETCH(double, position);
        QFETCH(Maybe, written);
        QFETCH(double, reply);
        QFETCH(Maybe, shown);
        Fader fader;
        fader.setRangeBounaryValues(boundaries);
        fader.setRangeLengthsInPercentage(lengths);
        fader.setMinimum(range[0]);
        fader.setMaximum(range[1]);
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
            const Maybe value = fader.valueForPosition(p);
            QVERIFY(value && std::isfinite(*value));
            const Maybe back = fader.positionForValue(*value);
            QVERIFY(back);
            QVERIFY2(std::fabs(*back - p) < 1e-9, qPrintable(QString::number(p)));
        }
    }

    void meterText()
    {
        struct Case
        {
            const char* valueType;
            Doubles boundaries;
            const char* reply;
            const char* shown;
        };
        const Doubles b{-60, -40, -20, 0};
        const Case cases[] = {{"%", b, "45.5%", "45.5"}, {"%", b, "-12dB", "-12"},
                              {"", b, "-30dB", "35"},    {"", b, "6dB", "115"},
                              {"", b, "-65dB", "-65"},   {"", b, "-75dB", "0"},
                              {"", {}, "-30dB", "-30"},  {"", {-60, -60, 0}, "-60dB", "20"}};
        for (const Case& c : cases) {
            QX8Meter meter;
            meter.setValueType(c.valueType);
            meter.setRangeBounaryValues(c.boundaries);
            meter.setRangeLengthsInPercentage({20, 30, 50});
            meter.setCppSignalThreshold(-70);
            QCOMPARE(meter.shownText(c.reply), QString(c.shown));
        }
    }

    void textFieldUnit()
    {
        const QString delay = "10.0ms/32.8ft/10.0m";
        QCOMPARE(QX8TextField::partInUnit(delay, "ft"), std::optional<QString>("32.8ft"));
        QCOMPARE(QX8TextField::partInUnit(delay, "m"), std::optional<QString>("10.0m"));
        QCOMPARE(QX8TextField::partInUnit(delay, ""), std::optional<QString>("10.0ms"));
        QCOMPARE(QX8TextField::partInUnit("10.0ms/32.8ft", "s"), std::optional<QString>("10.0ms"));
        QCOMPARE(QX8TextField::partInUnit(delay, "km"), std::optional<QString>());
    }

    void nudgeReply_data()
    {
        QTest::addColumn<QString>("object");
        QTest::addColumn<QString>("variable");
        QTest::addColumn<QString>("text");
        QTest::addColumn<float>("value");
        const auto row = [](const char* object, const char* variable, const char* text,
                            float value) {
            QTest::addRow("%s %s %s", object, variable, text)
                << object << variable << text << value;
        };
        row("Crossover", "Phase", "45 deg", 45);
        row("AGC", "Rate", "3dB/s", 3);
        row("RoomEQ", "Band_1_Frequency", "2.00kHz", 2000);
        row("RoomEQ", "Band_1_Frequency", "440HZ", 440);
        row("Compressor", "Ratio", "4.0:1", 4);
        row("Compressor", "Ratio", "Inf:1", std::numeric_limits<float>::infinity());
        row("Crossover", "Band_1_LPFrequency", "Out", 20100);
        row("Crossover", "Band_1_HPFrequency", "Out", 15.9f);
        row("Crossover", "Band_1_Frequency", "Out", kNone);
        row("Gate", "Ratio", "1:4.0", 4);
        row("Delay1", "Amount", "10.0ms/x", 10);
        row("Delay1", "Amount", "10.0", 0);
        row("Nuq", "LiftTime", "1m 30s", 90);
        row("Limiter", "Attack", "12.5 ms", 12.5f);
        row("Limiter", "Hold", "2m ", 120);
        row("Limiter", "Hold", "abc", 0);
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

    void nudgeKey()
    {
        const QString eq = R"([{"low":20,"high":100,"range":"0"},)"
                           R"({"low":100,"high":1000,"range":"1"}])";
        const auto key = [](const QString& ranges, int direction, double value) {
            return NudgeSteps::keyFor("EQ", "Frequency", ranges, direction, value).value_or("");
        };
        QCOMPARE(key(eq, 1, 100), QString("EQ:Frequency:1"));
        QCOMPARE(key(eq, -1, 100), QString("EQ:Frequency:0"));
        QCOMPARE(key(eq, 1, 5), QString("EQ:Frequency:0"));
        QCOMPARE(key(eq, 1, 1000), QString());
        QCOMPARE(key("[]", 1, 5), QString("EQ:Frequency:-1"));
        QCOMPARE(key(eq, 2, 50), QString());
        QCOMPARE(key("{oops", 1, 50), QString());
        QCOMPARE(key(R"({"low":1})", 1, 50), QString());
    }

    // No step ever writes a non-finite value: an infinite ratio steps from its largest value.
    void nudgeTexts()
    {
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
        QCOMPARE(NudgeSteps::step("Nope:Nope:-1"), 0.0f);
    }
};

QX8_TEST_GUILESS_MAIN(TestControlScales)
#include "tst_controlscales.moc"
