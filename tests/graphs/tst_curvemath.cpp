// Band and crossover curves against the scipy reference (fixtures written by
// generate_curve_fixtures.py), the axis and sweep maps, the dynamics processors' transfer curves
// at hand-derived points, and values the math must survive.
#include "bandcurvesampler.h"
#include "biquadmagnitude.h"
#include "crossovercurvecalculator.h"
#include "curvecalculator.h"
#include "geqgeometry.h"
#include "logfrequencyaxis.h"
#include "nuqgeometry.h"
#include "overlaycurve.h"
#include "peqgeometry.h"
#include "qtpeqnames.h"
#include "testharness.h"
#include "testmain.h"
#include "transfercurve.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

#include <cmath>
#include <limits>
#include <vector>

namespace {

// Each band's curve against the exact response, and the total of twelve.
constexpr double kBandToleranceDb = 0.01;
constexpr double kTotalToleranceDb = 0.1;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

QJsonObject loadFixture(const QString& name)
{
    QFile file(qx8test::sourceDir() + QStringLiteral("/tests/graphs/fixtures/") + name);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot open fixture %s", qPrintable(file.fileName()));
    return QJsonDocument::fromJson(file.readAll()).object();
}

std::vector<double> toVector(const QJsonValue& array)
{
    std::vector<double> values;
    for (const QJsonValue& value : array.toArray())
        values.push_back(value.toDouble());
    return values;
}

double number(const QJsonObject& bandJson, const char* key)
{
    return bandJson.value(key).toDouble();
}
QString text(const QJsonObject& bandJson, const char* key)
{
    return bandJson.value(key).toString();
}

// Puts one fixture band into record `band` of a calculator in the mode its kind needs.
void setBand(CurveCalculator& calculator, int band, const QJsonObject& bandJson)
{
    const QString kind = text(bandJson, "kind");
    calculator.mode = kind == QLatin1String("nuq") ? 3 : 1;
    CurveCalculator::Band& r = calculator.bands[band];
    r.Frequency = number(bandJson, "frequency");
    r.Gain = number(bandJson, "gain");
    r.Type = kind == QLatin1String("lowshelf")    ? CurveCalculator::LowShelf
             : kind == QLatin1String("highshelf") ? CurveCalculator::HighShelf
                                                  : CurveCalculator::Bell;
    (r.Type == CurveCalculator::Bell ? r.Q : r.Slope) = number(bandJson, "shape");
}

// Levels in dB as they are, not held inside the graph.
const LevelMapping unclamped{kInf, 1.0, 0.0};

// Band `band` of `calculator` at the columns of `sampler`.
std::vector<double> sampled(const BandCurveSampler& sampler, CurveCalculator& calculator, int band,
                            const LevelMapping& mapping = unclamped)
{
    std::vector<double> curve;
    sampler.sampleBand(calculator, band, mapping, curve);
    return curve;
}

// Fails with the first pixel that is off by more than the tolerance.
void compareCurves(const std::vector<double>& actual, const std::vector<double>& expected,
                   double toleranceDb = kBandToleranceDb)
{
    QCOMPARE(actual.size(), expected.size());
    for (size_t x = 0; x < actual.size(); ++x) {
        if (!(std::fabs(actual[x] - expected[x]) <= toleranceDb))
            QFAIL(qPrintable(QStringLiteral("pixel %1: %2 dB, reference %3 dB")
                                 .arg(x)
                                 .arg(actual[x], 0, 'f', 5)
                                 .arg(expected[x], 0, 'f', 5)));
    }
}

} // namespace

class TestCurveMath : public QObject
{
    Q_OBJECT

private slots:
    void bandMatchesReference_data();
    void bandMatchesReference();
    void totalMatchesReference();
    void fastLogarithm();
    void crossoverMatchesReference_data();
    void crossoverMatchesReference();
    void unusableBandsDrawFlat_data();
    void unusableBandsDrawFlat();
    void geqSweepColumns_data();
    void geqSweepColumns();
    void outsideTheFrame();
    void transferCurvePoints_data();
    void transferCurvePoints();
};

void TestCurveMath::bandMatchesReference_data()
{
    QTest::addColumn<QJsonObject>("bandJson");
    for (const QJsonValue& value : loadFixture("bands.json").value("cases").toArray()) {
        const QJsonObject bandJson = value.toObject();
        QTest::addRow("%s %g Hz %g dB shape %g", qPrintable(text(bandJson, "kind")),
                      number(bandJson, "frequency"), number(bandJson, "gain"),
                      number(bandJson, "shape"))
            << bandJson;
    }
}

