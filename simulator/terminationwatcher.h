#pragma once

#include <QObject>
#include <QSocketNotifier>

// Turns SIGTERM and SIGINT into a signal in the event loop, so the process can end cleanly.
class TerminationWatcher : public QObject
{
    Q_OBJECT

public:
    explicit TerminationWatcher(QObject* parent = nullptr);
    ~TerminationWatcher() override;

Q_SIGNALS:
    void terminationRequested();

private:
    static void handleSignal(int);
    void onNotified();

    QSocketNotifier* m_notifier = nullptr;
};
