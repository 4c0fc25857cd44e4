// Band and crossover curves against the scipy reference (fixtures written by
// generate_curve_fixtures.py), plus the behaviour the reference does not cover.
#include "bandcurvesampler.h"
#include "crossovercurvecalculator.h"
#include "curvecalculator.h"
#include "logfrequencyaxis.h"
#include "peqgeometry.h"
#include "qtpeqnames.h"
#include "testharness.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

#include <cmath>
#include <limits>
#include <vector>

namespace {

constexpr double kToleranceDb = 0.01;

QJsonObject loadFixture(const QString& name)
{
    QFile file(qx8test::sourceDir() + QStringLiteral("/tests/graphs/fixtures/") + name);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot open fixture %s", qPrintable(file.fileName()));
    return QJsonDocument::fromJson(file.readAll()).object();
}

std::vector<double> toVector(const QJsonArray& array)
{
    std::vector<double> values;
    values.reserve(static_cast<size_t>(array.size()));
    for (const QJsonValue& value : array)
        values.push_back(value.toDouble());
    return values;
}

// Puts one fixture band into record `band` of a calculator in the mode its kind needs.
void setBand(CurveCalculator& calculator, int band, const QJsonObject& spec)
{
    const QString kind = spec.value(QStringLiteral("kind")).toString();
    calculator.mode = kind == QLatin1String("nuq") ? 3 : 1;
    CurveCalculator::Band& r = calculator.bands[band];
    r.Frequency = spec.value(QStringLiteral("frequency")).toDouble();
    r.Gain = spec.value(QStringLiteral("gain")).toDouble();
    r.Type = kind == QLatin1String("lowshelf")    ? CurveCalculator::LowShelf
             : kind == QLatin1String("highshelf") ? CurveCalculator::HighShelf
                                                  : CurveCalculator::Bell;
    (r.Type == CurveCalculator::Bell ? r.Q : r.Slope) =
        spec.value(QStringLiteral("shape")).toDouble();
}

QString describe(const QJsonObject& spec)
{
    return QStringLiteral("%1 %2 Hz %3 dB shape %4")
        .arg(spec.value(QStringLiteral("kind")).toString())
        .arg(spec.value(QStringLiteral("frequency")).toDouble())
        .arg(spec.value(QStringLiteral("gain")).toDouble())
        .arg(spec.value(QStringLiteral("shape")).toDouble());
}

// Fails with the first pixel that is off by more than the tolerance.
void compareCurves(const std::vector<double>& actual, const std::vector<double>& expected)
{
    QCOMPARE(actual.size(), expected.size());
    for (size_t x = 0; x < actual.size(); ++x) {
        if (!(std::fabs(actual[x] - expected[x]) <= kToleranceDb))
            QFAIL(qPrintable(QStringLiteral("pixel %1: %2 dB, reference %3 dB")
                                 .arg(x)
                                 .arg(actual[x], 0, 'f', 5)
                                 .arg(expected[x], 0, 'f', 5)));
    }
}

CrossoverCurveCalculator::CrossoverSlopeType slope(const QJsonObject& spec, const char* key)
{
    return CrossoverCurveCalculator::slopeTypeForWord(
        spec.value(QLatin1String(key)).toString().toStdString());
}

} // namespace

class TestCurveMath : public QObject
{
    Q_OBJECT

private slots:
    void bandMatchesReference_data();
    void bandMatchesReference();
    void totalMatchesReference();
    void crossoverMatchesReference_data();
    void crossoverMatchesReference();
    void flatBands_data();
    void flatBands();
    void knownBandValues();
    void nuqWidthSwitchesAtSixDb();
    void unusableInputsDesignFlat();
    void bandIndexOutsideRecords();
    void totalCurveOfShorterCurves();
    void crossoverArrivingValues();
    void crossoverKnownValues();
    void filterNames();
};

