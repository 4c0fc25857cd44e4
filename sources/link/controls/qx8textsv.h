#pragma once

#include "qx8control.h"

#include "writethrottle.h"

// The text held by one state variable. A property write goes to the device at once unless it
// repeats what the device reported; setValueWithoutFeedback() is throttled like a drag. The
// value follows every reply, as the values that lead the wizard's pages must. With
// `showsWrites` (a control the user switches) it is the newest written while writes await the
// device's answer, pending, and a write is compared with it: an answer to an earlier one neither
// turns the control back nor lets a click write the wrong state; once the last is answered the
// device's value shows.
class QX8TextSV : public QX8Control
{
    Q_OBJECT
    Q_PROPERTY(QString value READ value WRITE setValue NOTIFY valueChanged)
    Q_PROPERTY(bool showsWrites READ showsWrites WRITE setShowsWrites)

public:
    static constexpr int kThrottleMs = 100;

    explicit QX8TextSV(QObject* parent = nullptr);
    ~QX8TextSV() override;

    QString value() const { return m_value; }
    void setValue(const QString& value);
    bool showsWrites() const { return m_showsWrites; }
    void setShowsWrites(bool showsWrites) { m_showsWrites = showsWrites; }

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

protected:
    // Shown writes end with the device's acknowledgement, which carries the value it took.
    bool takesAcknowledgements() const override { return m_showsWrites; }

private:
    // The newest value written or waiting to be, else the device's.
    QString latestValue() const;
    void showLatest();
    void writesChanged() override { showLatest(); }

    QString m_value;
    QString m_lastDeviceValue;
    WriteThrottle<QString> m_throttle{kThrottleMs, [this] { onThrottleTimeOut(); }};
    bool m_requestAllowed = true;
    bool m_showsWrites = false;
};
