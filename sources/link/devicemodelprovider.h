#pragma once

#include "devicemodel.h"

#include <QObject>
#include <QStringList>
#include <QVariant>

// The device model for the screens: the range, unit, resolution, entries and nudge classes of
// the variable a control binds, named as the control names it (processing object and state
// variable, "NPO" and a node path, "Presets" and a storage variable), and the objects each
// page binds. Registered for QML as the singleton DeviceModelProvider.
class DeviceModelProvider : public QObject
{
    Q_OBJECT

public:
    explicit DeviceModelProvider(QObject* parent = nullptr);

    // The model's variable for a control's names; nullptr when the model has none.
    const DeviceModel::Variable* variable(const QString& poName, const QString& svName) const;

    Q_INVOKABLE bool contains(const QString& poName, const QString& svName) const;
    // Undefined in QML for a variable that is not a number.
    Q_INVOKABLE QVariant minimum(const QString& poName, const QString& svName) const;
    Q_INVOKABLE QVariant maximum(const QString& poName, const QString& svName) const;
    Q_INVOKABLE QString unit(const QString& poName, const QString& svName) const;
    Q_INVOKABLE QStringList entries(const QString& poName, const QString& svName) const;
    // The units of a value the device writes in several at once ("ms", "ft", "m"), in its order.
    Q_INVOKABLE QStringList displayUnits(const QString& poName, const QString& svName) const;
    // What a read-out shows of a device value text or a number: {number, unit}, the number at
    // the variable's resolution (ValueReadout).
    Q_INVOKABLE QStringList readout(const QString& poName, const QString& svName,
                                    const QVariant& value) const;
    // What a read-out shows of the variable's widest value ({number, unit}); empty for a
    // variable whose values show as they come.
    Q_INVOKABLE QStringList widestReadout(const QString& poName, const QString& svName) const;
    // The classes under which a nudge button of the variable finds its step.
    Q_INVOKABLE QString nudgeObjectClass(const QString& poName, const QString& svName) const;
    Q_INVOKABLE QString nudgeVariableClass(const QString& poName, const QString& svName) const;
    // The processing objects `page` binds while its selector setting holds `selector`.
    Q_INVOKABLE QStringList objects(const QString& page, const QString& selector) const;

private:
    QVariant numberOf(const QString& poName, const QString& svName,
                      double DeviceModel::Variable::*field) const;

    const DeviceModel& m_model;
};
