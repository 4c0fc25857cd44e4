#include "controlchannel.h"

#include "consolecommand.h"
#include "consoleserver.h"
#include "deviceftpserver.h"
#include "devicestate.h"
#include "faultswitches.h"
#include "firmwarestore.h"
#include "standardoutput.h"
#include "stdinreader.h"

#include <optional>

namespace {

std::optional<QByteArray> unescaped(const QString& text)
{
    const QByteArray escaped = text.toUtf8();
    QByteArray bytes;
    for (int i = 0; i < escaped.size(); ++i) {
        if (escaped.at(i) != '\\') {
            bytes.append(escaped.at(i));
            continue;
        }
        if (++i == escaped.size())
            return std::nullopt;
        switch (escaped.at(i)) {
        case 'n':
            bytes.append('\n');
            break;
        case 'r':
            bytes.append('\r');
            break;
        case 't':
            bytes.append('\t');
            break;
        case '\\':
        case '"':
            bytes.append(escaped.at(i));
            break;
        default:
            return std::nullopt;
        }
    }
    return bytes;
}

QString failed(const QString& reason)
{
    return "error " + reason;
}

} // namespace

ControlChannel::ControlChannel(StdinReader& input, ConsoleServer& server, DeviceState& state,
                               FaultSwitches& faults, const FirmwareStore& firmware,
                               DeviceFtpServer* ftp, QObject* parent)
    : QObject(parent)
    , m_server(server)
    , m_state(state)
    , m_faults(faults)
    , m_firmware(firmware)
    , m_ftp(ftp)
{
    connect(&input, &StdinReader::lineRead, this, &ControlChannel::onLine);
}

void ControlChannel::onLine(const QString& line)
{
    const QString trimmed = line.trimmed();
    const int blank = trimmed.indexOf(' ');
    const QString name = blank < 0 ? trimmed : trimmed.left(blank);
    const QString arguments = blank < 0 ? QString() : trimmed.mid(blank + 1);
    printLine(execute(name, arguments));
    if (name == "quit")
        Q_EMIT quitRequested();
}

QString ControlChannel::execute(const QString& name, const QString& arguments)
{
    if (name == "fault") {
        QString error;
        return m_faults.applyCommand(arguments, &error) ? "ok" : failed(error);
    }
    if (name == "send") {
        m_server.sendToAll(arguments.toUtf8() + '\n', "TX " + arguments);
        return "ok";
    }
    if (name == "sendbytes") {
        const std::optional<QByteArray> bytes = unescaped(arguments);
        if (!bytes)
            return failed("bad escape in \"" + arguments + "\"");
        m_server.sendToAll(*bytes, "TX-RAW " + arguments);
        return "ok";
    }
    if (name == "set")
        return setValue(arguments);
    if (name == "value")
        return readValue(arguments);
    if (name == "subscriptions")
        return subscriptions();
    if (name == "connections")
        return "ok " + QString::number(m_server.connectionCount());
    if (name == "firmware")
        return "ok " + m_firmware.describe();
    if (name == "close") {
        m_server.closeAll();
        return "ok";
    }
    if (name == "abort") {
        m_server.resetAll();
        return "ok";
    }
    if (name == "ftp")
        return switchFtp(arguments);
    if (name == "quit")
        return "ok";
    return failed("unknown command \"" + name + "\"");
}

QString ControlChannel::setValue(const QString& arguments)
{
    const ConsoleCommand command = ConsoleCommand::parse("set " + arguments);
    const std::optional<DeviceState::Address> address = m_state.resolve(command.path);
    if (!address)
        return failed("no such path \"" + command.path + "\"");
    if (!command.hasValue)
        return failed("set needs a value");
    QString error;
    if (!address->variable->assign(address->aspect, command.value, &error))
        return failed(error);
    m_state.announce(*address->variable);
    return "ok " + address->variable->text(address->aspect);
}

QString ControlChannel::readValue(const QString& path)
{
    const ConsoleCommand command = ConsoleCommand::parse("value " + path);
    const std::optional<DeviceState::Address> address = m_state.resolve(command.path);
    if (!address || address->aspect == StateVariable::Aspect::Entries)
        return failed("no such path \"" + command.path + "\"");
    return "ok " + address->variable->text(address->aspect);
}

QString ControlChannel::subscriptions() const
{
    const QStringList paths = m_server.subscriptions();
    QString answer = "ok " + QString::number(paths.size());
    if (!paths.isEmpty())
        answer += ' ' + paths.join(" | ");
    return answer;
}

QString ControlChannel::switchFtp(const QString& arguments)
{
    if (!m_ftp)
        return failed("no FTP server");
    if (arguments == "stop") {
        m_ftp->stop();
        return "ok";
    }
    QString error;
    if (arguments == "start")
        return m_ftp->start(&error) ? "ok" : failed(error);
    return failed("ftp stop|start");
}