void TestCurveMath::bandMatchesReference_data()
{
    QTest::addColumn<QJsonObject>("spec");
    const QJsonObject fixture = loadFixture(QStringLiteral("bands.json"));
    for (const QJsonValue& value : fixture.value(QStringLiteral("cases")).toArray()) {
        const QJsonObject spec = value.toObject();
        QTest::newRow(qPrintable(describe(spec))) << spec;
    }
}

void TestCurveMath::bandMatchesReference()
{
    QFETCH(QJsonObject, spec);
    const std::vector<double> expected = toVector(spec.value(QStringLiteral("db")).toArray());
    const bool nuq = spec.value(QStringLiteral("kind")).toString() == QLatin1String("nuq");
    const LogFrequencyAxis axis = nuq ? LogFrequencyAxis::nuq() : LogFrequencyAxis::parametricEq();

    CurveCalculator calculator;
    setBand(calculator, 4, spec);
    const auto frequencies = BandCurveSampler::pixelFrequencies(axis, int(expected.size()));
    compareCurves(BandCurveSampler::sampleDb(calculator, 4, frequencies), expected);

    const std::vector<double> reference = toVector(spec.value(QStringLiteral("coefs")).toArray());
    const QtPEQ::sBiquadCoefs& c = calculator.coefs;
    const double actual[] = {c.b0, c.b1, c.b2, c.a1, c.a2};
    for (int i = 0; i < 5; ++i)
        QVERIFY2(std::fabs(actual[i] - reference[size_t(i)]) <=
                     1e-9 * std::max(1.0, std::fabs(reference[size_t(i)])),
                 qPrintable(QStringLiteral("coefficient %1: %2 against %3")
                                .arg(i)
                                .arg(actual[i], 0, 'g', 15)
                                .arg(reference[size_t(i)], 0, 'g', 15)));
}

void TestCurveMath::totalMatchesReference()
{
    const QJsonObject fixture = loadFixture(QStringLiteral("total.json"));
    const int width = fixture.value(QStringLiteral("width")).toInt();
    // With H = 20 pixels a height in pixels is a level in dB.
    const PeqGeometry geometry(width, 20.0);
    const auto frequencies = BandCurveSampler::pixelFrequencies(geometry.axis(), width);

    CurveCalculator calculator;
    std::vector<std::vector<double>> heights;
    const QJsonArray bands = fixture.value(QStringLiteral("bands")).toArray();
    for (int band = 0; band < bands.size(); ++band) {
        setBand(calculator, band, bands[band].toObject());
        std::vector<double> curve = BandCurveSampler::sampleDb(calculator, band, frequencies);
        for (double& value : curve)
            value = geometry.curveHeight(value);
        heights.push_back(curve);
    }
    compareCurves(BandCurveSampler::smoothedTotal(heights, width),
                  toVector(fixture.value(QStringLiteral("db")).toArray()));
}

void TestCurveMath::crossoverMatchesReference_data()
{
    QTest::addColumn<QJsonObject>("spec");
    QTest::addColumn<int>("width");
    const QJsonObject fixture = loadFixture(QStringLiteral("crossover.json"));
    const int width = fixture.value(QStringLiteral("width")).toInt();
    for (const QJsonValue& value : fixture.value(QStringLiteral("cases")).toArray()) {
        const QJsonObject spec = value.toObject();
        QTest::newRow(qPrintable(QStringLiteral("HP %1 %2 Hz, LP %3 %4 Hz, %5 dB")
                                     .arg(spec.value(QStringLiteral("hpType")).toString())
                                     .arg(spec.value(QStringLiteral("hpFrequency")).toDouble())
                                     .arg(spec.value(QStringLiteral("lpType")).toString())
                                     .arg(spec.value(QStringLiteral("lpFrequency")).toDouble())
                                     .arg(spec.value(QStringLiteral("gain")).toDouble())))
            << spec << width;
    }
}

