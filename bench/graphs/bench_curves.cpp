// Times the parametric-EQ curves of 12 bands at 1024 pixel columns: the maths alone (axis,
// band designs, band curves, total), a whole recompute through the plotter, and a dragged band
// (its new gain arrives, its curve and the total are recomputed, the graph item paints itself in
// software at 1024x600). numpy's closed form and scipy's sosfreqz compute the same curves in the
// same run. Then one crossover value (its curve recomputed, the graph painted at 1024x600) with
// the debug lines it logs written to a ui.log by the application's handler, beside the same with
// debug lines filtered out. Prints one ROW line per figure for scripts/bench.sh.
#include "bandcurvesampler.h"
#include "crossovercurveplotter.h"
#include "crossovergraphitem.h"
#include "curvecalculator.h"
#include "datafolders.h"
#include "logfrequencyaxis.h"
#include "messagehandler.h"
#include "qx8numericalsv.h"
#include "qx8peqcurveplotter.h"
#include "qx8peqgraphitem.h"
#include "qx8textsv.h"

#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLoggingCategory>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <iterator>
#include <optional>
#include <vector>

namespace {

constexpr int kWidth = 1024;
constexpr int kHeight = 600;
constexpr int kRepeats = 1000;
constexpr int kDragRepeats = 200;

struct Bell
{
    double frequency;
    double gain;
    double q;
};
constexpr Bell kBells[] = {{60, 4.5, 0.7}, {120, -3, 2},    {250, 6, 1.2},    {400, -9, 8},
                           {800, 2, 0.7},  {1500, -4.5, 4}, {2500, 12, 16},   {4000, -15, 32},
                           {6300, 3, 1},   {9000, 8, 3},    {14000, -2, 0.5}, {18000, -6, 10}};
constexpr int kBands = int(std::size(kBells));
constexpr int kDraggedBand = 6;

double medianOf(std::vector<double> samples)
{
    const auto middle = samples.begin() + samples.size() / 2;
    std::nth_element(samples.begin(), middle, samples.end());
    return *middle;
}

// Medians over `repeats` rounds; each round times every piece of work once, in turn, so that
// pieces compared with each other meet the same load from the rest of the machine.
std::vector<double> mediansUs(int repeats, const std::vector<std::function<void()>>& works)
{
    std::vector<std::vector<double>> times(works.size());
    QElapsedTimer timer;
    for (int round = 0; round < repeats; ++round) {
        for (std::size_t i = 0; i < works.size(); ++i) {
            timer.start();
            works[i]();
            times[i].push_back(timer.nsecsElapsed() / 1e3);
        }
    }
    std::vector<double> medians;
    for (std::vector<double>& samples : times)
        medians.push_back(medianOf(std::move(samples)));
    return medians;
}

void printRow(const char* path, const QString& figure, const QString& peer, double ratio,
              const char* goal)
{
    std::printf("ROW|%s|%s|%s|%.2fx|%s\n", path, qPrintable(figure), qPrintable(peer), ratio, goal);
}

QString us(double value)
{
    return QStringLiteral("%1 us").arg(value, 0, 'f', 1);
}

// The maths the graph needs for a full refresh, without Qt containers or painting.
class CurveMaths
{
public:
    CurveMaths()
    {
        for (int band = 0; band < kBands; ++band)
            m_calculator.bands[band] = {kBells[band].q, 0.0, kBells[band].gain,
                                        kBells[band].frequency, CurveCalculator::Bell};
    }

    void run()
    {
        m_sampler.setAxis(LogFrequencyAxis::parametricEq(), kWidth);
        for (int band = 0; band < kBands; ++band)
            m_sampler.sampleBand(m_calculator, band, LevelMapping{}, m_levels[band]);
        BandCurveSampler::smoothedTotal(m_levels, kWidth, m_total);
    }

private:
    CurveCalculator m_calculator;
    BandCurveSampler m_sampler;
    std::vector<std::vector<double>> m_levels = std::vector<std::vector<double>>(kBands);
    std::vector<double> m_total;
};

// numpy's and scipy's times for the same curves, or nothing when Python fails.
std::optional<QJsonObject> pythonPeers()
{
    QJsonArray bells;
    for (const Bell& bell : kBells)
        bells.append(QJsonArray{bell.frequency, bell.gain, bell.q});
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"),
                 {QStringLiteral(QX8_CURVE_PEERS_SCRIPT),
                  QString::fromUtf8(QJsonDocument(bells).toJson(QJsonDocument::Compact)),
                  QString::number(kRepeats / 2)});
    if (!python.waitForFinished(300000) || python.exitStatus() != QProcess::NormalExit ||
        python.exitCode() != 0) {
        std::fprintf(stderr, "numpy/scipy peers failed: %s\n",
                     python.readAllStandardError().constData());
        return std::nullopt;
    }
    return QJsonDocument::fromJson(python.readAllStandardOutput()).object();
}

