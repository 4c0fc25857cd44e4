#pragma once

#include "ftpreplyreader.h"
#include "qftpdtp.h"

#include <QObject>
#include <QStringList>
#include <QTcpSocket>
#include <QTimer>

// The protocol interpreter on the FTP control connection. Phases of one connection, in order:
//   1. lookup and connect (connectToHost; reply state Begin),
//   2. greeting: a 2yz moves the reply state to Idle and finishes the connect; 4yz/5yz fails it,
//   3. per command: each raw line sent moves the reply state to Waiting; each reply moves it to
//      Success, Idle (send the next line) or Failure; a passive-mode reply first waits for the
//      data connection to open (to the server's own address, with the port the reply gives),
//      and a 226 that arrives before the data connection has closed is held until it has,
//   4. the connection ends: closed by the peer, a socket error, or no progress within the
//      time-out; a command still waiting then fails, so nothing waits for ever.
class QFtpPI : public QObject
{
    Q_OBJECT

public:
    enum ReplyState { Begin, Idle, Waiting, Success, Failure };
    enum AbortState { AbortNone, AbortStarted, WaitForAbortToFinish };

    static constexpr int defaultProgressTimeoutMs = 30000;

    explicit QFtpPI(QObject* parent = nullptr);
    ~QFtpPI() override;

    void connectToHost(const QString& host, quint16 port);
    bool sendCommands(const QStringList& commands);
    void clearPendingCommands();
    void abort();

    QString currentCommand() const { return m_currentCommand; }
    AbortState abortState() const { return m_abortState; }
    QFtpDTP& dtp() { return m_dtp; }

    void setRawCommand(bool on) { m_rawCommand = on; }
    void setTransferConnectionExtended(bool on) { m_transferConnectionExtended = on; }
    // How long a command may go without any byte moving before it fails.
    void setProgressTimeout(int msecs) { m_watchdog.setInterval(msecs); }

Q_SIGNALS:
    void connectState(int state);
    void finished(const QString& text);
    void error(int error, const QString& text);
    void rawFtpReply(int code, const QString& text);

private Q_SLOTS:
    void hostFound();
    void connected();
    void connectionClosed();
    void readyRead();
    void socketError(QAbstractSocket::SocketError error);
    void dtpConnectState(int state);

private:
    bool startNextCmd();
    bool rewriteDataConnectionLine();
    bool processReply();
    void handleSpecialReply(int code);
    // The data connection goes to the control connection's peer, on `port`.
    void connectPassive(quint16 port);
    void reportAndGoOn(int error, const QString& text);
    // Back to no connection, silently.
    void resetConnection();
    // Ends the control connection; a command still waiting for the peer fails with the text.
    void dropConnection(int error, const QString& text);
    void noteProgress();
    void timedOut();
    QString hostText(const char* text) const;

    bool m_rawCommand = false;
    bool m_transferConnectionExtended = true;
    QFtpDTP m_dtp;
    QTcpSocket m_commandSocket;
    FtpReplyReader m_reply;
    QString m_failureText;
    ReplyState m_replyState = Begin;
    AbortState m_abortState = AbortNone;
    QStringList m_pendingCommands;
    QString m_currentCommand;
    bool m_waitForDtpToConnect = false;
    bool m_waitForDtpToClose = false;

    QString m_host;
    QTimer m_watchdog;
    // A command waits for the peer; the watchdog runs while it does.
    bool m_commandActive = false;
    // QUIT was answered; the peer still has to close the connection.
    bool m_awaitingClose = false;
    bool m_resetting = false; // sockets are being torn down on purpose
    bool m_reading = false;   // the reply loop is running
};