void TestCurveMath::bandMatchesReference()
{
    QFETCH(QJsonObject, bandJson);
    const std::vector<double> expected = toVector(bandJson.value("db"));
    const bool nuq = text(bandJson, "kind") == QLatin1String("nuq");
    const LogFrequencyAxis axis = nuq ? LogFrequencyAxis::nuq() : LogFrequencyAxis::parametricEq();
    BandCurveSampler sampler;
    sampler.setAxis(axis, int(expected.size()));
    CurveCalculator calculator;
    setBand(calculator, 4, bandJson);
    compareCurves(sampled(sampler, calculator, 4), expected);
    // A single frequency goes through the same arithmetic.
    const int x = int(expected.size()) / 3;
    QVERIFY(std::fabs(calculator.gainForFreq(axis.frequencyAt(x, double(expected.size()))) -
                      expected[size_t(x)]) <= kBandToleranceDb);
}

void TestCurveMath::totalMatchesReference()
{
    const QJsonObject fixture = loadFixture("total.json");
    const int width = fixture.value("width").toInt();
    BandCurveSampler sampler;
    sampler.setAxis(LogFrequencyAxis::parametricEq(), width);
    // With H = 20 pixels a height in pixels is a level in dB.
    const LevelMapping mapping = PeqGeometry(width, 20.0).levelMapping();
    CurveCalculator calculator;
    std::vector<std::vector<double>> heights;
    const QJsonArray bands = fixture.value("bands").toArray();
    for (int band = 0; band < bands.size(); ++band) {
        setBand(calculator, band, bands[band].toObject());
        compareCurves(sampled(sampler, calculator, band), toVector(bands[band]["db"]));
        heights.push_back(sampled(sampler, calculator, band, mapping));
    }
    std::vector<double> total;
    BandCurveSampler::smoothedTotal(heights, width, total);
    compareCurves(total, toVector(fixture.value("db")), kTotalToleranceDb);
    // Curves of an older, narrower width count as 0 where they have no point.
    BandCurveSampler::smoothedTotal({{2, 4, 6, 8}, {1, 1}}, 5, total);
    QCOMPARE(total, (std::vector<double>{4, 6, 7, 8, 0}));
}

// Within 4.1e-4 decades of log10 from 1e-30 to 1e30; zero, and what has no normal exponent,
// read as 2^-33 does.
void TestCurveMath::fastLogarithm()
{
    for (double exponent = -30.0; exponent <= 30.0; exponent += 0.001) {
        const double x = std::pow(10.0, exponent);
        QVERIFY2(std::fabs(QtPEQ::fastLog10(x) - std::log10(x)) <= 4.1e-4,
                 qPrintable(QString::number(x)));
    }
    const double zero = QtPEQ::fastLog10(0.0);
    QVERIFY(std::fabs(zero - -9.93359) < 1e-5);
    for (double x : {0x1p-33, -1e-17, 1e-310, kNaN})
        QCOMPARE(QtPEQ::fastLog10(x), zero);
}

void TestCurveMath::crossoverMatchesReference_data()
{
    QTest::addColumn<QJsonObject>("bandJson");
    QTest::addColumn<int>("width");
    const QJsonObject fixture = loadFixture("crossover.json");
    for (const QJsonValue& value : fixture.value("cases").toArray()) {
        const QJsonObject bandJson = value.toObject();
        QTest::addRow("HP %s %g Hz, LP %s %g Hz, %g dB", qPrintable(text(bandJson, "hpType")),
                      number(bandJson, "hpFrequency"), qPrintable(text(bandJson, "lpType")),
                      number(bandJson, "lpFrequency"), number(bandJson, "gain"))
            << bandJson << fixture.value("width").toInt();
    }
}

void TestCurveMath::crossoverMatchesReference()
{
    using C = CrossoverCurveCalculator;
    QFETCH(QJsonObject, bandJson);
    QFETCH(int, width);
    C calculator;
    calculator.width = width;
    calculator.height = 100.0;
    const int band = 5;
    calculator.setSlope(band, C::HighPass,
                        C::slopeTypeForWord(text(bandJson, "hpType").toStdString()));
    calculator.setSlope(band, C::LowPass,
                        C::slopeTypeForWord(text(bandJson, "lpType").toStdString()));
    calculator.setValue(band, C::HPFrequency, number(bandJson, "hpFrequency"));
    calculator.setValue(band, C::LPFrequency, number(bandJson, "lpFrequency"));
    calculator.setValue(band, C::Gain, number(bandJson, "gain"));
    std::vector<double> actual;
    for (int x = 0; x < width; x += C::kSampleStep)
        actual.push_back(calculator.ComputeGainDB(calculator.frequencyForX(x), band));
    compareCurves(actual, toVector(bandJson.value("db")));
}

