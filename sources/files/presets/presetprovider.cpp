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
    connect(m_ftp, &FtpClientThread::fileList, this, &PresetProvider::onFileList);
    connect(m_ftp, &FtpClientThread::actionFinished, this, &PresetProvider::onActionFinished);
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
        enqueue({Transfer::Kind::Get,
                 QStringLiteral("Fetching preset %1 from the Spandrell QX8...").arg(id),
                 presetnames::deviceFolder, presetnames::slotFile(id)});
}

void PresetProvider::transferPreset(const QString& id, const QString& presetName,
                                    const QByteArray& data)
{
    if (!acceptsId(id) || !acceptsName(presetName))
        return;
    Transfer put(Transfer::Kind::Put,
                 QStringLiteral("Sending preset \"%1\" to the Spandrell QX8...").arg(presetName),
                 presetnames::deviceFolder, presetnames::slotFile(id), data);
    put.slotId = id;
    put.slotName = presetName;
    enqueue(std::move(put));
}

void PresetProvider::onGetFile(QString dir, QString fileFullName)
{
    enqueue({Transfer::Kind::Get,
             QStringLiteral("Fetching %1 from the Spandrell QX8...").arg(fileFullName), dir,
             fileFullName});
}

void PresetProvider::onPutFile(QByteArray fileData, QString dir, QString fileFullName)
{
    enqueue({Transfer::Kind::Put,
             QStringLiteral("Sending %1 to the Spandrell QX8...").arg(fileFullName), dir,
             fileFullName, fileData});
}

void PresetProvider::onRemoveFile(QString dir, QString fileFullName)
{
    enqueue({Transfer::Kind::Remove,
             QStringLiteral("Removing %1 from the Spandrell QX8...").arg(fileFullName), dir,
             fileFullName});
}

void PresetProvider::onUpdateFile(QByteArray newFileData, QString dir, QString oldFileFullName,
                                  QString newFileFullName)
{
    Transfer update(Transfer::Kind::Update,
                    QStringLiteral("Replacing %1 on the Spandrell QX8...").arg(oldFileFullName),
                    dir, newFileFullName, newFileData);
    update.oldFile = oldFileFullName;
    enqueue(std::move(update));
}

void PresetProvider::onRequestFileList(QString dir)
{
    enqueue(
        {Transfer::Kind::List, QStringLiteral("Listing %1 on the Spandrell QX8...").arg(dir), dir});
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
    Q_EMIT busy(true, transfer.busyText);
    switch (m_session) {
    case Session::Open:
        issue(transfer);
        break;
    case Session::Opening:
        break; // goes out once logged in
    case Session::Closed:
        // Without a device the commands meet a client that never connected, and fail as such.
        if (m_deviceAddress.isEmpty())
            issue(transfer);
        else
            openSession();
        break;
    }
}

void PresetProvider::issue(const Transfer& transfer)
{
    m_running = true;
    switch (transfer.kind) {
    case Transfer::Kind::Get:
        m_ftp->onGetFile(transfer.dir, transfer.file);
        break;
    case Transfer::Kind::Put:
        m_ftp->onPutFile(transfer.data, transfer.dir, transfer.file);
        break;
    case Transfer::Kind::Remove:
        m_ftp->onRemoveFile(transfer.dir, transfer.file);
        break;
    case Transfer::Kind::Update:
        m_ftp->onUpdateFile(transfer.data, transfer.dir, transfer.oldFile, transfer.file);
        break;
    case Transfer::Kind::List:
        m_ftp->onRequestFileList(transfer.dir);
        break;
    }
}

void PresetProvider::finishCurrent()
{
    m_transfers.pop_front();
    m_running = false;
    startNext();
}

bool PresetProvider::currentIs(Transfer::Kind kind) const
{
    return m_running && m_transfers.front().kind == kind;
}

void PresetProvider::onSessionConnected()
{
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
    if (!currentIs(Transfer::Kind::Get))
        return;
    qDebug() << "initial size......." << data.size();
    Q_EMIT presetAvailable(data);
    finishCurrent();
}

void PresetProvider::onFileList(const QString& dir, const QStringList& list)
{
    if (!currentIs(Transfer::Kind::List))
        return;
    Q_EMIT fileList(dir, list);
    finishCurrent();
}

// An upload into a slot names the slot once the device holds the file, after actionFinished().
void PresetProvider::onActionFinished()
{
    if (!currentIs(Transfer::Kind::Put) && !currentIs(Transfer::Kind::Remove) &&
        !currentIs(Transfer::Kind::Update))
        return;
    const Transfer done = m_transfers.front();
    Q_EMIT actionFinished();
    if (done.kind == Transfer::Kind::Update)
        qDebug() << "File upload progress";
    if (done.kind == Transfer::Kind::Put) {
        qDebug() << "File uploaded.........";
        if (!done.slotId.isEmpty())
            rename(done.slotId, done.slotName);
    }
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
