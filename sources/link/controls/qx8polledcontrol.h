#pragma once

#include "consolerequest.h"
#include "pollcadence.h"
#include "qx8control.h"

#include <optional>

// A control that changes too fast to subscribe to: it polls its variable with `asyncget` at the
// pace of PollCadence and is neither subscribed nor unsubscribed. Subclasses give the reply's
// value text its meaning.
class QX8PolledControl : public QX8Control
{
    Q_OBJECT

protected:
    QX8PolledControl(const QString& entityName, QObject* parent);
    ~QX8PolledControl() override;

    // The value type written into the poll request.
    virtual QString pollValueType() const = 0;
    virtual void takeReplyValue(const QString& value) = 0;

protected Q_SLOTS:
    void sendDataRequest() override;
    void onVimbalReady() override;
    void onDataAvailable(DataFromDevice data) override;
    void onResendDataRequest(bool send) override;

private:
    const ConsoleRequest* preparedPoll();

    PollCadence m_cadence;
    // The poll of the current names and its value type, made again only when they change: a
    // meter sends the same line every period.
    std::optional<ConsoleRequest> m_poll;
    QString m_pollType;
};
