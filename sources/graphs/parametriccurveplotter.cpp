#include "parametriccurveplotter.h"

#include "qx8numericalsv.h"

#include <QDebug>
#include <cmath>

ParametricCurvePlotter::ParametricCurvePlotter(int mode, const LogFrequencyAxis& axis, int step,
                                               QObject* parent)
    : CurvePlotterBase(kSettleMs, step, parent), m_axis(axis)
{
    m_calculator.mode = mode;
}

bool ParametricCurvePlotter::bindBands(const QString& poName, int bandCount)
{
    int count = bandCount;
    if (count > CurveCalculator::kMaxBands) {
        qWarning() << "Band count" << bandCount << "held at" << CurveCalculator::kMaxBands;
        count = CurveCalculator::kMaxBands;
    }
    count = qMax(0, count);
    if (!rebind(poName, count))
        return false;
    m_calculator.bandCount = count;
    m_calculator.bands = {};
    m_heights.clear();
    startSettling();
    if (poName.isEmpty()) {
        qWarning() << "PONAME EMPTY ABORTING NumSV Creation";
        return false;
    }
    return count > 0;
}

QString ParametricCurvePlotter::svName(int band, const QString& parameter)
{
    return QStringLiteral("Band_%1_%2").arg(band + 1).arg(parameter);
}

void ParametricCurvePlotter::addNumericBand(int band, const QStringList& parameters,
                                            const QString& entityName)
{
    for (const QString& parameter : parameters) {
        QX8NumericalSV* control = m_variables.add<QX8NumericalSV>(
            poName(), svName(band, parameter), band, parameter, entityName,
            BandVariables::Subscription::OnNamesAndComplete);
        connect(control, &QX8NumericalSV::valueChanged, this, &ParametricCurvePlotter::onSVChanged);
    }
    m_calculator.bands[band] = CurveCalculator::Band{};
    m_heights.emplace_back();
    m_curves.append(Curve());
}

void ParametricCurvePlotter::onSVChanged(float value)
{
    const int band = m_variables.bandOf(sender());
    const QString parameter = m_variables.parameterOf(sender());
    // A value that is no number is no reading: the band keeps what it had.
    if (band < 0 || !std::isfinite(value))
        return;
    const bool bandCompleted = noteArrival(sender());
    CurveCalculator::Parameter field;
    if (parameter == QLatin1String("Frequency"))
        field = CurveCalculator::Frequency;
    else if (parameter == QLatin1String("Gain"))
        field = CurveCalculator::Gain;
    else if (parameter == QLatin1String("Q"))
        field = CurveCalculator::Q;
    else if (parameter == QLatin1String("Slope"))
        field = CurveCalculator::Slope;
    else
        return;
    if (m_calculator.setValue(band, field, value) || bandCompleted)
        refreshBandPoints(band);
}

float ParametricCurvePlotter::gainPointForLogFreq(int x) const
{
    LevelMapping mapping = levelMapping();
    mapping.offset = 0.0;
    return float(mapping.apply(m_calculator.gainForFreq(m_axis.frequencyAt(x, width()))));
}

void ParametricCurvePlotter::sampleBand(int band, const LevelMapping& mapping)
{
    m_step = 1;
    if (m_sampler.width() != width())
        m_sampler.setAxis(m_axis, width());
    m_sampler.sampleBand(m_calculator, band, mapping, m_heights[band]);
    writeCurve(m_heights[band], m_curves[band]);
}

void ParametricCurvePlotter::writeCurve(const std::vector<double>& heights, Curve& curve)
{
    const int count = static_cast<int>(heights.size());
    curve.resize(count);
    // Written in place; where a painter still shares the old points, the write gives the curve
    // storage of its own, and that is how the painter sees the change.
    QPointF* point = curve.data();
    for (int x = 0; x < count; ++x)
        point[x] = QPointF(x, heights[x]);
}
