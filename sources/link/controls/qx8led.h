#pragma once

#include "qx8polledcontrol.h"

// A clip LED: polled like a meter, it hands the device's reply text through.
class QX8LED : public QX8PolledControl
{
    Q_OBJECT
    Q_PROPERTY(QString value READ value WRITE setValue NOTIFY valueChanged)

public:
    explicit QX8LED(QObject* parent = nullptr);

    QString value() const { return m_value; }
    void setValue(const QString& value);

Q_SIGNALS:
    void valueChanged(QString string);

protected:
    // The LED's own value type never reaches its requests.
    QString pollValueType() const override { return QString(); }
    void takeReplyValue(const QString& value) override { setValue(value); }

private:
    QString m_value;
};
