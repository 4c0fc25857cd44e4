#pragma once

#include "qx8control.h"

#include "writethrottle.h"

#include <limits>
#include <optional>

// A slider bound to one variable, by default in percent of its range. A drag writes throttled
// positions. The position shown is the device's, or while positions written await its answer
// (or wait in the throttle) the newest of them, pending: an answer to an earlier one neither
// pulls the slider back nor is written again. A ratio slider spreads the fixed steps of its
// ratio table evenly over the travel.
class QX8Slider : public QX8Control
{
    Q_OBJECT
    Q_PROPERTY(float stringProperty READ stringProperty WRITE setStringProperty NOTIFY
                   stringPropertyChanged)
    Q_PROPERTY(bool ratioSlider READ ratioSlider WRITE setRatioSlider)

public:
    static constexpr int kThrottleMs = 30;
    static constexpr int kRatioSteps = 38;

    explicit QX8Slider(QObject* parent = nullptr);
    ~QX8Slider() override;

    float stringProperty() const { return m_stringProperty; }
    void setStringProperty(const float& value);
    bool ratioSlider() const { return m_ratioSlider; }
    void setRatioSlider(bool ratioSlider) { m_ratioSlider = ratioSlider; }

    Q_INVOKABLE void setValueWithoutFeedback(const float& a);
    // The position `steps` steps of the variable's resolution away (of the ratio table, for a
    // ratio slider), inside the travel: where a key moves the slider.
    Q_INVOKABLE float steppedPosition(float position, int steps) const;

    // Device percent value of each ratio step, ascending.
    static float ratioTableEntry(int step);
    // The position that a reply text shows, if it carries one.
    std::optional<float> positionOfReply(const QString& text, const QString& replyValueType) const;
    // The value text written for a position: the ratio step's device percent for a ratio slider.
    QString valueTextForPosition(float position) const;

Q_SIGNALS:
    void stringPropertyChanged(float string);

protected Q_SLOTS:
    virtual void onStringPropertyChanged(float data);
    void onThrottleTimeOut();
    void handleDataAvailable(DataFromDevice data) override;
    void sendDataRequest() override;
    void sendUnSubRequest() override;
    void onVimbalReady() override;

protected:
    // The device's acknowledgement carries the value it took.
    bool takesAcknowledgements() const override { return true; }

private:
    void writePosition(float position);
    // The newest position written or waiting to be, else the device's.
    float latestPosition() const;
    void showLatest();
    void writesChanged() override { showLatest(); }

    float m_lastDeviceValue = std::numeric_limits<float>::quiet_NaN();
    float m_stringProperty = -1.0f;
    WriteThrottle<float> m_throttle{kThrottleMs, [this] { onThrottleTimeOut(); }};
    bool m_ratioSlider = false;
};
