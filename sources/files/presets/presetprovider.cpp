#include "presetprovider.h"

#include "ftpclientthread.h"
#include "presetnames.h"
#include "qx8settings.h"
#include "settingskeys.h"
#include "tcpadaptor.h"

#include <QDebug>

namespace {
const QString presetsObject = QStringLiteral("Presets");
constexpr int kSlots = 100;
} // namespace

PresetProvider::PresetProvider(QObject* parent)
    : QX8Control(parent)
    , m_ftp(
          new FtpClientThread(FtpClientThread::kDevicePort, FtpClientThread::kRequestTimeout, this))
{
    setPOName(presetsObject);
    setValueType(QString());
    connect(m_ftp, &FtpClientThread::connected, this, &PresetProvider::onSessionConnected);
    connect(m_ftp, &FtpClientThread::disconnected, this, &PresetProvider::onSessionDisconnected);
    connect(m_ftp, &FtpClientThread::error, this, &PresetProvider::onSessionError);
    connect(m_ftp, &FtpClientThread::fileData, this, &PresetProvider::onFileData);
    connect(m_ftp, &FtpClientThread::actionFinished, this, &PresetProvider::onUploaded);
    m_deviceAddress = QX8Settings().value(settingskeys::kCurrentDeviceAddress).toString();
    if (!m_deviceAddress.isEmpty())
        openSession();
}

PresetProvider::~PresetProvider()
{
    if (m_namesSubscribed) {
        for (int id = 1; id <= kSlots; ++id) {
            TCPAdaptor::instance()->replyRouter().unbind(this, presetsObject, nameVariable(id));
            TCPAdaptor::instance()->SendRequest(
                {presetsObject, nameVariable(id), QString(), QString(), QStringLiteral("unsub")});
        }
    }
    m_ftp->disconnect(this);
    if (m_session == Session::Open)
        onDisconnectFromHost();
}

void PresetProvider::store(const QString& id, const QString& name)
{
    if (!acceptsId(id) || !acceptsName(name))
        return;
    sendSet(QStringLiteral("Store"), id);
    rename(id, name);
}

void PresetProvider::rename(const QString& id, const QString& name)
{
    if (!acceptsId(id) || !acceptsName(name))
        return;
    sendSet(QStringLiteral("Name_") + id, name);
    sendSet(QStringLiteral("RenamePreset"), id);
}

void PresetProvider::recall(const QString& id, const QString& name)
{
    Q_UNUSED(name)
    if (acceptsId(id))
        sendSet(QStringLiteral("Recall"), id);
}

void PresetProvider::requestAllPresets()
{
    ReplyRouter& router = TCPAdaptor::instance()->replyRouter();
    for (int id = 1; id <= kSlots; ++id) {
        router.bind(this, presetsObject, nameVariable(id));
        TCPAdaptor::instance()->SendRequest(
            {presetsObject, nameVariable(id), QString(), QString(), QStringLiteral("sub")});
    }
    m_namesSubscribed = true;
}

void PresetProvider::fetch(const QString& id)
{
    if (acceptsId(id))
        enqueue({Transfer::Kind::Fetch, id, QString(), QByteArray()});
}

void PresetProvider::transferPreset(const QString& id, const QString& presetName,
                                    const QByteArray& data)
{
    if (acceptsId(id) && acceptsName(presetName))
        enqueue({Transfer::Kind::Upload, id, presetName, data});
}

bool PresetProvider::acceptsId(const QString& id)
{
    if (presetnames::isValidId(id))
        return true;
    refuse(QStringLiteral("\"%1\" is not a preset number from 1 to 100.").arg(id));
    return false;
}

bool PresetProvider::acceptsName(const QString& name)
{
    if (presetnames::isValidName(name))
        return true;
    refuse(name.isEmpty() ? QStringLiteral("A preset needs a name.")
                          : QStringLiteral("The preset name \"%1\" holds characters the Spandrell "
                                           "QX8 does not accept.")
                                .arg(name));
    return false;
}

// Quoted in the log, so that a line break in a refused name cannot start a log line of its own.
void PresetProvider::refuse(const QString& text)
{
    qInfo() << "Preset request refused:" << text;
    Q_EMIT error(text);
}

void PresetProvider::sendSet(const QString& variable, const QString& value) const
{
    TCPAdaptor::instance()->SendRequest(
        {presetsObject, variable, QString(), value, QStringLiteral("set")});
}

