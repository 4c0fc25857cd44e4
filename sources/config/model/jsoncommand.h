#pragma once

#include <QByteArray>
#include <QJsonArray>
#include <QString>

// Commands of the device's JSON command channel: a compact object {"id", "method", "params"},
// written as the value of the variable Node\Config\SV\Command in the channel's backtick form.
// A request id is this process's uuid text (38 characters, with braces), "_" and an application
// id naming the requester, so that answers can be told from those of other clients.

// The uuid text that starts the ids of this process's requests; made once, the same for the
// life of the process.
QString processRequestPrefix();
// The application id of a request id of this process, or an empty text for any other id.
QString applicationIdOf(const QString& requestId);

// The command text, or an empty array when it would not fit on one console line.
QByteArray createJsonCMD(const QString& method, const QString& appID, const QJsonArray& params);
