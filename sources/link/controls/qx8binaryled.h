#pragma once

#include "qx8control.h"

// An on/off indicator of a subscribed variable that reads "On" or "Off".
class QX8BinaryLED : public QX8Control
{
    Q_OBJECT
    Q_PROPERTY(bool activeState READ activeState WRITE setActiveState NOTIFY activeStateChanged)

public:
    explicit QX8BinaryLED(QObject* parent = nullptr);

    bool activeState() const { return m_activeState; }
    void setActiveState(const bool& activeState);

Q_SIGNALS:
    void activeStateChanged(bool val);

protected Q_SLOTS:
    void handleDataAvailable(DataFromDevice data) override;

private:
    bool m_activeState = false;
};