void TestCurveMath::unusableBandsDrawFlat_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("type");
    QTest::addColumn<double>("frequency");
    QTest::addColumn<double>("gain");
    QTest::addColumn<double>("shape");
    QTest::addColumn<bool>("flat"); // else only finite
    QTest::newRow("bell, gain 0") << 1 << 0 << 1000.0 << 0.0 << 4.0 << true;
    QTest::newRow("bell, Q 0") << 1 << 0 << 1000.0 << 12.0 << 0.0 << true;
    QTest::newRow("low shelf, slope 0") << 1 << 1 << 1000.0 << -9.0 << 0.0 << true;
    QTest::newRow("other word, Q 0") << 1 << -1 << 1000.0 << 6.0 << 0.0 << true;
    QTest::newRow("nuq, gain 0") << 3 << 0 << 1000.0 << 0.0 << 32.0 << true;
    QTest::newRow("nuq, Q 0") << 3 << 0 << 1000.0 << -18.0 << 0.0 << true;
    QTest::newRow("frequency NaN") << 1 << 0 << kNaN << 6.0 << 1.0 << true;
    QTest::newRow("gain NaN") << 1 << 0 << 1000.0 << kNaN << 1.0 << true;
    QTest::newRow("Q NaN") << 1 << 0 << 1000.0 << 6.0 << kNaN << true;
    QTest::newRow("frequency infinite") << 1 << 0 << kInf << 6.0 << 1.0 << true;
    QTest::newRow("Q negative") << 1 << 0 << 1000.0 << 6.0 << -1.0 << true;
    QTest::newRow("frequency 0") << 1 << 0 << 0.0 << 6.0 << 1.0 << false;
    QTest::newRow("frequency past Nyquist") << 1 << 0 << 36000.0 << 6.0 << 1.0 << false;
    QTest::newRow("shelf slope past the pole") << 1 << 1 << 1000.0 << 6.0 << 40.0 << false;
}

void TestCurveMath::unusableBandsDrawFlat()
{
    QFETCH(int, mode);
    QFETCH(int, type);
    QFETCH(double, frequency);
    QFETCH(double, gain);
    QFETCH(double, shape);
    QFETCH(bool, flat);
    CurveCalculator calculator;
    calculator.mode = mode;
    calculator.bands[0] = {shape, shape, gain, frequency, type};
    calculator.prep(0);
    for (int x = 0; x < 300; ++x) {
        const double f = LogFrequencyAxis::parametricEq().frequencyAt(x, 300);
        const double db = calculator.gainForFreq(f);
        QVERIFY2(flat ? std::fabs(db) < 0.001 : std::isfinite(db),
                 qPrintable(QStringLiteral("%1 dB at %2 Hz").arg(db).arg(f)));
    }
}

void TestCurveMath::geqSweepColumns_data()
{
    // 620 px wide: columns of 20 px.
    QTest::addColumn<double>("previousX");
    QTest::addColumn<double>("x");
    QTest::addColumn<QVector<int>>("columns");
    QTest::newRow("first move") << 0.0 << 185.0 << QVector<int>{9};
    QTest::newRow("neighbour column") << 65.0 << 85.0 << QVector<int>{4};
    QTest::newRow("fast right") << 65.0 << 185.0 << QVector<int>{3, 4, 5, 6, 7, 8, 9};
    QTest::newRow("fast left") << 185.0 << 65.0 << QVector<int>{9, 8, 7, 6, 5, 4, 3};
    QTest::newRow("past the right edge") << 565.0 << 5000.0 << QVector<int>{28, 29, 30};
    QTest::newRow("past the left edge") << 45.0 << -90.0 << QVector<int>{2, 1, 0};
    QTest::newRow("outside only") << 0.0 << 640.0 << QVector<int>{};
    QTest::newRow("not a number") << 65.0 << kNaN << QVector<int>{};
}

