#include "consolesession.h"

#include "consolecommand.h"
#include "faultswitches.h"
#include "linechannel.h"
#include "presetlisting.h"

namespace {

const QString bannerLine = QStringLiteral("Vimbal Console");
const QString administrator = QStringLiteral("administrator");

bool isValueRead(const QString& word)
{
    return word == "get" || word == "asyncget";
}

QString withoutTrailingBackslash(const QString& path)
{
    return path.endsWith('\\') ? path.chopped(1) : path;
}

// The device lists each name followed by " : " ("StereoMixer : ").
QStringList listItems(const QStringList& names)
{
    QStringList items;
    for (const QString& name : names)
        items.append(name + QStringLiteral(" : "));
    return items;
}

} // namespace

ConsoleSession::ConsoleSession(LineChannel* channel, DeviceState& state,
                               const FaultSwitches& faults, const QString& password,
                               QObject* parent)
    : QObject(parent), m_channel(channel), m_state(state), m_faults(faults), m_password(password)
{
    m_channel->setParent(this);
    connect(m_channel, &LineChannel::lineReceived, this, &ConsoleSession::onLine);
    connect(&m_state, &DeviceState::valueChanged, this, &ConsoleSession::onValueChanged);
    connect(&m_state, &DeviceState::entriesChanged, this, &ConsoleSession::onEntriesChanged);
}

void ConsoleSession::start()
{
    if (!m_faults.isOn(FaultSwitches::Fault::NoBanner))
        m_channel->sendLine(bannerLine);
}

void ConsoleSession::onLine(const QString& line)
{
    const ConsoleCommand command = ConsoleCommand::parse(line);
    if (command.word == "connect")
        login(command);
    else if (command.word == "write")
        Q_EMIT writeAnnounced(command.path, command.value);
    else if (m_phase == Phase::AwaitingLogin)
        sendError("not logged in");
    else if (line.startsWith('{'))
        Q_EMIT jsonLineReceived(line);
    else
        serve(command);
}

// The connection stays open after a refused login so that the client can try again.
void ConsoleSession::login(const ConsoleCommand& command)
{
    if (m_faults.isOn(FaultSwitches::Fault::IgnoreLogin))
        return;
    const bool accepted = command.path == administrator && command.hasValue &&
                          command.value == m_password &&
                          !m_faults.isOn(FaultSwitches::Fault::RefuseLogin);
    if (!accepted) {
        m_channel->sendLine("error could not connect as " + command.path);
        return;
    }
    m_phase = Phase::LoggedIn;
    m_channel->sendLine("connect logged in as " + administrator);
}

void ConsoleSession::serve(const ConsoleCommand& command)
{
    if (m_faults.isOn(FaultSwitches::Fault::IgnoreCommand) &&
        command.word == m_faults.word(FaultSwitches::Fault::IgnoreCommand))
        return; // neither answered nor carried out
    if (command.word == "ls") {
        const QStringList names =
            isPresetRoot(command.path) ? presetObjects(m_state) : m_state.children(command.path);
        if (names.isEmpty())
            sendError("nothing to list at \"" + command.path + "\"");
        else
            sendList("ls", withoutTrailingBackslash(command.path), listItems(names));
        return;
    }
    const bool known = command.word == "sub" || command.word == "unsub" || command.word == "set" ||
                       command.word == "lc" || isValueRead(command.word);
    if (!known) {
        sendError("unknown command \"" + command.word + "\"");
        return;
    }
    const std::optional<DeviceState::Address> address = m_state.resolve(command.path);
    const bool listsEntries = address && address->aspect == StateVariable::Aspect::Entries;
    if (!address || listsEntries != (command.word == "lc")) {
        sendError("no such path \"" + command.path + "\"");
        return;
    }
    if (command.word == "lc") {
        const bool echoAsSent = m_faults.isOn(FaultSwitches::Fault::LcTrailingBackslash);
        sendList("lc", echoAsSent ? command.path : withoutTrailingBackslash(command.path),
                 address->variable->entries());
    } else if (command.word == "sub") {
        subscribe(command.path, *address);
    } else if (command.word == "unsub") {
        unsubscribe(command.path);
    } else if (command.word == "set") {
        if (command.hasValue)
            write(command.path, *address, command.value);
        else
            sendError("set needs a value");
    } else {
        m_channel->sendLine(replyLine(command.word, command.path, deviceText(*address)));
    }
}

// A percent value as the device writes it ("45%"), or bare ("45") when switched so.
QString ConsoleSession::deviceText(const DeviceState::Address& address) const
{
    const QString text = address.variable->text(address.aspect);
    const bool bare = m_faults.isOn(FaultSwitches::Fault::PercentBare) &&
                      address.variable->kind() == StateVariable::Kind::Number && text.endsWith('%');
    return bare ? text.chopped(1) : text;
}

void ConsoleSession::subscribe(const QString& path, const DeviceState::Address& address)
{
    m_subscriptions.insert(path, address);
    m_channel->sendLine(replyLine("subr", path, deviceText(address)));
}

void ConsoleSession::unsubscribe(const QString& path)
{
    m_subscriptions.remove(path);
    m_channel->sendLine(replyLine("unsubr", path));
}

// The writer hears `setr` first; then every subscription of the variable, the writer's own
// included, hears the new value.
void ConsoleSession::write(const QString& path, const DeviceState::Address& address,
                           const QString& value)
{
    QString error;
    if (!m_state.write(address, value, &error)) {
        sendError(error + " \"" + value + "\" for \"" + path + "\"");
        return;
    }
    m_channel->sendLine(replyLine("setr", path, deviceText(address)));
    m_state.announce(*address.variable);
}

void ConsoleSession::sendList(const QString& word, const QString& path, const QStringList& items)
{
    m_channel->sendLine(replyLine(word, path));
    for (const QString& item : items) {
        m_channel->sendLine('\t' + item);
        if (m_faults.isOn(FaultSwitches::Fault::CloseMidList)) {
            m_channel->closeWhenSent();
            return;
        }
    }
    m_channel->sendLine("end" + word);
}

void ConsoleSession::onValueChanged(const StateVariable* variable)
{
    if (m_phase != Phase::LoggedIn || !m_channel->isOpen())
        return;
    for (auto it = m_subscriptions.cbegin(); it != m_subscriptions.cend(); ++it) {
        const StateVariable::Aspect aspect = it->aspect;
        const bool followsValue =
            aspect == StateVariable::Aspect::Value || aspect == StateVariable::Aspect::Percent;
        if (it->variable == variable && followsValue)
            m_channel->sendLine(replyLine("subr", it.key(), deviceText(*it)));
    }
}

// A subscriber of an enumeration hears its new entries as an unasked `lc` block.
void ConsoleSession::onEntriesChanged(const StateVariable* variable)
{
    if (m_phase != Phase::LoggedIn || !m_channel->isOpen())
        return;
    for (auto it = m_subscriptions.cbegin(); it != m_subscriptions.cend(); ++it) {
        if (it->variable == variable && it->aspect == StateVariable::Aspect::Value)
            sendList("lc", withoutTrailingBackslash(it.key()) + "\\EN", variable->entries());
    }
}

void ConsoleSession::sendError(const QString& text)
{
    m_channel->sendLine("error " + text);
}
