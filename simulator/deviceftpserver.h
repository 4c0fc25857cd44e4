#pragma once

#include <QHostAddress>
#include <QProcess>
#include <QString>

// The device's FTP server: ftpserver.py from the resources (pyftpdlib, Debian's
// python3-pyftpdlib) run by the system's Python, rooted in the storage folder, with the
// device's login, answering NLST of an empty folder with 450. It ends with VirtualQX8, also
// when VirtualQX8 is killed (its standard input closes).
class DeviceFtpServer
{
public:
    static const QString user;
    static const QString password;

    struct Settings
    {
        QHostAddress address;
        quint16 port = 21;
        QString root;
        QString commandLogPath; // every command line received; none when empty
        int bytesPerSecond = 0; // limit of each data connection; 0: none
    };

    explicit DeviceFtpServer(const Settings& settings);
    ~DeviceFtpServer();

    // Starts the server and waits until it accepts connections (Python takes a few hundred
    // milliseconds). False with the reason when it did not come up.
    bool start(QString* error);
    void stop();
    bool isRunning() const { return m_process.state() != QProcess::NotRunning; }

private:
    const Settings m_settings;
    QProcess m_process;
};
