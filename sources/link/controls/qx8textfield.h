#pragma once

#include "qx8label.h"

#include <optional>

// An editable label in one unit. The device may report a value in several units at once,
// separated by "/"; the field shows the part in its own unit. Text the screen writes into
// `labelValue` goes to the device with the unit appended; what the user types goes through
// writeTyped(), which checks a number before it is written. A value it wrote shows as it was
// given, and one written by another control in this field's unit, pending, until the device has
// answered every write to the variable; then its value shows, whatever it is.
class QX8TextField : public QX8Label
{
    Q_OBJECT
    Q_PROPERTY(QString unit READ unit WRITE setUnit NOTIFY unitChanged)

public:
    explicit QX8TextField(QObject* parent = nullptr);
    ~QX8TextField() override;

    QString unit() const { return m_unit; }
    void setUnit(const QString& unit);
    // Writes the text given, in this field's unit.
    void setLabelValue(const QString& labelValue) override;

    // Writes what the user typed, leaving the shown value to the device's answer. For a number
    // variable of the device model only a number in its range, in this field's unit, goes out,
    // at the variable's resolution (TypedNumber); any other variable takes the text with the
    // unit appended. Returns why nothing was written (naming the range), else an empty text.
    Q_INVOKABLE QString writeTyped(const QString& text);

    // The part of a multi-unit value text that is in `unit`, if any.
    static std::optional<QString> partInUnit(const QString& valueText, const QString& unit);

Q_SIGNALS:
    void unitChanged(QString& a);

protected:
    std::optional<QString> shownOf(const QString& valueText) const override;
    QString shownWhileWritten(const QString& written) const override;

private:
    // A value this field wrote and the text it shows for it.
    struct OwnWrite
    {
        QString value;
        QString shown;
    };

    QString withUnit(const QString& text) const;
    void write(const QString& value, const QString& shown);

    QString m_unit;
    std::optional<OwnWrite> m_ownWrite;
};
