#include "jsoncommandchannel.h"

#include "jsoncommand.h"
#include "qx8control.h"
#include "tcpadaptor.h"

#include <QCoreApplication>
#include <QJsonDocument>
#include <QLoggingCategory>
#include <QTimer>
#include <functional>

namespace {

const QString kNodeObject = QStringLiteral("NPO");
const QString kCommandVariable = QStringLiteral("Node\\Config\\SV\\Command");
const QString kResultVariable = QStringLiteral("Node\\Config\\SV\\Result");

// The result variable: every reply for it, as it comes (a subscription, a read).
class ResultVariable : public QX8Control
{
public:
    explicit ResultVariable(std::function<void(const DataFromDevice&)> onReply)
        : m_onReply(std::move(onReply))
    {
        setPOName(kNodeObject);
        setSVName(kResultVariable);
    }

protected:
    void handleDataAvailable(DataFromDevice data) override { m_onReply(data); }

private:
    std::function<void(const DataFromDevice&)> m_onReply;
};

} // namespace

JsonCommandChannel* JsonCommandChannel::instance()
{
    static JsonCommandChannel channel;
    return &channel;
}

JsonCommandChannel::JsonCommandChannel()
    : m_result(std::make_unique<ResultVariable>(
          [this](const DataFromDevice& reply) { onResultReply(reply); }))
{
    TCPAdaptor* link = TCPAdaptor::instance();
    const auto lost = [this] { failAll(QStringLiteral("the connection to the device was lost")); };
    connect(link, &TCPAdaptor::connectionLost, this, lost);
    connect(link, &TCPAdaptor::disconnected, this, lost);
    if (QCoreApplication* application = QCoreApplication::instance())
        connect(application, &QCoreApplication::aboutToQuit, this, &JsonCommandChannel::forgetAll);
}

JsonCommandChannel::~JsonCommandChannel() = default;

QString JsonCommandChannel::send(const QString& method, const QString& appID,
                                 const QJsonArray& params, QString* error)
{
    const auto refuse = [&](const QString& reason) {
        qInfo().noquote() << "JSON command" << method << "not sent:" << reason;
        if (error)
            *error = reason;
        return QString();
    };
    TCPAdaptor* link = TCPAdaptor::instance();
    if (!link->Ready())
        return refuse(QStringLiteral("not connected to the device"));
    const QString requestAppId = appID + QLatin1Char('#') + QString::number(++m_sequence);
    const QByteArray command = createJsonCMD(method, requestAppId, params);
    if (command.isEmpty())
        return refuse(QStringLiteral("the command is too long for the device"));

    // With nothing awaited, whatever is collected is a remnant: the new answer starts afresh.
    if (m_pending.isEmpty())
        m_buffer.clear();
    const QString requestId = processRequestPrefix() + QLatin1Char('_') + requestAppId;
    auto* timer = new QTimer(this);
    timer->setSingleShot(true);
    connect(timer, &QTimer::timeout, this, [this, requestId] {
        fail(requestId, QStringLiteral("no answer from the device within %1 s")
                            .arg(m_timeoutMs / 1000.0, 0, 'g', 3));
    });
    timer->start(m_timeoutMs);
    m_pending.insert(requestId, {method, timer});

    const QString value = QLatin1Char('"') + QString::fromUtf8(command) + QLatin1Char('"');
    link->SendRequest({kNodeObject, kCommandVariable, QString(), value, QStringLiteral("set")});
    link->SendRequest(
        {kNodeObject, kResultVariable, QString(), QString(), QStringLiteral("asyncget")});
    return requestId;
}

// Pieces of an answer come by the subscription. A read of the result variable shows only its
// latest value: it counts when it holds a whole answer, and never joins pieces.
void JsonCommandChannel::onResultReply(const DataFromDevice& reply)
{
    if (reply.command == QLatin1String("unsubr") || reply.value.isEmpty())
        return;
    if (m_pending.isEmpty()) {
        m_buffer.clear();
        return;
    }
    if (reply.command == QLatin1String("asyncget")) {
        JsonAnswerBuffer whole;
        const JsonAnswerBuffer::Outcome outcome = whole.append(reply.value);
        if (m_buffer.isEmpty() && outcome.status == JsonAnswerBuffer::Status::Complete)
            handleAnswer(outcome.answer);
        return;
    }
    const JsonAnswerBuffer::Outcome outcome = m_buffer.append(reply.value);
    switch (outcome.status) {
    case JsonAnswerBuffer::Status::Complete:
        handleAnswer(outcome.answer);
        break;
    case JsonAnswerBuffer::Status::Overflow:
        qWarning() << "JSON command answer longer than" << JsonAnswerBuffer::kMaxBytes
                   << "bytes dropped";
        break;
    case JsonAnswerBuffer::Status::Stray:
        qDebug() << "JSON command: result piece without an answer start passed over";
        break;
    case JsonAnswerBuffer::Status::Waiting:
        break;
    }
}

void JsonCommandChannel::handleAnswer(const QByteArray& text)
{
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(text, &parseError);
    if (!document.isObject()) {
        qWarning().noquote() << "Untackled JSON Error" << parseError.errorString()
                             << QString::fromUtf8(text.left(512));
        return;
    }
    const QJsonObject answer = document.object();
    const QString requestId = answer.value(QLatin1String("id")).toString();
    if (!m_pending.contains(requestId)) {
        qDebug().noquote() << "JSON command answer for no waiting request passed over:"
                           << requestId;
        return;
    }
    qDebug().noquote() << "cmd:" << applicationIdOf(requestId);
    const QJsonValue error = answer.value(QLatin1String("error"));
    if (!error.isString()) {
        fail(requestId, QStringLiteral("the device's answer has no error text"));
    } else if (!error.toString().isEmpty()) {
        fail(requestId, QStringLiteral("the device answered: ") + error.toString());
    } else {
        take(requestId);
        Q_EMIT answered(requestId, answer.value(QLatin1String("result")).toObject());
    }
}

void JsonCommandChannel::fail(const QString& requestId, const QString& reason)
{
    const QString method = m_pending.value(requestId).method;
    take(requestId);
    qWarning().noquote() << "JSON command" << method << "failed:" << reason;
    Q_EMIT failed(requestId, reason);
}

// The end of the connection is reported where it happens; here it only ends the requests.
void JsonCommandChannel::failAll(const QString& reason)
{
    m_buffer.clear();
    if (m_pending.isEmpty())
        return;
    qInfo().noquote() << m_pending.size() << "JSON commands without an answer:" << reason;
    for (const QString& requestId : m_pending.keys()) {
        take(requestId);
        Q_EMIT failed(requestId, reason);
    }
}

void JsonCommandChannel::forgetAll()
{
    m_buffer.clear();
    for (const QString& requestId : m_pending.keys())
        take(requestId);
}

// The timer may be the one whose time-out is being handled: it goes later.
void JsonCommandChannel::take(const QString& requestId)
{
    const Pending pending = m_pending.take(requestId);
    if (pending.timer) {
        pending.timer->stop();
        pending.timer->deleteLater();
    }
}
