#pragma once

#include "datafromdevice.h"
#include "replyrouter.h"

#include <QObject>
#include <optional>

// The base of every object bound to one state variable of one processing object: it subscribes
// when the binding is complete and the device is ready, takes the replies for its variable,
// re-subscribes when the device ends a subscription of it, and unsubscribes when destroyed.
// Subclasses give replies their meaning in handleDataAvailable().
class QX8Control : public QObject, public ReplyReceiver
{
    Q_OBJECT
    Q_PROPERTY(bool connectionAvailable MEMBER m_connectionAvailable)
    Q_PROPERTY(QString poName READ poName WRITE setPOName NOTIFY poNameChanged)
    Q_PROPERTY(QString svName READ svName WRITE setSVName NOTIFY svNameChanged)
    Q_PROPERTY(QString entityName READ entityName WRITE setEntityName NOTIFY entityNameChanged)
    Q_PROPERTY(QString valueType READ valueType WRITE setValueType NOTIFY valueTypeChanged)
    Q_PROPERTY(bool isMeter READ isMeter WRITE setIsMeter NOTIFY isMeterChanged)
    // True once the device has reported the bound variable's value: until then a screen shows
    // that it waits instead of a made-up value.
    Q_PROPERTY(bool hasDeviceValue READ hasDeviceValue NOTIFY hasDeviceValueChanged)
    // True while the control shows a value written that the device has not answered yet: a
    // screen marks it as such.
    Q_PROPERTY(bool pending READ isPending NOTIFY pendingChanged)

public:
    explicit QX8Control(QObject* parent = nullptr);
    ~QX8Control() override;

    bool connectionAvailable() const { return m_connectionAvailable; }
    QString poName() const { return m_poName; }
    QString svName() const { return m_svName; }
    QString entityName() const { return m_entityName; }
    QString valueType() const { return m_valueType; }
    bool isMeter() const { return m_isMeter; }
    bool hasDeviceValue() const { return m_hasDeviceValue; }
    bool isPending() const { return m_pending; }

    void setPOName(const QString& poName);
    void setSVName(const QString& svName);
    void setEntityName(const QString& entityName);
    void setValueType(const QString& valueType);
    void setIsMeter(bool isMeter);

    Q_INVOKABLE virtual void componentCompleted();

    // A value of the bound variable (a native value, or percent of its range for the value type
    // "%") moved by `steps` steps of its resolution, each the step at the value it starts from,
    // and held inside its range: what a key does to a slider. Unchanged for a variable the model
    // lacks or that has no steps.
    double steppedByResolution(double value, int steps, const QString& valueType) const;

Q_SIGNALS:
    void poNameChanged(QString poName);
    void svNameChanged(QString svName);
    void isMeterChanged(bool isMeter);
    void entityNameChanged(QString entityName);
    void valueTypeChanged(QString valueType);
    void connectionLost();
    void vimbalReady();
    void hasDeviceValueChanged(bool hasDeviceValue);
    void pendingChanged(bool pending);

protected Q_SLOTS:
    virtual void sendDataRequest();
    virtual void sendUnSubRequest();
    virtual void onDataAvailable(DataFromDevice data);
    virtual void handleDataAvailable(DataFromDevice data);
    virtual void onVimbalReady();
    virtual void onResendDataRequest(bool send);
    virtual void onConnectionLost();

protected:
    bool hasNames() const { return !m_poName.isEmpty() && !m_svName.isEmpty(); }
    bool isDestroying() const { return m_destroying; }

    // Sends one request for the bound variable.
    void sendRequest(const QString& command, const QString& valueType = QString(),
                     const QString& value = QString()) const;
    // A value the user sets, rounded to the bound variable's resolution in the device model: a
    // native value, or percent of the range for the value type "%". Unchanged for a variable
    // the model does not have.
    double atResolution(double value, const QString& valueType) const;
    // Sends `sub` with the given value type and remembers it for the unsubscription.
    void sendSubscription(const QString& command, const QString& valueType);
    // The value of the newest write to the bound variable (on the path of `valueType`, as the
    // control writes it) that the device has not answered yet, whoever wrote it, as the device
    // reads it: a quoted choice without its quotes. While there is one, a reply describes a
    // value the writers have already moved on from.
    std::optional<QString> unansweredWrite(const QString& valueType = QString()) const;
    // The writes to the variable awaiting their answers changed: a newer value went on its way,
    // or they all ended without the device's value. A control that shows what was written shows
    // again.
    virtual void writesChanged() {}
    // True for a control that takes the writer's acknowledgement (`setr`) like any reply: it
    // carries the value the device took.
    virtual bool takesAcknowledgements() const { return false; }
    void setPending(bool pending);

    // Cleared by an explicit cancellation: then neither the device's unsubr, a new login nor
    // the end of a busy period subscribes the control again, until it subscribes itself.
    bool subscriptionWanted() const { return m_subscriptionWanted; }
    void setSubscriptionWanted(bool wanted) { m_subscriptionWanted = wanted; }

private:
    void receiveReply(const DataFromDevice& reply) override;
    void newerWrite() override { writesChanged(); }
    void writesUnanswered() override { writesChanged(); }
    bool rename(QString& name, const QString& newName);

    bool m_connectionAvailable = true;
    QString m_poName;
    QString m_svName;
    bool m_isMeter = false;
    bool m_hasDeviceValue = false;
    bool m_pending = false;
    bool m_destroying = false;
    QString m_entityName;
    QString m_valueType;
    QString m_subscribedValueType;
    bool m_subscriptionWanted = true;
};
