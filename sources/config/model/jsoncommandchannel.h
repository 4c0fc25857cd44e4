#pragma once

#include "jsonanswerbuffer.h"

#include <QHash>
#include <QJsonArray>
#include <QJsonObject>
#include <QObject>
#include <memory>

class QTimer;
class QX8Control;
struct DataFromDevice;

// The one JSON command channel to the device, shared by every requester: commands go to
// Node\Config\SV\Command, answers come back in Node\Config\SV\Result, to which the channel stays
// subscribed. Each request gets an id of its own (the requester's application id and a running
// number), so an answer reaches exactly the request it belongs to: answers of other clients, of
// earlier requests and repeated ones are passed over. A request ends in answered() or failed():
// an error answer, no answer within the time-out, or a lost connection. GUI thread only.
class JsonCommandChannel : public QObject
{
    Q_OBJECT

public:
    static constexpr int kDefaultTimeoutMs = 5000;

    static JsonCommandChannel* instance();
    ~JsonCommandChannel() override;

    // Writes the command; the result variable is read after it, so its old value cannot pass for
    // the answer. Returns the request id, or an empty text with the reason in `error` when the
    // command cannot be sent (not logged in, or too long for a console line).
    QString send(const QString& method, const QString& appID, const QJsonArray& params,
                 QString* error = nullptr);

    // From the next request on.
    void setTimeout(int milliseconds) { m_timeoutMs = milliseconds; }
    int pendingCount() const { return m_pending.size(); }

Q_SIGNALS:
    void answered(const QString& requestId, const QJsonObject& result);
    void failed(const QString& requestId, const QString& reason);

private:
    struct Pending
    {
        QString method;
        QTimer* timer;
    };

    JsonCommandChannel();
    void onResultReply(const DataFromDevice& reply);
    void handleAnswer(const QByteArray& text);
    void fail(const QString& requestId, const QString& reason);
    void failAll(const QString& reason);
    void forgetAll();
    void take(const QString& requestId);

    std::unique_ptr<QX8Control> m_result;
    JsonAnswerBuffer m_buffer;
    QHash<QString, Pending> m_pending;
    quint64 m_sequence = 0;
    int m_timeoutMs = kDefaultTimeoutMs;
};
