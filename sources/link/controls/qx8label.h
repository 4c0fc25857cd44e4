#pragma once

#include "qx8control.h"

#include <optional>

// Shows the value text of one variable as the device writes it, units included. While writes to
// the variable await the device's answer, whoever made them, it shows the newest as the device
// will report it, pending: an answer to an earlier write does not pull it back, and once the last
// is answered the device's value shows, whatever it is.
class QX8Label : public QX8Control
{
    Q_OBJECT
    Q_PROPERTY(QString labelValue READ labelValue WRITE setLabelValue NOTIFY labelValueChanged)

public:
    explicit QX8Label(QObject* parent = nullptr);

    QString labelValue() const { return m_labelValue; }
    // Shows the text given until the next value comes.
    virtual void setLabelValue(const QString& labelValue);

Q_SIGNALS:
    void labelValueChanged(QString string);

protected Q_SLOTS:
    void handleDataAvailable(DataFromDevice data) override;

protected:
    // The writer's acknowledgement carries the value the device took.
    bool takesAcknowledgements() const override { return true; }
    // What the label shows of a value text of its variable; none when it holds nothing for it.
    virtual std::optional<QString> shownOf(const QString& valueText) const { return valueText; }
    // What the label shows while `written` is the newest write awaiting its answer: the device's
    // report of it, or what it showed when that holds nothing for it.
    virtual QString shownWhileWritten(const QString& written) const;
    // Shows the newest write awaiting its answer, pending, else the device's value.
    void showLatest();

private:
    void show(const QString& text);
    void writesChanged() override { showLatest(); }

    QString m_labelValue;
    QString m_deviceShown;
};
