#pragma once

#include "qx8polledcontrol.h"

#include <limits>

// A level meter: it turns the polled level (dB) into a fill percentage with a piecewise scale
// given by its screen.
class QX8Meter : public QX8PolledControl
{
    Q_OBJECT
    Q_PROPERTY(QString meterValue READ meterValue WRITE setMeterValue NOTIFY meterValueChanged)
    Q_PROPERTY(double cppSignalThreshold MEMBER m_cppSignalThreshold)
    Q_PROPERTY(QList<qreal> rangeBounaryValues MEMBER m_rangeBoundaryValues)
    Q_PROPERTY(QList<qreal> rangeLengthsInPercentage MEMBER m_rangeLengthsInPercentage)
    Q_PROPERTY(QStringList rangeColorsInHex MEMBER m_rangeColorsInHex)

public:
    explicit QX8Meter(QObject* parent = nullptr);

    QString meterValue() const { return m_meterValue; }
    void setMeterValue(const QString& meterValue);
    void setCppSignalThreshold(double threshold) { m_cppSignalThreshold = threshold; }
    void setRangeBounaryValues(const QList<qreal>& values) { m_rangeBoundaryValues = values; }
    void setRangeLengthsInPercentage(const QList<qreal>& lengths)
    {
        m_rangeLengthsInPercentage = lengths;
    }

    // The text shown for a reply's value text.
    QString shownText(const QString& replyText) const;

Q_SIGNALS:
    void meterValueChanged(QString string);

protected:
    QString pollValueType() const override { return valueType(); }
    void takeReplyValue(const QString& value) override { setMeterValue(shownText(value)); }

private:
    QString m_meterValue;
    double m_cppSignalThreshold = -std::numeric_limits<double>::infinity();
    QList<qreal> m_rangeBoundaryValues;
    QList<qreal> m_rangeLengthsInPercentage;
    QStringList m_rangeColorsInHex;
};
