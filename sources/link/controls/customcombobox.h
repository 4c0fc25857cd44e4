#pragma once

#include "qx8control.h"

// Mirrors the text value of one variable and writes an entry chosen on the screen. While picks
// await the device's answer, the newest is the value shown, pending, and the next pick is
// compared with it: an answer to an earlier pick does not turn the box back, and once the last
// is answered (or the picks went unanswered) the device's value shows.
class CustomComboBox : public QX8Control
{
    Q_OBJECT
    Q_PROPERTY(QString deviceSvValue READ deviceSvValue NOTIFY deviceSvValueChanged)

public:
    explicit CustomComboBox(QObject* parent = nullptr);
    ~CustomComboBox() override;

    QString deviceSvValue() const { return m_deviceSvValue; }

    Q_INVOKABLE void setValueWithoutFeedback(const QString& value);

Q_SIGNALS:
    void deviceSvValueChanged(QString string);

protected Q_SLOTS:
    void handleDataAvailable(DataFromDevice data) override;

protected:
    // The device's acknowledgement carries the value it took.
    bool takesAcknowledgements() const override { return true; }

private:
    void showLatest(bool announceUnchanged);
    void writesChanged() override { showLatest(false); }

    QString m_deviceSvValue;
    QString m_lastDeviceValue;
};