void TestCurveMath::geqSweepColumns()
{
    QFETCH(double, previousX);
    QFETCH(double, x);
    QFETCH(QVector<int>, columns);
    const auto actual = GeqGeometry(620, 400).sweepColumns(previousX, x);
    QCOMPARE(QVector<int>(actual.begin(), actual.end()), columns);
    QVERIFY(GeqGeometry(0, 400).sweepColumns(10, 300).empty());
}

// Band indices outside the records, empty frames and values that are not numbers (a device
// value not yet arrived, unparsable text) give nothing to draw, never a wild pixel.
void TestCurveMath::outsideTheFrame()
{
    CurveCalculator calculator;
    calculator.bands[0] = {1.0, 0.0, 12.0, 1000.0, CurveCalculator::Bell};
    BandCurveSampler sampler;
    sampler.setAxis(LogFrequencyAxis::parametricEq(), 2);
    for (int band : {-1, CurveCalculator::kMaxBands}) {
        calculator.prep(0);
        calculator.prep(band);
        QCOMPARE(calculator.gainForFreq(1000.0), 0.0);
        QVERIFY(!calculator.setValue(band, CurveCalculator::Gain, 3.0));
        QVERIFY(!calculator.setType(band, CurveCalculator::LowShelf));
        QCOMPARE(sampled(sampler, calculator, band), std::vector<double>(2, 0.0));
    }
    // A NaN is always a change, so the curve is redrawn from it.
    QVERIFY(calculator.setValue(1, CurveCalculator::Q, kNaN));
    QVERIFY(calculator.setValue(1, CurveCalculator::Q, kNaN));
    QCOMPARE(QtPEQ::GetFilterName(static_cast<QtPEQ::eFilterType>(24)),
             QStringLiteral("NEEDS NAME"));

    using C = CrossoverCurveCalculator;
    C crossover;
    QVERIFY(!crossover.setValue(C::kMaxBands, C::Gain, 1.0));
    QVERIFY(!crossover.setSlope(-1, C::LowPass, C::LR24));
    // Device values land on the axes; 0 Hz means "no filter" (a fresh band: HP 20 kHz, LP 20 Hz).
    QVERIFY(crossover.setValue(0, C::HPFrequency, 0.0) &&
            crossover.setValue(1, C::HPFrequency, 5.0));
    QVERIFY(crossover.setValue(0, C::LPFrequency, 0.0) && crossover.setValue(0, C::Gain, -90.0));
    QVERIFY(!crossover.setValue(0, C::LPFrequency, 30000.0) &&
            !crossover.setValue(0, C::Gain, kNaN));
    QCOMPARE(crossover.bands[0].HPFrequency, 16.0);
    QCOMPARE(crossover.bands[1].HPFrequency, 16.0);
    QCOMPARE(crossover.bands[0].LPFrequency, 20000.0);
    QCOMPARE(crossover.bands[0].Gain, -60.0);
    QCOMPARE(crossover.ComputeGainDB(1000.0, 0), 0.0); // width 0
    QCOMPARE(crossover.curvePoints(0).size(), size_t(1));

    const PeqGeometry peq(1100, 200);
    QVERIFY(!peq.handle(-1000.0, -1000.0)); // the start value before the device reports
    QVERIFY(!peq.handle(1000.0, kNaN));
    QVERIFY(!peq.handle(kInf, 3.0));
    QCOMPARE(peq.handle(1e300, 1e300)->y, 1000000);
    QVERIFY(!peq.settingForHandle(kNaN, 10));
    QVERIFY(!PeqGeometry(0, 200).handle(1000.0, 3.0));
    QVERIFY(!PeqGeometry(0, 150).settingForHandle(10, 10));
    QCOMPARE(PeqGeometry(1000, 0).overlayY(5.0), 0.0);
    QCOMPARE(NuqGeometry(0, 100).levelMapping().apply(-5.0), 0.0);
    QCOMPARE(GeqGeometry(620, 400).handle(3, kNaN).y, 0);
    const LogFrequencyAxis axis = LogFrequencyAxis::crossover();
    QCOMPARE(axis.xFor(1000.0, 0.0), 0.0);
    QCOMPARE(axis.xFor(8.0, 800.0), 0.0);
    QCOMPARE(axis.xFor(-1000.0, 800.0), 0.0);
    QCOMPARE(axis.xFor(kNaN, 800.0), 0.0);
    QCOMPARE(axis.xFor(40000.0, 800.0), 800.0);
    sampler.setAxis(LogFrequencyAxis::parametricEq(), -3);
    QCOMPARE(sampler.width(), 0);

    const OverlayCurve garbage(QStringLiteral("x 2.5  -1"));
    QCOMPARE(garbage.size(), 4);
    QCOMPARE(garbage.level(0), 0.0f);
    QCOMPARE(garbage.level(5000), 0.0f);
}

