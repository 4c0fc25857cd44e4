#include "qftpprivate.h"

#include "qftpcommand.h"

#include <QCoreApplication>
#include <QIODevice>
#include <QTimer>

namespace {

QString translated(const char* text)
{
    return QCoreApplication::translate("QFtp", text);
}

} // namespace

QFtpPrivate::QFtpPrivate(QFtp* q) : pi(q), errorString(translated("Unknown error")), q(q)
{
    QObject::connect(&pi, &QFtpPI::connectState, q, [this](int s) { _q_piConnectState(s); });
    QObject::connect(&pi, &QFtpPI::finished, q, [this](const QString& t) { _q_piFinished(t); });
    QObject::connect(&pi, &QFtpPI::error, q, [this](int e, const QString& t) { _q_piError(e, t); });
    QObject::connect(&pi, &QFtpPI::rawFtpReply, q,
                     [this](int c, const QString& t) { _q_piFtpReply(c, t); });
    QFtpDTP& dtp = pi.dtp();
    QObject::connect(&dtp, &QFtpDTP::listInfo, q, &QFtp::listInfo);
    QObject::connect(&dtp, &QFtpDTP::readyRead, q, &QFtp::readyRead);
    QObject::connect(&dtp, &QFtpDTP::dataTransferProgress, q, &QFtp::dataTransferProgress);
}

QFtpPrivate::~QFtpPrivate()
{
    pi.disconnect(q);
    pi.dtp().disconnect(q);
}

int QFtpPrivate::addCommand(std::unique_ptr<QFtpCommand> command)
{
    const int id = command->id;
    pending.push_back(std::move(command));
    if (pending.size() == 1)
        QTimer::singleShot(0, q, [this] { _q_startNextCommand(); });
    return id;
}

void QFtpPrivate::dropQueuedBehindCurrent()
{
    while (pending.size() > 1)
        pending.pop_back();
}

void QFtpPrivate::_q_startNextCommand()
{
    QFtpCommand* c = current();
    if (!c)
        return;
    error = QFtp::NoError;
    errorString = translated("Unknown error");
    if (q->bytesAvailable())
        q->readAll(); // left over from a transfer nobody read

    Q_EMIT q->commandStarted(c->id);

    if (c->hasLineBreakInArgument()) {
        _q_piError(QFtp::UnknownError, translated("Line break in command argument"));
        return;
    }
    if (c->command == QFtp::Login && !proxyHost.isEmpty()) {
        QString login = c->rawCommands.first().trimmed() + QLatin1Char('@') + host;
        if (port && port != 21)
            login += QLatin1Char(':') + QString::number(port);
        c->rawCommands.first() = login + QLatin1String("\r\n");
    }

    switch (c->command) {
    case QFtp::SetTransferMode:
        _q_piFinished(QString());
        return;
    case QFtp::SetProxy:
        proxyHost = c->rawCommands.at(0);
        proxyPort = quint16(c->rawCommands.at(1).toUInt());
        c->rawCommands.clear();
        _q_piFinished(QString());
        return;
    case QFtp::ConnectToHost:
        pi.setProperty("_q_networksession", q->property("_q_networksession"));
        if (proxyHost.isEmpty()) {
            pi.connectToHost(c->rawCommands.at(0), quint16(c->rawCommands.at(1).toUInt()));
        } else {
            host = c->rawCommands.at(0);
            port = quint16(c->rawCommands.at(1).toUInt());
            pi.connectToHost(proxyHost, proxyPort);
        }
        return;
    case QFtp::Put:
        if (!handOverUpload(c))
            return;
        break;
    case QFtp::Get:
    case QFtp::NameList:
        if (c->device)
            pi.dtp().setDevice(c->device);
        break;
    case QFtp::Close:
        state = QFtp::Closing;
        Q_EMIT q->stateChanged(state);
        break;
    default:
        break;
    }
    pi.sendCommands(c->rawCommands);
}

