#pragma once

#include <QObject>

class ConsoleServer;
class DeviceFtpServer;
class DeviceState;
class FaultSwitches;
class FirmwareStore;
class StdinReader;

// Commands for tests, one per line on standard input, each answered by one line on standard
// output that starts with "ok" or "error":
//   fault NAME on|off, fault NAME[=VALUE]   switch a failure mode
//   send TEXT                               TEXT and LF to every connection
//   sendbytes TEXT                          TEXT with C escapes (\n \r \t \\ \") and nothing added
//   set PATH VALUE                          a change made on the device -> "ok <value>"
//   value PATH                              -> "ok <value>"
//   subscriptions                           -> "ok <count> <path> | <path> ..." (sorted)
//   connections                             -> "ok <count>"
//   firmware                                -> "ok <outcome> <received> <announced> <version>"
//   close, abort                            FIN or RST every connection
//   ftp stop, ftp start                     end the FTP server (cutting its transfers), start it
//   quit
class ControlChannel : public QObject
{
    Q_OBJECT

public:
    // `ftp` may be null: the device then has no FTP server.
    ControlChannel(StdinReader& input, ConsoleServer& server, DeviceState& state,
                   FaultSwitches& faults, const FirmwareStore& firmware, DeviceFtpServer* ftp,
                   QObject* parent = nullptr);

Q_SIGNALS:
    void quitRequested();

private:
    void onLine(const QString& line);
    QString execute(const QString& name, const QString& arguments);
    QString setValue(const QString& arguments);
    QString readValue(const QString& path);
    QString subscriptions() const;
    QString switchFtp(const QString& arguments);

    ConsoleServer& m_server;
    DeviceState& m_state;
    FaultSwitches& m_faults;
    const FirmwareStore& m_firmware;
    DeviceFtpServer* m_ftp;
};