void TestCurveMath::crossoverMatchesReference()
{
    QFETCH(QJsonObject, spec);
    QFETCH(int, width);
    CrossoverCurveCalculator calculator;
    calculator.width = width;
    calculator.height = 100.0;
    const int band = 5;
    calculator.setSlope(band, CrossoverCurveCalculator::HighPass, slope(spec, "hpType"));
    calculator.setSlope(band, CrossoverCurveCalculator::LowPass, slope(spec, "lpType"));
    calculator.setValue(band, CrossoverCurveCalculator::HPFrequency,
                        spec.value(QStringLiteral("hpFrequency")).toDouble());
    calculator.setValue(band, CrossoverCurveCalculator::LPFrequency,
                        spec.value(QStringLiteral("lpFrequency")).toDouble());
    calculator.setValue(band, CrossoverCurveCalculator::Gain,
                        spec.value(QStringLiteral("gain")).toDouble());

    std::vector<double> actual;
    for (int x = 0; x < width; x += CrossoverCurveCalculator::kSampleStep)
        actual.push_back(calculator.ComputeGainDB(calculator.frequencyForX(x), band));
    compareCurves(actual, toVector(spec.value(QStringLiteral("db")).toArray()));

    // The drawn curve is the same samples on the -60 .. +20 dB axis, ending on the bottom edge.
    const auto points = calculator.curvePoints(band);
    QCOMPARE(points.size(), actual.size() + 1);
    for (size_t i = 0; i < actual.size(); ++i)
        QVERIFY(std::fabs(points[i].y - calculator.yForGain(actual[i])) < 1e-9);
    QCOMPARE(points.back().x, double(width));
    QCOMPARE(points.back().y, 0.0);
}

void TestCurveMath::flatBands_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("type");
    QTest::addColumn<double>("gain");
    QTest::addColumn<double>("shape");
    QTest::newRow("bell, gain 0") << 1 << 0 << 0.0 << 4.0;
    QTest::newRow("bell, Q 0") << 1 << 0 << 12.0 << 0.0;
    QTest::newRow("low shelf, slope 0") << 1 << 1 << -9.0 << 0.0;
    QTest::newRow("high shelf, gain 0") << 1 << 2 << 0.0 << 6.0;
    QTest::newRow("other word, Q 0") << 1 << -1 << 6.0 << 0.0;
    QTest::newRow("nuq, gain 0") << 3 << 0 << 0.0 << 32.0;
    QTest::newRow("nuq, Q 0") << 3 << 0 << -18.0 << 0.0;
}

void TestCurveMath::flatBands()
{
    QFETCH(int, mode);
    QFETCH(int, type);
    QFETCH(double, gain);
    QFETCH(double, shape);
    CurveCalculator calculator;
    calculator.mode = mode;
    calculator.bands[0] = {shape, shape, gain, 1000.0, type};
    calculator.prep(0);
    const auto frequencies =
        BandCurveSampler::pixelFrequencies(LogFrequencyAxis::parametricEq(), 300);
    for (double f : frequencies)
        QVERIFY2(std::fabs(calculator.gainForFreq(f)) < 0.001, qPrintable(QString::number(f)));
}