bool QFtpPrivate::handOverUpload(QFtpCommand* c)
{
    QFtpDTP& dtp = pi.dtp();
    if (c->isBytes) {
        dtp.setData(&c->bytes);
        dtp.setBytesTotal(c->bytes.size());
        return true;
    }
    QIODevice* device = c->device;
    if (!device || !(device->isOpen() || device->open(QIODevice::ReadOnly))) {
        // Sending STOR without anything to send would leave the server waiting for ever.
        _q_piError(QFtp::UnknownError,
                   device ? device->errorString() : translated("No device to upload from"));
        return false;
    }
    dtp.setDevice(device);
    if (device->isSequential()) {
        dtp.setBytesTotal(0);
        m_uploadReadyRead =
            QObject::connect(device, &QIODevice::readyRead, &dtp, &QFtpDTP::dataReadyRead);
        m_uploadFinished = QObject::connect(device, &QIODevice::readChannelFinished, &dtp,
                                            &QFtpDTP::dataReadyRead);
    } else {
        dtp.setBytesTotal(device->size());
    }
    return true;
}

void QFtpPrivate::_q_piFinished(const QString&)
{
    QFtpCommand* c = current();
    if (!c)
        return;
    if (c->command == QFtp::Close && state != QFtp::Unconnected) {
        closeWaiting = true; // finished once the peer has closed the connection
        return;
    }
    Q_EMIT q->commandFinished(c->id, false);
    removeCurrent(false);
}

void QFtpPrivate::_q_piError(int errorCode, const QString& text)
{
    QFtpCommand* c = current();
    if (!c) {
        qWarning("QFtpPrivate::_q_piError was called without pending command!");
        return;
    }
    // A server that cannot tell the size or does not allocate still transfers.
    if (c->command == QFtp::Get && pi.currentCommand().startsWith(QLatin1String("SIZE "))) {
        pi.dtp().setBytesTotal(0);
        return;
    }
    if (c->command == QFtp::Put && pi.currentCommand().startsWith(QLatin1String("ALLO ")))
        return;

    error = QFtp::Error(errorCode);
    errorString = errorText(c->command, text);
    pi.clearPendingCommands();
    dropQueuedBehindCurrent();
    Q_EMIT q->commandFinished(c->id, true);
    removeCurrent(true);
}

void QFtpPrivate::removeCurrent(bool failed)
{
    QObject::disconnect(m_uploadReadyRead);
    QObject::disconnect(m_uploadFinished);
    pending.erase(pending.begin());
    if (pending.empty())
        Q_EMIT q->done(failed);
    else
        _q_startNextCommand();
}

QString QFtpPrivate::errorText(QFtp::Command command, const QString& detail)
{
    const char* text = nullptr;
    switch (command) {
    case QFtp::ConnectToHost:
        text = "Connecting to host failed:\n%1";
        break;
    case QFtp::Login:
        text = "Login failed:\n%1";
        break;
    case QFtp::List:
        text = "Listing directory failed:\n%1";
        break;
    case QFtp::Cd:
        text = "Changing directory failed:\n%1";
        break;
    case QFtp::Get:
        text = "Downloading file failed:\n%1";
        break;
    case QFtp::Put:
        text = "Uploading file failed:\n%1";
        break;
    case QFtp::Remove:
        text = "Removing file failed:\n%1";
        break;
    case QFtp::Mkdir:
        text = "Creating directory failed:\n%1";
        break;
    case QFtp::Rmdir:
        text = "Removing directory failed:\n%1";
        break;
    default:
        return detail;
    }
    return translated(text).arg(detail);
}

void QFtpPrivate::_q_piConnectState(int connectState)
{
    state = QFtp::State(connectState);
    Q_EMIT q->stateChanged(state);
    if (closeWaiting) {
        closeWaiting = false;
        _q_piFinished(QString());
    }
}

void QFtpPrivate::_q_piFtpReply(int code, const QString& text)
{
    QFtpCommand* c = current();
    if (c && c->command == QFtp::RawCommand) {
        pi.setRawCommand(true);
        Q_EMIT q->rawCommandReply(code, text);
    }
}
