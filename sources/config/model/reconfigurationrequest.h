#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>

// One reconfiguration of the device at a time. Phases, in order:
//   Idle       nothing under way
//   Waiting    the reconfiguration line is sent and the application is busy (AppBusyFlag)
// Waiting ends, and the busy flag with it, on the device's completion line (completed(), or
// failed() when it names an error), on the time-out and on the loss of the connection (both
// failed()). The link raises reconfigResponse() for the completion line (ConsoleReplyParser).
class ReconfigurationRequest : public QObject
{
    Q_OBJECT

public:
    static constexpr int kDefaultTimeoutMs = 30000;

    explicit ReconfigurationRequest(QObject* parent = nullptr);
    ~ReconfigurationRequest() override;

    // Sends the line (one JSON object and LF). False, with the reason, when a reconfiguration is
    // under way, the device is not connected or the line is not a single line.
    bool start(const QByteArray& line, QString* error);
    bool isWaiting() const { return m_waiting; }

    // From the next start on.
    void setTimeout(int milliseconds) { m_timer.setInterval(milliseconds); }

Q_SIGNALS:
    void completed(const QByteArray& answer);
    void failed(const QString& reason);

private:
    void onReconfigResponse(const QByteArray& message);
    void end();

    QTimer m_timer;
    bool m_waiting = false;
};
