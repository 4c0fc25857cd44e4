#pragma once

#include <QByteArray>
#include <QObject>
#include <QSocketNotifier>

// Reads standard input without blocking the event loop and hands it on line by line. At the
// end of input it simply stops: the process keeps running.
class StdinReader : public QObject
{
    Q_OBJECT

public:
    explicit StdinReader(QObject* parent = nullptr);

Q_SIGNALS:
    void lineRead(const QString& line);

private:
    void onReadable();

    QSocketNotifier m_notifier;
    QByteArray m_pending;
};
