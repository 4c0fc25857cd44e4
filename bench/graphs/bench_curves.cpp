// Times a full recompute of a 12-band parametric EQ at 1024 pixels, a 6-way crossover, and one
// dragged band (one band and the total recomputed, the item painted), and prints numpy/scipy's
// time for the same curves in the same run.
#include "bandcurvesampler.h"
#include "crossovercurvecalculator.h"
#include "curvecalculator.h"
#include "peqgeometry.h"
#include "qx8peqgraphitem.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QProcess>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int kWidth = 1024;
constexpr int kRepeats = 200;

struct Bell
{
    double frequency;
    double gain;
    double q;
};
const Bell kBells[12] = {{60, 4.5, 0.7}, {120, -3, 2},    {250, 6, 1.2},    {400, -9, 8},
                         {800, 2, 0.7},  {1500, -4.5, 4}, {2500, 12, 16},   {4000, -15, 32},
                         {6300, 3, 1},   {9000, 8, 3},    {14000, -2, 0.5}, {18000, -6, 10}};
struct Way
{
    double hp;
    double lp;
    double gain;
};
const Way kWays[6] = {{16, 60, 0},      {60, 250, -2},    {250, 1200, 1},
                      {1200, 4000, -3}, {4000, 12000, 0}, {12000, 20000, 2}};

using Curves = QList<QMap<float, float>>;

double medianMs(const std::function<void()>& work)
{
    std::vector<double> times;
    QElapsedTimer timer;
    for (int i = 0; i < kRepeats; ++i) {
        timer.start();
        work();
        times.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::nth_element(times.begin(), times.begin() + kRepeats / 2, times.end());
    return times[kRepeats / 2];
}

QMap<float, float> toMap(const std::vector<double>& values)
{
    QMap<float, float> map;
    for (size_t x = 0; x < values.size(); ++x)
        map.insert(float(x), float(values[x]));
    return map;
}

// What the parametric-EQ plotter does for one band: sample, map to pixels, rebuild the total.
void refreshPeqBand(CurveCalculator& calculator, int band, const PeqGeometry& geometry,
                    const std::vector<double>& frequencies,
                    std::vector<std::vector<double>>& heights, Curves& curves)
{
    std::vector<double> curve = BandCurveSampler::sampleDb(calculator, band, frequencies);
    for (double& value : curve)
        value = geometry.curveHeight(value);
    heights[size_t(band)] = curve;
    curves[band] = toMap(curve);
    curves.last() = toMap(BandCurveSampler::smoothedTotal(heights, kWidth));
}

QJsonObject scipyTimes()
{
    QJsonArray bells;
    for (const Bell& bell : kBells)
        bells.append(QJsonArray{bell.frequency, bell.gain, bell.q});
    QJsonArray ways;
    for (const Way& way : kWays)
        ways.append(QJsonArray{way.hp, way.lp, way.gain});
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"),
                 {QStringLiteral(QX8_SCIPY_BENCH_SCRIPT),
                  QString::fromUtf8(QJsonDocument(bells).toJson(QJsonDocument::Compact)),
                  QString::fromUtf8(QJsonDocument(ways).toJson(QJsonDocument::Compact)),
                  QString::number(kRepeats)});
    if (!python.waitForFinished(120000) || python.exitCode() != 0) {
        std::fprintf(stderr, "scipy timing failed: %s\n",
                     python.readAllStandardError().constData());
        return {};
    }
    return QJsonDocument::fromJson(python.readAllStandardOutput()).object();
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);

    const PeqGeometry geometry(kWidth, 300);
    CurveCalculator calculator;
    for (int band = 0; band < 12; ++band)
        calculator.bands[size_t(band)] = {kBells[band].q, 0.0, kBells[band].gain,
                                          kBells[band].frequency, CurveCalculator::Bell};
    std::vector<std::vector<double>> heights(12);
    Curves curves;
    for (int i = 0; i <= 12; ++i)
        curves.append(QMap<float, float>());

    const double peqMs = medianMs([&] {
        const auto frequencies = BandCurveSampler::pixelFrequencies(geometry.axis(), kWidth);
        for (int band = 0; band < 12; ++band)
            refreshPeqBand(calculator, band, geometry, frequencies, heights, curves);
    });

    // The maths alone: 12 band curves and one total, no per-band total and no QMap.
    const double peqMathMs = medianMs([&] {
        const auto frequencies = BandCurveSampler::pixelFrequencies(geometry.axis(), kWidth);
        for (int band = 0; band < 12; ++band)
            heights[size_t(band)] = BandCurveSampler::sampleDb(calculator, band, frequencies);
        BandCurveSampler::smoothedTotal(heights, kWidth);
    });

    CrossoverCurveCalculator crossover;
    crossover.width = kWidth;
    crossover.height = 300;
    for (int band = 0; band < 6; ++band) {
        crossover.bands[size_t(band)] = {CrossoverCurveCalculator::LR24, kWays[band].hp,
                                         CrossoverCurveCalculator::LR24, kWays[band].lp,
                                         kWays[band].gain};
    }
    const double crossoverMs = medianMs([&] {
        Curves crossoverCurves;
        for (int band = 0; band < 6; ++band) {
            QMap<float, float> map;
            for (const auto& point : crossover.curvePoints(band))
                map.insert(float(point.x), float(point.y));
            crossoverCurves.append(map);
        }
    });

    // A drag: the band's gain changes, its curve and the total are recomputed, the item repaints.
    QX8PEQGraphItem item;
    item.setSize({kWidth, 600});
    item.setBandColors(QStringList{"red", "green", "blue", "cyan", "magenta", "yellow", "orange",
                                   "purple", "white", "gray", "pink", "brown"});
    item.componentCompleted();
    item.onCurvesChanged(curves);
    QImage image(kWidth, 600, QImage::Format_ARGB32_Premultiplied);
    const auto frequencies = BandCurveSampler::pixelFrequencies(geometry.axis(), kWidth);
    double gain = 0.0;
    const double dragMs = medianMs([&] {
        gain = gain >= 12.0 ? -12.0 : gain + 0.5;
        calculator.bands[6].Gain = gain;
        refreshPeqBand(calculator, 6, geometry, frequencies, heights, curves);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        item.paint(&painter);
    });

    const QJsonObject scipy = scipyTimes();
    std::printf("median of %d runs, milliseconds\n", kRepeats);
    std::printf("12-band parametric EQ, %d px:   C++ %8.3f   numpy/scipy %8.3f\n", kWidth, peqMs,
                scipy.value(QStringLiteral("peq")).toDouble(-1));
    std::printf("  of which the curve maths alone:  C++ %8.3f\n", peqMathMs);
    std::printf("6-way crossover, %d px / 4:     C++ %8.3f   numpy/scipy %8.3f\n", kWidth,
                crossoverMs, scipy.value(QStringLiteral("crossover")).toDouble(-1));
    std::printf("drag one band (recompute + paint 12 bands at %dx600): C++ %8.3f (frame 16.7)\n",
                kWidth, dragMs);
    return scipy.isEmpty() ? 1 : 0;
}
