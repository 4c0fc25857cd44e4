#pragma once

#include "qx8control.h"

// Keeps the selected entry of a group of mutually exclusive buttons in step with one text
// variable. A changed selection is written only once the device has reported a value. While
// selections await the device's answer, the newest is the one selected, pending, and the next
// is compared with it: an answer to an earlier one neither turns the group back nor is written
// again, and once the last is answered (or they went unanswered) the device's value shows.
class QX8ExclusiveGroup : public QX8Control
{
    Q_OBJECT
    Q_PROPERTY(
        QString selectedValue READ selectedValue WRITE setSelectedValue NOTIFY selectedValueChanged)

public:
    explicit QX8ExclusiveGroup(QObject* parent = nullptr);
    ~QX8ExclusiveGroup() override;

    QString selectedValue() const { return m_selectedValue; }
    void setSelectedValue(const QString& selectedValue);

Q_SIGNALS:
    void selectedValueChanged(QString string);

protected Q_SLOTS:
    void handleDataAvailable(DataFromDevice data) override;
    void OnSelectedValueChanged(QString string);

protected:
    // The device's acknowledgement carries the value it took.
    bool takesAcknowledgements() const override { return true; }

private:
    QString latestValue() const;
    void showLatest();
    void writesChanged() override { showLatest(); }

    QString m_selectedValue;
    QString m_lastDeviceValue;
};
