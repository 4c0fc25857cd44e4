#pragma once

#include "qurlinfo.h"

#include <QObject>
#include <QString>

#include <memory>

class QFtpPrivate;
class QIODevice;

// An FTP client. Every operation queues a command and returns its id at once; the commands run
// strictly one after another over one control connection and report by signals. A failed
// command cancels the commands queued behind it. No command waits for ever: a dropped
// connection, a socket error or a time-out without progress fails it.
class QFtp : public QObject
{
    Q_OBJECT

public:
    enum State { Unconnected, HostLookup, Connecting, Connected, LoggedIn, Closing };
    Q_ENUM(State)
    enum Error {
        NoError,
        UnknownError,
        HostNotFound,
        ConnectionRefused,
        NotConnected,
        NoFilesFound
    };
    Q_ENUM(Error)
    enum Command {
        None,
        SetTransferMode,
        SetProxy,
        ConnectToHost,
        Login,
        Close,
        List,
        NameList,
        Cd,
        Get,
        Put,
        Remove,
        Mkdir,
        Rmdir,
        Rename,
        RawCommand
    };
    Q_ENUM(Command)
    enum TransferMode { Active, Passive };
    Q_ENUM(TransferMode)
    enum TransferType { Binary, Ascii };
    Q_ENUM(TransferType)

    explicit QFtp(QObject* parent = nullptr);
    ~QFtp() override;

    int setProxy(const QString& host, quint16 port);
    int connectToHost(const QString& host, quint16 port = 21);
    int login(const QString& user = QString(), const QString& password = QString());
    int close();
    int setTransferMode(TransferMode mode);
    int list(const QString& dir = QString());
    int nameList(QIODevice* device);
    int nameList(const QString& dir, QIODevice* device);
    int cd(const QString& dir);
    int get(const QString& file, QIODevice* device = nullptr, TransferType type = Binary);
    int put(const QByteArray& data, const QString& file, TransferType type = Binary);
    int put(QIODevice* device, const QString& file, TransferType type = Binary);
    int remove(const QString& file);
    int mkdir(const QString& dir);
    int rmdir(const QString& dir);
    int rename(const QString& oldname, const QString& newname);
    int rawCommand(const QString& command);

    qint64 bytesAvailable() const;
    qint64 read(char* data, qint64 maxlen);
    QByteArray readAll();

    int currentId() const;
    QIODevice* currentDevice() const;
    Command currentCommand() const;
    bool hasPendingCommands() const;
    void clearPendingCommands();

    State state() const;
    Error error() const;
    QString errorString() const;

    // A command that sees no byte move for this long fails (default 30 s).
    void setProgressTimeout(int msecs);

public Q_SLOTS:
    void abort();

Q_SIGNALS:
    void stateChanged(int state);
    void listInfo(const QUrlInfo& info);
    void readyRead();
    void dataTransferProgress(qint64 done, qint64 total);
    void rawCommandReply(int replyCode, const QString& detail);
    void commandStarted(int id);
    void commandFinished(int id, bool error);
    void done(bool error);

private:
    friend class QFtpPrivate;

    int addCommand(QFtp::Command command, const QStringList& rawCommands,
                   QIODevice* device = nullptr);
    QString dataConnectionLine() const;

    std::unique_ptr<QFtpPrivate> d;
};
