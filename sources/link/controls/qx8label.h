#pragma once

#include "qx8control.h"

// Shows the value text of one variable as the device writes it, units included.
class QX8Label : public QX8Control
{
    Q_OBJECT
    Q_PROPERTY(QString labelValue READ labelValue WRITE setLabelValue NOTIFY labelValueChanged)

public:
    explicit QX8Label(QObject* parent = nullptr);

    QString labelValue() const { return m_labelValue; }
    void setLabelValue(const QString& labelValue);

Q_SIGNALS:
    void labelValueChanged(QString string);

protected Q_SLOTS:
    void handleDataAvailable(DataFromDevice data) override;

private:
    QString m_labelValue;
};
