#pragma once

#include "qx8control.h"

#include "writethrottle.h"

#include <optional>

// The number held by one state variable. Writes are throttled: a burst of changes sends one
// `set` with the latest value, 100 ms after the first; the value shown changes only when the
// device reports it.
class QX8NumericalSV : public QX8Control
{
    Q_OBJECT
    Q_PROPERTY(float value READ value WRITE setValue NOTIFY valueChanged)

public:
    static constexpr int kThrottleMs = 100;

    explicit QX8NumericalSV(QObject* parent = nullptr);
    ~QX8NumericalSV() override;

    float value() const { return m_value; }
    void setValue(const float& value);

    Q_INVOKABLE void setValueWithoutFeedback(const float& a);

    // The number in a device value text ("2.5kHz", "-3dB", "4:1", "1:4", "On"), if it has one.
    static std::optional<float> parseDeviceValue(const QString& text);

Q_SIGNALS:
    void valueChanged(float string);

protected Q_SLOTS:
    void onThrottleTimeOut();
    void onValueChanged(float data);
    void handleDataAvailable(DataFromDevice data) override;

private:
    float m_value = -1000.0f;
    float m_lastDeviceValue = -1000.0f;
    WriteThrottle<float> m_throttle{kThrottleMs, [this] { onThrottleTimeOut(); }};
};
