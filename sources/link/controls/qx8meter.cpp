#include "qx8meter.h"

#include "piecewisescale.h"
#include "valuetext.h"

QX8Meter::QX8Meter(QObject* parent) : QX8PolledControl(QStringLiteral("Meter"), parent) {}

void QX8Meter::setMeterValue(const QString& meterValue)
{
    if (meterValue == m_meterValue)
        return;
    m_meterValue = meterValue;
    Q_EMIT meterValueChanged(m_meterValue);
}

QString QX8Meter::shownText(const QString& replyText) const
{
    const std::optional<double> level = ValueText::number(replyText);
    const PiecewiseScale scale(m_rangeBoundaryValues, m_rangeLengthsInPercentage);
    if (valueType() == QLatin1String("%") || !scale.isUsable())
        return level ? QString::number(*level, 'g', 6) : replyText;
    const float shown = float(level.value_or(0.0));
    if (m_cppSignalThreshold > shown)
        return QStringLiteral("0");
    const float position = float(scale.positionOf(shown).value_or(0.0));
    return QString::number(position, 'g', 6);
}