void TestCurveMath::knownBandValues()
{
    CurveCalculator calculator;
    calculator.bands[0] = {1.0, 0.0, 6.0, 1000.0, CurveCalculator::Bell};
    calculator.prep(0);
    QVERIFY(std::fabs(calculator.gainForFreq(1000.0) - 6.0) < 0.01);
    QVERIFY(std::fabs(calculator.gainForFreq(500.0) - 2.73) < 0.01);
    QVERIFY(std::fabs(calculator.gainForFreq(2000.0) - 2.72) < 0.01);

    calculator.bands[1] = {1.0, 6.0, 6.0, 1000.0, CurveCalculator::LowShelf};
    calculator.prep(1);
    QVERIFY(std::fabs(calculator.gainForFreq(20.0) - 6.0) < 0.01);
    QVERIFY(std::fabs(calculator.gainForFreq(1000.0) - 3.0) < 0.01);
    QVERIFY(std::fabs(calculator.gainForFreq(22000.0)) < 0.01);

    calculator.bands[2] = {1.0, 6.0, 6.0, 1000.0, CurveCalculator::HighShelf};
    calculator.prep(2);
    QVERIFY(std::fabs(calculator.gainForFreq(20.0)) < 0.01);
    QVERIFY(std::fabs(calculator.gainForFreq(1000.0) - 3.0) < 0.01);
    QVERIFY(std::fabs(calculator.gainForFreq(22000.0) - 6.0) < 0.01);

    // A narrow cut at a low frequency: the case single precision drew tens of dB wrong.
    calculator.mode = 3;
    calculator.bands[3] = {32.0, 0.0, -12.0, 150.0, CurveCalculator::Bell};
    calculator.prep(3);
    QVERIFY(std::fabs(calculator.gainForFreq(150.0) + 12.0) < 0.01);
}

void TestCurveMath::nuqWidthSwitchesAtSixDb()
{
    // Below 6 dB the Nuq bell keeps its Q; from 6 dB on it widens by sqrt(A^2 - 2).
    auto halfGainWidth = [](double gain) {
        CurveCalculator calculator;
        calculator.mode = 3;
        calculator.bands[0] = {4.0, 0.0, gain, 1000.0, CurveCalculator::Bell};
        calculator.prep(0);
        double f = 1000.0;
        while (calculator.gainForFreq(f) > gain / 2.0)
            f *= 1.001;
        return f;
    };
    const double below = halfGainWidth(5.9);
    const double above = halfGainWidth(6.0);
    QVERIFY2(above < below / 1.02, qPrintable(QStringLiteral("%1 %2").arg(below).arg(above)));
}

void TestCurveMath::unusableInputsDesignFlat()
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const double inputs[][3] = {
        {nan, 6, 1}, {1000, nan, 1}, {1000, 6, nan}, {inf, 6, 1}, {1000, 6, -1}};
    for (const auto& in : inputs) {
        QtPEQ::sBiquadCoefs coefs;
        coefs.b1 = 5.0;
        QtPEQ::FilterDesign(in[0], in[1], in[2], QtPEQ::kSampleRate, QtPEQ::PeakingDowl, &coefs);
        QCOMPARE(QtPEQ::biquadGainDB(coefs, 1000.0, 1.0 / QtPEQ::kSampleRate), 0.0);
    }
    // Frequencies past the device's range are held below Nyquist, slopes below the pole of k.
    for (double frequency : {0.0, -5.0, 36000.0, 1e9}) {
        QtPEQ::sBiquadCoefs coefs;
        QtPEQ::FilterDesign(frequency, 6.0, 1.0, QtPEQ::kSampleRate, QtPEQ::PeakingDowl, &coefs);
        QVERIFY(std::isfinite(QtPEQ::biquadGainDB(coefs, 1000.0, 1.0 / QtPEQ::kSampleRate)));
    }
    QtPEQ::sBiquadCoefs coefs;
    QtPEQ::FilterDesign(1000.0, 6.0, 40.0, QtPEQ::kSampleRate, QtPEQ::LowShelfDowl, &coefs);
    QVERIFY(std::isfinite(QtPEQ::biquadGainDB(coefs, 100.0, 1.0 / QtPEQ::kSampleRate)));
    // Types the graphs never design stay flat.
    QtPEQ::FilterDesign(1000.0, 6.0, 1.0, QtPEQ::kSampleRate, QtPEQ::Notch, &coefs);
    QCOMPARE(QtPEQ::biquadGainDB(coefs, 1000.0, 1.0 / QtPEQ::kSampleRate), 0.0);
}