// A completed 1024x600 parametric-EQ graph whose 12 bands hold the bells, as if the device
// had reported them.
class BenchGraph
{
public:
    BenchGraph()
    {
        m_item.setSize({kWidth, kHeight});
        m_item.setPOName(QStringLiteral("BenchPEQ"));
        m_item.setBandCount(kBands);
        m_item.setBandColors(QStringList{"red", "green", "blue", "cyan", "magenta", "yellow",
                                         "orange", "purple", "white", "gray", "pink", "brown"});
        m_item.componentCompleted();
        while (plotter().isSettling())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        for (int band = 0; band < kBands; ++band) {
            report(band, "Frequency", kBells[band].frequency);
            report(band, "Q", kBells[band].q);
            report(band, "Gain", kBells[band].gain);
        }
    }

    QX8PEQCurvePlotter& plotter() { return *m_item.plotter(); }
    QX8PEQGraphItem& item() { return m_item; }

    // A device report of one band value, as the value object passes it on.
    void report(int band, const char* parameter, double value)
    {
        const QString svName = QStringLiteral("Band_%1_%2").arg(band + 1).arg(parameter);
        emit plotter().variables().numeric(svName)->valueChanged(float(value));
    }

private:
    QX8PEQGraphItem m_item;
};

// A completed 1024x600 crossover graph of three ways and a sub, each band's filters reported
// as the device would.
class BenchCrossover
{
public:
    BenchCrossover()
    {
        m_item.setSize({kWidth, kHeight});
        m_item.setPOName(QStringLiteral("Crossover"));
        m_item.setWaysCount(3);
        m_item.setSubsCount(1);
        m_item.setBandCount(4);
        m_item.setBandColors(QStringList{"cyan", "orange", "violet", "teal"});
        m_item.componentCompleted();
        while (m_item.plotter()->isSettling())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        const char* prefixes[] = {"Band_1_", "Band_2_", "Band_3_", "MonoSub_"};
        const double edges[] = {16, 90, 1200, 5000, 20000};
        for (int band = 0; band < 4; ++band) {
            const QString prefix = QLatin1String(prefixes[band]);
            report(prefix + "HPFrequency", band == 3 ? edges[0] : edges[band + 1]);
            report(prefix + "LPFrequency", band == 3 ? edges[1] : edges[band + 2]);
            for (const char* type : {"HPType", "LPType"})
                emit qobject_cast<QX8TextSV*>(variables().svByName.value(prefix + type))
                    ->valueChanged(QStringLiteral("LR 24"));
        }
    }

    CrossoverGraphItem& item() { return m_item; }

    void report(const QString& svName, double value)
    {
        emit variables().numeric(svName)->valueChanged(float(value));
    }

private:
    const BandVariables& variables() const { return m_item.plotter()->variables(); }

    CrossoverGraphItem m_item;
};

// One crossover value, its curve recomputed and the graph painted, in microseconds: with every
// debug line written to a ui.log of its own by the application's handler, and with debug lines
// filtered out; and the number of lines one value logs.
struct CrossoverLogCost
{
    double loggedUs = 0;
    double filteredUs = 0;
    double linesPerValue = 0;
};

