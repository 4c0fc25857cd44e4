#include "crossovercurveplotter.h"

#include "qx8numericalsv.h"
#include "qx8textsv.h"

#include <QDebug>
#include <cmath>

CrossoverCurvePlotter::CrossoverCurvePlotter(QObject* parent, int step)
    : CurvePlotterBase(kSettleMs, step, parent)
{
}

void CrossoverCurvePlotter::init(const QString& poName, int bandCount, int waysCount, int subsCount)
{
    // Past the ways every band binds the one set of MonoSub variables, so one sub at most.
    const int limit = qMin(CrossoverCurveCalculator::kMaxBands, qMax(0, waysCount) + 1);
    int count = qMax(0, bandCount);
    if (count > limit) {
        qWarning() << "Crossover band count" << bandCount << "held at" << limit << "for"
                   << waysCount << "ways";
        count = limit;
    }
    if (!rebind(poName, count, {QString::number(waysCount), QString::number(subsCount)}))
        return;
    m_waysCount = waysCount;
    m_subsCount = subsCount;
    m_handles.clear();
    m_calculator.bands = {};
    if (poName.isEmpty()) {
        qWarning() << "PONAME EMPTY ABORTING NumSV Creation";
        return;
    }
    const QStringList numbers{QStringLiteral("HPFrequency"), QStringLiteral("Gain"),
                              QStringLiteral("LPFrequency")};
    const QStringList words{QStringLiteral("HPType"), QStringLiteral("LPType"),
                            QStringLiteral("Polarity")};
    // The names subscribe the objects once the device is ready.
    const auto subscription = BandVariables::Subscription::OnNames;
    for (int band = 0; band < count; ++band) {
        for (const QString& parameter : numbers) {
            QX8NumericalSV* control = m_variables.add<QX8NumericalSV>(
                poName, svName(band, parameter), band, parameter, QString(), subscription);
            connect(control, &QX8NumericalSV::valueChanged, this,
                    qOverload<float>(&CrossoverCurvePlotter::onSVChanged));
        }
        for (const QString& parameter : words) {
            QX8TextSV* control = m_variables.add<QX8TextSV>(poName, svName(band, parameter), band,
                                                            parameter, QString(), subscription);
            connect(control, &QX8TextSV::valueChanged, this,
                    qOverload<QString>(&CrossoverCurvePlotter::onSVChanged));
        }
        m_curves.append(Curve());
    }
    startSettling();
}

QString CrossoverCurvePlotter::svName(int band, const QString& parameter) const
{
    if (band < m_waysCount)
        return QStringLiteral("Band_%1_%2").arg(band + 1).arg(parameter);
    return QStringLiteral("MonoSub_") + parameter;
}

int CrossoverCurvePlotter::getSlopeType(const QString& word) const
{
    return CrossoverCurveCalculator::slopeTypeForWord(word.toStdString());
}

QVariantList CrossoverCurvePlotter::controlPoint(int band) const
{
    const QPair<QPointF, QPointF> pair = m_handles.value(band);
    return {pair.first, pair.second};
}

void CrossoverCurvePlotter::onSVChanged(float value)
{
    qDebug() << "In Function: " << Q_FUNC_INFO;
    const int band = m_variables.bandOf(sender());
    const QString parameter = m_variables.parameterOf(sender());
    if (band < 0 || !std::isfinite(value))
        return;
    noteArrival(sender());
    if (parameter == QLatin1String("HPFrequency"))
        m_calculator.setValue(band, CrossoverCurveCalculator::HPFrequency, value);
    else if (parameter == QLatin1String("Gain"))
        m_calculator.setValue(band, CrossoverCurveCalculator::Gain, value);
    else if (parameter == QLatin1String("LPFrequency"))
        m_calculator.setValue(band, CrossoverCurveCalculator::LPFrequency, value);
    refreshBandPoints(band);
}

void CrossoverCurvePlotter::onSVChanged(QString value)
{
    const int band = m_variables.bandOf(sender());
    const QString parameter = m_variables.parameterOf(sender());
    qDebug() << " CrossoverCurvePlotter::onSVChanged  QString Value = " << value;
    qDebug() << " Sender Name = " << m_variables.svNameOf(sender()) << "| Value = " << value
             << "| Index = " << band;
    if (band < 0)
        return;
    noteArrival(sender());
    const auto type = CrossoverCurveCalculator::slopeTypeForWord(value.toStdString());
    if (parameter == QLatin1String("HPType"))
        m_calculator.setSlope(band, CrossoverCurveCalculator::HighPass, type);
    else if (parameter == QLatin1String("LPType"))
        m_calculator.setSlope(band, CrossoverCurveCalculator::LowPass, type);
    refreshBandPoints(band);
}

void CrossoverCurvePlotter::onBoundRectangleChanged(QRectF rectangle)
{
    qDebug() << " CrossoverCurvePlotter::onBoundRectangleChanged " << rectangle;
    CurvePlotterBase::onBoundRectangleChanged(rectangle);
}

void CrossoverCurvePlotter::timerTick()
{
    qDebug() << "CrossoverCurvePlotter::timerTick with Band Count";
    qDebug() << "-- Band Count (in cpp): " << bandCount();
    CurvePlotterBase::timerTick();
}

void CrossoverCurvePlotter::refreshBandPoints(int band)
{
    qDebug() << " CrossoverCurvePlotter::refreshBandPoints" << band;
    m_calculator.width = boundRectangle().width();
    m_calculator.height = boundRectangle().height();
    if (isSettling() || m_curves.isEmpty() || band < 0 || band >= m_curves.size())
        return;
    const std::vector<CrossoverCurveCalculator::Point> points = m_calculator.curvePoints(band);
    Curve& curve = m_curves[band];
    curve.resize(static_cast<int>(points.size()));
    for (int i = 0; i < curve.size(); ++i)
        curve[i] = QPointF(points[i].x, points[i].y);
    const auto handles = m_calculator.handles(band);
    m_handles.insert(band, {QPointF(handles.first.x, handles.first.y),
                            QPointF(handles.second.x, handles.second.y)});
    emitCurves();
}
