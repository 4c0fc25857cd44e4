#include "qx8meter.h"

#include "piecewisescale.h"

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
    QString text = replyText;
    const bool percent = valueType() == QLatin1String("%");
    if (percent && text.endsWith(QLatin1Char('%')))
        text.chop(1);
    else if (text.endsWith(QLatin1String("dB"), Qt::CaseInsensitive))
        text.chop(2);
    const PiecewiseScale scale(m_rangeBoundaryValues, m_rangeLengthsInPercentage);
    if (percent || !scale.isUsable())
        return text;
    const float level = text.toFloat();
    if (m_cppSignalThreshold > level)
        return QStringLiteral("0");
    const float position = float(scale.positionOf(level).value_or(0.0));
    return QString::number(position, 'g', 6);
}
