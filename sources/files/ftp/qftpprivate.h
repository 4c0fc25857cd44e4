#pragma once

#include "qftp.h"
#include "qftppi.h"

#include <QMetaObject>

#include <memory>
#include <vector>

class QFtpCommand;

// The queue and state behind a QFtp. The first queued command is the current one; a command
// starts when the one before it finishes, or from the event loop when the queue was empty.
class QFtpPrivate
{
public:
    explicit QFtpPrivate(QFtp* q);
    ~QFtpPrivate();

    int addCommand(std::unique_ptr<QFtpCommand> command);
    QFtpCommand* current() const { return pending.empty() ? nullptr : pending.front().get(); }
    void dropQueuedBehindCurrent();

    void _q_startNextCommand();
    void _q_piFinished(const QString& text);
    void _q_piError(int errorCode, const QString& text);
    void _q_piConnectState(int connectState);
    void _q_piFtpReply(int code, const QString& text);

    QFtpPI pi;
    std::vector<std::unique_ptr<QFtpCommand>> pending;
    bool closeWaiting = false;
    QFtp::State state = QFtp::Unconnected;
    QFtp::TransferMode transferMode = QFtp::Passive;
    QFtp::Error error = QFtp::NoError;
    QString errorString;
    QString host;
    quint16 port = 0;
    QString proxyHost;
    quint16 proxyPort = 0;
    QFtp* const q;

private:
    bool handOverUpload(QFtpCommand* command);
    void removeCurrent(bool failed);
    static QString errorText(QFtp::Command command, const QString& detail);

    QMetaObject::Connection m_uploadReadyRead;
    QMetaObject::Connection m_uploadFinished;
};