void PresetProvider::onConnectToHost(QString hostAddress, QString user, QString password)
{
    m_session = Session::Opening;
    m_ftp->onConnectToHost(hostAddress, user, password);
}

void PresetProvider::openSession()
{
    onConnectToHost(m_deviceAddress, FtpClientThread::deviceUser, FtpClientThread::devicePassword);
}

void PresetProvider::onDisconnectFromHost()
{
    m_ftp->onDisconnectFromHost();
}

void PresetProvider::enqueue(Transfer transfer)
{
    m_transfers.push_back(std::move(transfer));
    if (m_transfers.size() == 1)
        startNext();
}

void PresetProvider::startNext()
{
    if (m_transfers.empty()) {
        Q_EMIT busy(false, QString());
        return;
    }
    const Transfer& transfer = m_transfers.front();
    Q_EMIT busy(
        true,
        transfer.kind == Transfer::Kind::Fetch
            ? QStringLiteral("Fetching preset %1 from the Spandrell QX8...").arg(transfer.id)
            : QStringLiteral("Sending preset \"%1\" to the Spandrell QX8...").arg(transfer.name));
    switch (m_session) {
    case Session::Open:
        issue(transfer);
        break;
    case Session::Opening:
        break; // goes out once logged in
    case Session::Closed:
        if (m_deviceAddress.isEmpty())
            onSessionError(QStringLiteral("No Spandrell QX8 is connected."));
        else
            openSession();
        break;
    }
}

void PresetProvider::issue(const Transfer& transfer)
{
    m_running = true;
    const QString file = presetnames::slotFile(transfer.id);
    if (transfer.kind == Transfer::Kind::Fetch)
        m_ftp->onGetFile(presetnames::deviceFolder, file);
    else
        m_ftp->onPutFile(transfer.data, presetnames::deviceFolder, file);
}

void PresetProvider::finishCurrent()
{
    m_transfers.pop_front();
    m_running = false;
    startNext();
}

void PresetProvider::onSessionConnected()
{
    qDebug() << "Logged in";
    m_session = Session::Open;
    Q_EMIT connected();
    if (!m_transfers.empty() && !m_running)
        issue(m_transfers.front());
}

void PresetProvider::onSessionDisconnected()
{
    m_session = Session::Closed;
    Q_EMIT disconnected();
}

void PresetProvider::onSessionError(const QString& text)
{
    if (m_session == Session::Opening)
        m_session = Session::Closed;
    Q_EMIT error(text);
    if (!m_transfers.empty())
        finishCurrent();
}

void PresetProvider::onFileData(const QByteArray& data)
{
    if (m_transfers.empty() || m_transfers.front().kind != Transfer::Kind::Fetch)
        return;
    qDebug() << "initial size......." << data.size();
    Q_EMIT presetAvailable(data);
    finishCurrent();
}

void PresetProvider::onUploaded()
{
    if (m_transfers.empty() || m_transfers.front().kind != Transfer::Kind::Upload)
        return;
    qDebug() << "File uploaded.........";
    const Transfer& upload = m_transfers.front();
    rename(upload.id, upload.name);
    Q_EMIT actionFinished();
    finishCurrent();
}

// The name variables reach here only after requestAllPresets(); the base's filter would keep
// them out, since the provider is bound to no variable of its own.
void PresetProvider::onDataAvailable(DataFromDevice data)
{
    if (data.poName == presetsObject && data.valueType.isEmpty() &&
        data.command != QLatin1String("setr"))
        handleDataAvailable(data);
}

void PresetProvider::handleDataAvailable(DataFromDevice data)
{
    qDebug() << "Message received: " << data.value << data.svName << data.command;
    if (!data.svName.contains(QLatin1String("Name")))
        return;
    const QStringList parts = data.svName.split(QLatin1Char('_'));
    const int id = parts.size() > 1 ? parts.at(1).toInt() : 0;
    if (data.command == QLatin1String("subr")) {
        PresetInfo preset{data.value, id};
        Q_EMIT presetInfoAvailable(preset);
    } else if (data.command.contains(QLatin1String("set"))) {
        Q_EMIT presetNameChanged(data.value, id);
    }
}

QString PresetProvider::nameVariable(int id)
{
    return QStringLiteral("Name_%1").arg(id);
}
