#pragma once

#include <QAbstractSocket>
#include <QByteArray>
#include <QObject>
#include <QTcpServer>

class QFtpPI;
class QIODevice;
class QTcpSocket;
class QUrlInfo;

// The data connection of one FTP client. It connects to the address of a passive-mode reply or
// accepts the server's connection on a listener (active mode), moves the bytes of one transfer
// between the socket and a device, a byte array or its own buffer, counts them, and reports to
// the interpreter when the connection opens, fails or closes.
class QFtpDTP : public QObject
{
    Q_OBJECT

public:
    enum ConnectState {
        CsHostFound = 0,
        CsConnected = 1,
        CsClosed = 2,
        CsHostNotFound = 3,
        CsConnectionRefused = 4
    };

    explicit QFtpDTP(QFtpPI* pi, QObject* parent = nullptr);
    ~QFtpDTP() override;

    void setData(QByteArray* data);
    void setDevice(QIODevice* device);
    void clearData();
    void setBytesTotal(qint64 total);

    void connectToHost(const QString& host, quint16 port);
    int setupListener(const QHostAddress& address);
    void waitForConnection();

    QAbstractSocket::SocketState state() const;
    qint64 bytesAvailable() const;
    qint64 read(char* data, qint64 maxlen);
    QByteArray readAll();

    void writeData();
    void abortConnection();

    static bool parseDir(const QByteArray& buffer, const QString& userName, QUrlInfo* info);

    bool hasError() const { return !m_error.isNull(); }
    QString errorMessage() const { return m_error; }
    void clearError() { m_error.clear(); }

Q_SIGNALS:
    void listInfo(const QUrlInfo& info);
    void readyRead();
    void dataTransferProgress(qint64 done, qint64 total);
    void connectState(int state);

private Q_SLOTS:
    void socketConnected();
    void socketReadyRead();
    void socketError(QAbstractSocket::SocketError error);
    void socketConnectionClosed();
    void socketBytesWritten(qint64 bytes);
    void setupSocket();
    void dataReadyRead();

private:
    friend class QFtpPrivate; // drives dataReadyRead() from a sequential upload device

    void discardSocket();
    void attachSocket(QTcpSocket* socket, const char* name);
    void readListing();
    void readIntoDevice();
    void writeFromBytes();
    void writeFromDevice();

    QTcpSocket* m_socket = nullptr;
    QTcpServer m_listener;
    QFtpPI* m_pi;
    QString m_error;
    qint64 m_bytesDone = 0;
    qint64 m_bytesTotal = 0;
    bool m_callWriteData = false;
    bool m_socketConnected = false;

    // What the transfer reads from or writes to; never owned.
    struct Data
    {
        QByteArray* bytes = nullptr;
        QIODevice* device = nullptr;
    } m_data;
    bool m_dataIsBytes = false;
    qint64 m_bytesHandedOver = 0; // of the byte array, to the socket

    QByteArray m_bytesFromSocket;
    QByteArray m_downloadBlock; // reused for every read into a device
};