void TestCurveMath::bandIndexOutsideRecords()
{
    CurveCalculator calculator;
    calculator.bands[0] = {1.0, 0.0, 12.0, 1000.0, CurveCalculator::Bell};
    calculator.prep(0);
    calculator.prep(CurveCalculator::kMaxBands);
    QCOMPARE(calculator.gainForFreq(1000.0), 0.0);
    calculator.prep(-1);
    QCOMPARE(calculator.gainForFreq(1000.0), 0.0);
    QVERIFY(!calculator.setValue(CurveCalculator::kMaxBands, CurveCalculator::Gain, 3.0));
    QVERIFY(!calculator.setType(-1, CurveCalculator::LowShelf));
    const std::vector<double> frequencies{100.0, 1000.0};
    QCOMPARE(BandCurveSampler::sampleDb(calculator, 25, frequencies), std::vector<double>(2, 0.0));

    // A value equal to the stored one is no change; a NaN always is.
    QVERIFY(calculator.setValue(1, CurveCalculator::Q, 2.0));
    QVERIFY(!calculator.setValue(1, CurveCalculator::Q, 2.0));
    QVERIFY(calculator.setValue(1, CurveCalculator::Q, std::nan("")));
    QVERIFY(calculator.setValue(1, CurveCalculator::Q, std::nan("")));
    QCOMPARE(CurveCalculator::bandTypeForWord("Bell"), int(CurveCalculator::Bell));
    QCOMPARE(CurveCalculator::bandTypeForWord("Low Shelf"), int(CurveCalculator::LowShelf));
    QCOMPARE(CurveCalculator::bandTypeForWord("High Shelf"), int(CurveCalculator::HighShelf));
    QCOMPARE(CurveCalculator::bandTypeForWord("Notch"), int(CurveCalculator::OtherType));
}

void TestCurveMath::totalCurveOfShorterCurves()
{
    // Band curves of an older, narrower width count as 0 where they have no point; the right
    // edge averages the point with itself and the last point is 0.
    const std::vector<std::vector<double>> curves{{2, 4, 6, 8}, {1, 1}};
    QCOMPARE(BandCurveSampler::smoothedTotal(curves, 4), (std::vector<double>{4, 6, 7, 0}));
    QCOMPARE(BandCurveSampler::smoothedTotal(curves, 5), (std::vector<double>{4, 6, 7, 8, 0}));
    QVERIFY(BandCurveSampler::smoothedTotal(curves, 0).empty());
    QVERIFY(BandCurveSampler::pixelFrequencies(LogFrequencyAxis::parametricEq(), -3).empty());
}

void TestCurveMath::crossoverArrivingValues()
{
    using C = CrossoverCurveCalculator;
    C calculator;
    QVERIFY(calculator.setValue(0, C::HPFrequency, 0.0));
    QCOMPARE(calculator.bands[0].HPFrequency, 16.0);
    QVERIFY(calculator.setValue(0, C::LPFrequency, 0.0));
    QCOMPARE(calculator.bands[0].LPFrequency, 20000.0);
    QVERIFY(!calculator.setValue(0, C::LPFrequency, 30000.0));
    QVERIFY(calculator.setValue(0, C::LPFrequency, 10000.0));
    QVERIFY(calculator.setValue(0, C::HPFrequency, 100.0));
    QVERIFY(calculator.setValue(0, C::HPFrequency, 5.0));
    QCOMPARE(calculator.bands[0].HPFrequency, 16.0);
    QVERIFY(calculator.setValue(0, C::Gain, -90.0));
    QCOMPARE(calculator.bands[0].Gain, -60.0);
    QVERIFY(!calculator.setValue(0, C::Gain, std::nan("")));
    QVERIFY(!calculator.setValue(C::kMaxBands, C::Gain, 1.0));
    QVERIFY(calculator.setSlope(0, C::HighPass, C::LR24));
    QVERIFY(!calculator.setSlope(0, C::HighPass, C::LR24));
    QVERIFY(!calculator.setSlope(-1, C::LowPass, C::LR24));
    QCOMPARE(C::slopeTypeForWord("LR 18"), C::Unfiltered);
    QCOMPARE(C::slopeTypeForWord("BW 48"), C::BW48);
    QCOMPARE(C::slopeTypeForWord("LR 12"), C::LR12);
}

