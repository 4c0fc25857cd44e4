#pragma once

#include "qx8control.h"

#include "writethrottle.h"

#include <optional>

// The number held by one state variable. Writes are throttled: a burst of changes sends one
// `set` with the latest value, 100 ms after the first; a change to the value the variable is
// headed for (the newest written or waiting to be, else the device's) is not written. The value
// shown is the device's; with `showsWrites` (a control the user steps) it is the newest written
// while writes await the device's answer, pending, so that the next step starts from it and an
// answer to an earlier one does not pull it back; once the last is answered the device's shows.
class QX8NumericalSV : public QX8Control
{
    Q_OBJECT
    Q_PROPERTY(float value READ value WRITE setValue NOTIFY valueChanged)
    Q_PROPERTY(bool showsWrites READ showsWrites WRITE setShowsWrites)

public:
    static constexpr int kThrottleMs = 100;

    explicit QX8NumericalSV(QObject* parent = nullptr);
    ~QX8NumericalSV() override;

    float value() const { return m_value; }
    void setValue(const float& value);
    bool showsWrites() const { return m_showsWrites; }
    void setShowsWrites(bool showsWrites) { m_showsWrites = showsWrites; }

    Q_INVOKABLE void setValueWithoutFeedback(const float& a);

    // The number in a device value text ("2.5kHz", "-3dB", "4:1", "1:4", "On"), if it has one.
    static std::optional<float> parseDeviceValue(const QString& text);

Q_SIGNALS:
    void valueChanged(float string);

protected Q_SLOTS:
    void onThrottleTimeOut();
    void onValueChanged(float data);
    void handleDataAvailable(DataFromDevice data) override;

protected:
    // Shown writes end with the device's acknowledgement, which carries the value it took.
    bool takesAcknowledgements() const override { return m_showsWrites; }

private:
    float latestValue() const;
    void showLatest();
    void writesChanged() override { showLatest(); }

    float m_value = -1000.0f;
    float m_lastDeviceValue = -1000.0f;
    WriteThrottle<float> m_throttle{kThrottleMs, [this] { onThrottleTimeOut(); }};
    bool m_showsWrites = false;
};