// Laws by name with their settings in declaration order; OverEasy given as a knee width.
void TestCurveMath::transferCurvePoints_data()
{
    QTest::addColumn<QString>("law");
    QTest::addColumn<QVector<double>>("settings");
    QTest::addColumn<QVector<double>>("inputs");
    QTest::addColumn<QVector<double>>("outputs");
    const QString compression = QStringLiteral("compression");
    // Threshold -20, 4:1: unchanged below, 1 dB per 4 above.
    QTest::newRow("hard knee") << compression << QVector<double>{-20, 4, 0, 0}
                               << QVector<double>{-40, -20, 0} << QVector<double>{-40, -20, -15};
    // OverEasy 5 = a 10 dB knee from -25 to -15: y = x - 0.75 (x + 25)^2 / 20 inside it.
    QTest::newRow("soft knee") << compression
                               << QVector<double>{-20, 4, TransferCurve::kneeWidthForOverEasy(5), 0}
                               << QVector<double>{-25, -20, -15, 0}
                               << QVector<double>{-25, -20.9375, -18.75, -15};
    QTest::newRow("1:1 with make-up")
        << compression << QVector<double>{-20, 1, 10, 6} << QVector<double>{-50, -20, 10}
        << QVector<double>{-44, -14, 16};
    QTest::newRow("2:1 with make-up") << compression << QVector<double>{-20, 2, 0, 6}
                                      << QVector<double>{-30, 0} << QVector<double>{-24, -4};
    // A limiter: an infinite ratio holds the threshold; OverEasy 3 rounds it 0.75 dB under.
    QTest::newRow("limiter") << compression << QVector<double>{0, kInf, 0, 0}
                             << QVector<double>{-10, 0, 10, 30} << QVector<double>{-10, 0, 0, 0};
    QTest::newRow("limiter knee") << compression
                                  << QVector<double>{0, kInf,
                                                     TransferCurve::kneeWidthForOverEasy(3), 0}
                                  << QVector<double>{-3, 0, 3} << QVector<double>{-3, -0.75, 0};
    // Gate at -60, 1:2, at most 30 dB down: -70 falls to -80, -100 stops at -130.
    const QString expansion = QStringLiteral("expansion");
    QTest::newRow("gate") << expansion << QVector<double>{-60, 2, 30}
                          << QVector<double>{-50, -60, -70, -80, -100}
                          << QVector<double>{-50, -60, -80, -100, -130};
    QTest::newRow("gate without range") << expansion << QVector<double>{-60, 2, kInf}
                                        << QVector<double>{-100} << QVector<double>{-140};
    QTest::newRow("gate 1:1") << expansion << QVector<double>{-60, 1, 60} << QVector<double>{-90}
                              << QVector<double>{-90};
    // AGC: target -12 in a 6 dB window, at most 9 dB either way, from -50 up, limited at -6.
    QTest::newRow("agc") << QStringLiteral("levelling") << QVector<double>{-12, 6, 9, -50, -6}
                         << QVector<double>{-60, -45, -30, -20, -12, -3, 10}
                         << QVector<double>{-60, -36, -21, -15, -12, -9, -6};
}

void TestCurveMath::transferCurvePoints()
{
    QFETCH(QString, law);
    QFETCH(QVector<double>, settings);
    QFETCH(QVector<double>, inputs);
    QFETCH(QVector<double>, outputs);
    const auto& v = settings;
    for (int i = 0; i < inputs.size(); ++i) {
        double output = kNaN;
        if (law == QLatin1String("compression"))
            output = TransferCurve::Compression{v[0], v[1], v[2], v[3]}.outputLevel(inputs[i]);
        else if (law == QLatin1String("expansion"))
            output = TransferCurve::Expansion{v[0], v[1], v[2]}.outputLevel(inputs[i]);
        else
            output = TransferCurve::Levelling{v[0], v[1], v[2], v[3], v[4]}.outputLevel(inputs[i]);
        QVERIFY2(qAbs(output - outputs[i]) < 1e-9,
                 qPrintable(QStringLiteral("%1 dB in gives %2, not %3")
                                .arg(inputs[i])
                                .arg(output)
                                .arg(outputs[i])));
    }
}

QX8_TEST_GUILESS_MAIN(TestCurveMath)
#include "tst_curvemath.moc"