void TestCurveMath::crossoverKnownValues()
{
    using C = CrossoverCurveCalculator;
    C calculator;
    calculator.width = 800;
    calculator.height = 150;
    calculator.bands[0] = {C::LR24, 100.0, C::LR24, 20000.0, 0.0};
    // One decade below an LR 24 high-pass shows as -64 dB (16/20 of -80).
    QVERIFY(std::fabs(calculator.ComputeGainDB(10.0, 0) + 64.0) < 0.01);
    QVERIFY(std::fabs(calculator.ComputeGainDB(100.0, 0) + 4.8165) < 0.01);
    calculator.bands[1] = {C::BW12, 100.0, C::Unfiltered, 20000.0, 0.0};
    QVERIFY(std::fabs(calculator.ComputeGainDB(100.0, 1) + 2.408) < 0.01);
    QVERIFY(std::fabs(C::ComputeNormalizedResult(C::BW12, 1.0) - std::sqrt(0.5)) < 1e-12);
    QCOMPARE(C::ComputeNormalizedResult(C::Unfiltered, 7.0), 1.0);
    // +6 dB with both filters far away: 2H * 66/80 above the bottom.
    calculator.bands[2] = {C::LR48, 16.0, C::LR48, 20000.0, 6.0};
    QVERIFY(std::fabs(calculator.yForGain(calculator.ComputeGainDB(1000.0, 2)) -
                      300.0 * 66.0 / 80.0) < 0.01);
    QVERIFY(std::fabs(calculator.ComputeGain(1000.0, 2) - std::pow(10.0, 6.0 / 16.0)) < 1e-4);
    // Handles sit on the curve at the filter frequencies.
    const auto handles = calculator.handles(0);
    QVERIFY(std::fabs(handles.first.x - calculator.xForFreq(100.0)) < 1e-9);
    QVERIFY(std::fabs(handles.first.y - calculator.yForGain(-4.8165)) < 0.01);
    QCOMPARE(calculator.gainForY(150.0), 20.0);

    calculator.width = 0;
    QCOMPARE(calculator.ComputeGainDB(1000.0, 0), 0.0);
    QCOMPARE(calculator.xForFreq(1000.0), 0.0);
    QCOMPARE(calculator.frequencyForX(10.0), 0.0);
    const auto points = calculator.curvePoints(0);
    QCOMPARE(points.size(), size_t(1));
    QCOMPARE(points[0].x, 0.0);
    QCOMPARE(points[0].y, 0.0);
}

void TestCurveMath::filterNames()
{
    QCOMPARE(QtPEQ::GetFilterName(QtPEQ::PeakingDowl), QStringLiteral("Peaking Dowl"));
    QCOMPARE(QtPEQ::GetFilterName(QtPEQ::HighShelfJqPlus), QStringLiteral("High Shelf Jq+"));
    QCOMPARE(QtPEQ::GetFilterName(static_cast<QtPEQ::eFilterType>(24)),
             QStringLiteral("NEEDS NAME"));
    QtPEQ::sBiquadCoefs coefs;
    // 1/(s+1) style check of the transform: unity at DC for N0 = E0.
    QtPEQ::BilinearTx2nd(0.0, 0.0, 1.0, 1.0, 1.4142, 1.0, 0.5, &coefs);
    QVERIFY(std::fabs(QtPEQ::biquadGainDB(coefs, 0.001, 1.0)) < 1e-6);
}

QTEST_GUILESS_MAIN(TestCurveMath)
#include "tst_curvemath.moc"
