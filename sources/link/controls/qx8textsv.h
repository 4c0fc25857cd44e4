#pragma once

#include "qx8control.h"

#include "writethrottle.h"

// The text held by one state variable. A property write goes to the device at once unless it
// repeats what the device reported; setValueWithoutFeedback() is throttled like a drag.
class QX8TextSV : public QX8Control
{
    Q_OBJECT
    Q_PROPERTY(QString value READ value WRITE setValue NOTIFY valueChanged)

public:
    static constexpr int kThrottleMs = 100;

    explicit QX8TextSV(QObject* parent = nullptr);
    ~QX8TextSV() override;

    QString value() const { return m_value; }
    void setValue(const QString& value);

    Q_INVOKABLE void setValueWithoutFeedback(const QString& a);
    Q_INVOKABLE void requestValue();
    Q_INVOKABLE void cancelSubscription();
    Q_INVOKABLE void subscribe();
    // Clears the value here without writing to the device, so that its next report is news
    // even when it repeats the last one (after a lost connection).
    Q_INVOKABLE void forgetValue();

Q_SIGNALS:
    void valueChanged(QString string);

protected Q_SLOTS:
    void sendDataRequest() override;
    void onValueChanged(QString data);
    void onThrottleTimeOut();
    void onResendDataRequest(bool send) override;
    void handleDataAvailable(DataFromDevice data) override;
    void onVimbalReady() override;
    void onConnectionLost() override;

private:
    QString m_value;
    QString m_lastDeviceValue;
    WriteThrottle<QString> m_throttle{kThrottleMs, [this] { onThrottleTimeOut(); }};
    bool m_requestAllowed = true;
};
