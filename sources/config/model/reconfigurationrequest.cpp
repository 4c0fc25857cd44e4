#include "reconfigurationrequest.h"

#include "appbusyflag.h"
#include "consolelinebuilder.h"
#include "tcpadaptor.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QLoggingCategory>

ReconfigurationRequest::ReconfigurationRequest(QObject* parent) : QObject(parent)
{
    m_timer.setSingleShot(true);
    m_timer.setInterval(kDefaultTimeoutMs);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        end();
        Q_EMIT failed(QStringLiteral("The device did not confirm the new configuration within "
                                     "%1 s")
                          .arg(m_timer.interval() / 1000.0, 0, 'g', 3));
    });
    TCPAdaptor* link = TCPAdaptor::instance();
    connect(link, &TCPAdaptor::reconfigResponse, this, &ReconfigurationRequest::onReconfigResponse);
    const auto lost = [this] {
        if (!m_waiting)
            return;
        end();
        Q_EMIT failed(QStringLiteral("The connection to the device was lost while it was "
                                     "reconfiguring"));
    };
    connect(link, &TCPAdaptor::connectionLost, this, lost);
    connect(link, &TCPAdaptor::disconnected, this, lost);
}

// A request still waiting when its owner goes leaves the application free.
ReconfigurationRequest::~ReconfigurationRequest()
{
    if (m_waiting)
        end();
}

bool ReconfigurationRequest::start(const QByteArray& line, QString* error)
{
    TCPAdaptor* link = TCPAdaptor::instance();
    if (m_waiting)
        *error = QStringLiteral("A reconfiguration is already under way");
    else if (!link->Ready())
        *error = QStringLiteral("Not connected to the device");
    else if (!ConsoleLineBuilder::isSingleLine(line))
        *error = QStringLiteral("The configuration does not fit on one line");
    else
        error->clear();
    if (!error->isEmpty())
        return false;
    m_waiting = true;
    AppBusyFlag::instance()->setBusy(true);
    m_timer.start();
    Q_EMIT link->sendMessage(line);
    return true;
}

void ReconfigurationRequest::onReconfigResponse(const QByteArray& message)
{
    if (!m_waiting) {
        qInfo().noquote() << "Reconfiguration answer with none under way:" << message.trimmed();
        return;
    }
    end();
    const QString error =
        QJsonDocument::fromJson(message).object().value(QLatin1String("error")).toString();
    if (error.isEmpty())
        Q_EMIT completed(message);
    else
        Q_EMIT failed(QStringLiteral("The device refused the configuration: ") + error);
}

void ReconfigurationRequest::end()
{
    m_waiting = false;
    m_timer.stop();
    AppBusyFlag::instance()->setBusy(false);
}
