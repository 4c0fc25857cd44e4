#pragma once

#include <QObject>
#include <QThread>

// Skeleton of the tuning-file service until it is built: the process-wide object, its worker
// thread (idle) and the validation flag that points it at its test sources. It moves no files.
class TuningFileManager : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool validationMode READ validationMode WRITE setValidationMode NOTIFY
                   validationModeChanged)

public:
    // Creates the manager on first use and starts its worker thread on every call.
    static TuningFileManager* instance();

    bool validationMode() const { return m_validationMode; }
    void setValidationMode(bool validationMode);

Q_SIGNALS:
    void validationModeChanged(bool validationMode);

private:
    TuningFileManager();
    void shutdown();

    QThread m_thread;
    bool m_validationMode = false;
};
