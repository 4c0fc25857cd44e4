#pragma once

#include "qx8control.h"

// Mirrors the text value of one variable and writes an entry chosen on the screen.
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

private:
    QString m_deviceSvValue;
};