CrossoverLogCost crossoverLogCost()
{
    QTemporaryDir logFolder;
    strLogDir = logFolder.path();
    const QString logPath = strLogDir + QStringLiteral("/ui.log");
    const QtMessageHandler previous = qInstallMessageHandler(messageHandler);
    BenchCrossover crossover;
    QFile::resize(logPath, 0); // what the set-up logged
    QImage image(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
    bool higher = false;
    const auto valueAndPaint = [&] {
        higher = !higher;
        crossover.report(QStringLiteral("Band_2_HPFrequency"), higher ? 1100 : 900);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        crossover.item().paint(&painter);
    };
    // Logged and filtered by turns, so that both meet the same load from the rest of the machine.
    std::vector<double> logged;
    std::vector<double> filtered;
    QElapsedTimer timer;
    for (int round = 0; round < kDragRepeats; ++round) {
        for (const bool filter : {false, true}) {
            QLoggingCategory::setFilterRules(filter ? QStringLiteral("default.debug=false")
                                                    : QString());
            timer.start();
            valueAndPaint();
            (filter ? filtered : logged).push_back(timer.nsecsElapsed() / 1e3);
        }
    }
    QLoggingCategory::setFilterRules(QString());
    QFile log(logPath);
    log.open(QIODevice::ReadOnly);
    CrossoverLogCost cost;
    cost.linesPerValue = double(log.readAll().count('\n')) / kDragRepeats;
    cost.loggedUs = medianOf(std::move(logged));
    cost.filteredUs = medianOf(std::move(filtered));
    qInstallMessageHandler(previous);
    return cost;
}

int run()
{
    CurveMaths maths;
    BenchGraph graph;
    bool wider = false;
    // A pixel wider or back: the axis, every band and the total are computed anew.
    const auto recomputeAll = [&] {
        wider = !wider;
        graph.plotter().setBoundRectangle(QRectF(0, 0, kWidth + (wider ? 1 : 0), kHeight / 2));
    };
    const std::vector<double> recompute = mediansUs(kRepeats, {[&] { maths.run(); }, recomputeAll});
    const double mathsAlone = recompute[0];
    const double wholeRecompute = recompute[1];
    graph.plotter().setBoundRectangle(QRectF(0, 0, kWidth, kHeight / 2));

    QImage image(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
    double gain = -12.0;
    const auto dragAndPaint = [&] {
        gain = gain >= 12.0 ? -12.0 : gain + 0.5;
        graph.report(kDraggedBand, "Gain", gain);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        graph.item().paint(&painter);
    };
    const double drag = mediansUs(kDragRepeats, {dragAndPaint})[0];
    const CrossoverLogCost crossover = crossoverLogCost();

    const std::optional<QJsonObject> peers = pythonPeers();
    if (!peers)
        return 1;
    const double numpy = peers->value(QStringLiteral("closedForm")).toDouble();
    const double scipy = peers->value(QStringLiteral("sosfreqz")).toDouble();
    const char* mathsPath = "12-band PEQ curve maths, 1,024 px";
    printRow(mathsPath, us(mathsAlone), QStringLiteral("numpy closed form: %1").arg(us(numpy)),
             mathsAlone / numpy, "<= 0.5x numpy closed form");
    printRow(mathsPath, us(mathsAlone), QStringLiteral("scipy sosfreqz: %1").arg(us(scipy)),
             mathsAlone / scipy, "-");
    printRow("whole 12-band recompute through the plotter", us(wholeRecompute),
             QStringLiteral("maths alone: %1").arg(us(mathsAlone)), wholeRecompute / mathsAlone,
             "<= 2x the maths alone");
    printRow("drag one band: recompute + paint 12 bands at 1024x600 (software)",
             QStringLiteral("%1 ms").arg(drag / 1e3, 0, 'f', 2),
             QStringLiteral("60 Hz frame: 16.7 ms"), drag / 16667.0, "<= 4 ms");
    printRow(qPrintable(QStringLiteral("one crossover value: recompute + paint 4 bands at "
                                       "1024x600, its %1 debug lines written to ui.log")
                            .arg(crossover.linesPerValue)),
             QStringLiteral("%1 ms").arg(crossover.loggedUs / 1e3, 0, 'f', 2),
             QStringLiteral("debug filtered: %1 ms").arg(crossover.filteredUs / 1e3, 0, 'f', 2),
             crossover.loggedUs / crossover.filteredUs, "<= 1.5x debug filtered");
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    int status = 1;
    // Inside the event loop, so that the application quits as usual and its threads end.
    QTimer::singleShot(0, &app, [&] {
        status = run();
        app.quit();
    });
    app.exec();
    return status;
}
