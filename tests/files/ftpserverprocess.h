#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// A real FTP server from Debian's packages, started for one test on a loopback address of its
// own: pyftpdlib (the device's kind of server, with its command log) or proftpd.
class FtpServerProcess
{
public:
    enum class Kind { PyFtpdLib, ProFtpd };

    static const QString user;
    static const QString password;

    explicit FtpServerProcess(Kind kind);
    ~FtpServerProcess();

    // pyftpdlib only: where start() listens (by default a fresh loopback address, any port),
    // and names added to every NLST answer.
    void setListenAddress(const QString& address, quint16 port);
    void setExtraNames(const QStringList& names) { m_extraNames = names; }
    // pyftpdlib only: the password start() accepts instead of the one above.
    void setPassword(const QString& password) { m_password = password; }
    // pyftpdlib only: SIZE answered with this code (500 or 502) as by a server without it.
    void setSizeRefusal(int replyCode) { m_sizeRefusal = replyCode; }

    // Serves `root` (which must exist) until stopped. Returns false with a message on failure.
    // pyftpdlib can answer NLST of an empty folder with 450, as the device does.
    bool start(const QString& root, bool emptyNameListIs450 = false);
    void kill();
    void pause();
    void resume();

    QString address() const { return m_address; }
    quint16 port() const { return m_port; }
    // pyftpdlib only: every command line received, in order.
    QStringList commandLog() const;

private:
    bool startPyFtpdLib(const QString& root, bool emptyNameListIs450);
    bool startProFtpd(const QString& root);
    bool waitUntilAccepting();

    Kind m_kind;
    QProcess m_process;
    QTemporaryDir m_work;
    QString m_address;
    quint16 m_port = 0;
    QStringList m_extraNames;
    QString m_password = password;
    int m_sizeRefusal = 0;
};
