#pragma once

#include "qx8control.h"

#include "writethrottle.h"

#include <optional>

// A fader bound to one variable: a position of 0..100 % laid over the native value (usually dB)
// by a piecewise scale, or linearly between minimum and maximum. What it writes for a position
// is the value that position shows, at the variable's resolution. The position shown is the
// device's, or while values written await its answer (or wait in the throttle) the newest of
// them, pending: an answer to an earlier one does not pull the fader back.
class Fader : public QX8Control
{
    Q_OBJECT
    Q_PROPERTY(double faderValue READ faderValue WRITE setFaderValue NOTIFY faderValueChanged)
    Q_PROPERTY(double minimum MEMBER m_minimum)
    Q_PROPERTY(double maximum MEMBER m_maximum)
    Q_PROPERTY(QList<qreal> rangeBounaryValues MEMBER m_rangeBoundaryValues)
    Q_PROPERTY(QList<qreal> rangeLengthsInPercentage MEMBER m_rangeLengthsInPercentage)

public:
    static constexpr int kThrottleMs = 20;

    explicit Fader(QObject* parent = nullptr);
    ~Fader() override;

    double faderValue() const { return m_faderValue; }
    void setFaderValue(double value);
    void setMinimum(double minimum) { m_minimum = minimum; }
    void setMaximum(double maximum) { m_maximum = maximum; }
    void setRangeBounaryValues(const QList<qreal>& values) { m_rangeBoundaryValues = values; }
    void setRangeLengthsInPercentage(const QList<qreal>& lengths)
    {
        m_rangeLengthsInPercentage = lengths;
    }

    Q_INVOKABLE void setValueWithoutFeedback(double value);
    // The position of the value `steps` steps of the variable's resolution away from the one
    // `position` shows, inside the travel: where a key moves the fader.
    Q_INVOKABLE double steppedPosition(double position, int steps) const;

    // The native value written for a position, and the position a native value shows.
    std::optional<double> valueForPosition(double position) const;
    std::optional<double> positionForValue(double value) const;

Q_SIGNALS:
    void faderValueChanged(double value);

protected Q_SLOTS:
    void handleDataAvailable(DataFromDevice data) override;
    void onThrottleTimeOut();

protected:
    // The device's acknowledgement carries the value it took.
    bool takesAcknowledgements() const override { return true; }

private:
    bool isPercent() const;
    // The position of the newest value written or waiting to be, else the device's.
    std::optional<double> latestPosition() const;
    void showLatest();
    void writesChanged() override { showLatest(); }

    double m_faderValue = 0;
    std::optional<double> m_devicePosition;
    double m_minimum = 0;
    double m_maximum = 0;
    QList<qreal> m_rangeBoundaryValues;
    QList<qreal> m_rangeLengthsInPercentage;
    WriteThrottle<double> m_throttle{kThrottleMs, [this] { onThrottleTimeOut(); }};
};
