#include "qx8peqcurveplotter.h"

#include "peqgeometry.h"
#include "qx8numericalsv.h"
#include "qx8textsv.h"

namespace {

const QString numericEntity = QStringLiteral("AEQ NumSV");
const QString textEntity = QStringLiteral("AEQ TextSV");

} // namespace

QX8PEQCurvePlotter::QX8PEQCurvePlotter(QObject* parent, int step)
    : ParametricCurvePlotter(1, LogFrequencyAxis::parametricEq(), step, parent)
{
}

void QX8PEQCurvePlotter::init(const QString& poName, int bandCount)
{
    if (!bindBands(poName, bandCount))
        return;
    const QStringList numbers{QStringLiteral("Frequency"), QStringLiteral("Gain"),
                              QStringLiteral("Q"), QStringLiteral("Slope")};
    const QString type = QStringLiteral("Type");
    for (int band = 0; band < this->bandCount(); ++band) {
        addNumericBand(band, numbers, numericEntity);
        QX8TextSV* control =
            m_variables.add<QX8TextSV>(this->poName(), svName(band, type), band, type, textEntity,
                                       BandVariables::Subscription::OnNamesAndComplete);
        connect(control, &QX8TextSV::valueChanged, this,
                qOverload<QString>(&QX8PEQCurvePlotter::onSVChanged));
    }
    m_curves.append(Curve()); // the total
}

PeqGeometry QX8PEQCurvePlotter::geometry() const
{
    return PeqGeometry(boundRectangle().width(), boundRectangle().height());
}

LevelMapping QX8PEQCurvePlotter::levelMapping() const
{
    return geometry().levelMapping();
}

void QX8PEQCurvePlotter::onSVChanged(QString value)
{
    const int band = m_variables.bandOf(sender());
    if (band < 0)
        return;
    noteArrival(sender());
    m_calculator.setType(band, CurveCalculator::bandTypeForWord(value.toStdString()));
    refreshBandPoints(band);
}

void QX8PEQCurvePlotter::refreshBandPoints(int band)
{
    if (!canRefresh() || band < 0 || band >= bandCount())
        return;
    sampleBand(band, levelMapping());
    refreshTotal();
    emitCurves();
}

void QX8PEQCurvePlotter::refreshAllBands()
{
    if (!canRefresh())
        return;
    const LevelMapping mapping = levelMapping();
    for (int band = 0; band < bandCount(); ++band)
        sampleBand(band, mapping);
    refreshTotal();
    emitCurves();
}

void QX8PEQCurvePlotter::refreshTotal()
{
    BandCurveSampler::smoothedTotal(m_heights, width(), m_total);
    writeCurve(m_total, m_curves[bandCount()]);
}

std::optional<QPoint> QX8PEQCurvePlotter::handle(int band) const
{
    if (band < 0 || band >= bandCount() || isGuess(band))
        return std::nullopt;
    const CurveCalculator::Band& record = m_calculator.bands[band];
    const auto point = geometry().handle(record.Frequency, record.Gain);
    if (!point)
        return std::nullopt;
    return QPoint(point->x, point->y);
}

void QX8PEQCurvePlotter::setControlPoint(int band, int x, int y)
{
    const auto setting = geometry().settingForHandle(x, y);
    QX8NumericalSV* frequency = m_variables.numeric(svName(band, QStringLiteral("Frequency")));
    QX8NumericalSV* gain = m_variables.numeric(svName(band, QStringLiteral("Gain")));
    if (!setting || frequency == nullptr || gain == nullptr)
        return;
    frequency->setValueWithoutFeedback(float(setting->frequency));
    gain->setValueWithoutFeedback(float(setting->gain));
}

float QX8PEQCurvePlotter::xForFreq(float frequency) const
{
    return float(geometry().overlayX(frequency));
}

float QX8PEQCurvePlotter::yForGain(float gain) const
{
    return float(geometry().overlayY(gain));
}

int QX8PEQCurvePlotter::filterType(const QString& word) const
{
    return CurveCalculator::bandTypeForWord(word.toStdString());
}
