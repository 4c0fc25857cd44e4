#include "messagehandler.h"

#include "datafolders.h"
#include "regularfile.h"

#include <cstdlib>

namespace {
QString levelWord(QtMsgType type)
{
    switch (type) {
    case QtWarningMsg:
        return QStringLiteral("Warning");
    case QtCriticalMsg:
        return QStringLiteral("Error  ");
    case QtInfoMsg:
        return QStringLiteral("Info   ");
    case QtFatalMsg:
        return QStringLiteral("Fatal  ");
    default:
        return QStringLiteral("Debug  ");
    }
}

// Qt's own messages may come without a context: absent parts are empty.
QString fileName(const char* path)
{
    if (!path)
        return QString();
    const QString text = QString::fromUtf8(path);
    return text.mid(text.lastIndexOf(QLatin1Char('/')) + 1);
}

QString functionName(const char* signature)
{
    if (!signature)
        return QString();
    const QString text = QString::fromUtf8(signature);
    const int separator = text.lastIndexOf(QLatin1String("::"));
    return separator < 0 ? text : text.mid(separator + 2);
}
} // namespace

QString formatLogLine(QtMsgType type, const QMessageLogContext& context, const QString& message,
                      const QTime& time)
{
    // One pass over the pattern, so that a "%" in a file name or message cannot be taken for a
    // placeholder.
    return QStringLiteral("%1: %2 [%3: %4: %5] %6\n")
        .arg(time.toString(QStringLiteral("hh:mm:ss:zzz")), levelWord(type), fileName(context.file),
             functionName(context.function), QString::number(context.line), message);
}

// A fatal message is written like any other, and the file closed (flushed) before the process
// ends: Qt's fatal path must not throw. A line the log cannot take (anything but a regular file
// in its place is not opened) is dropped.
void messageHandler(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    const QByteArray line =
        formatLogLine(type, context, message, QTime::currentTime()).toLocal8Bit();
    RegularFile log(strLogDir + QStringLiteral("/ui.log"));
    if (log.open(QIODevice::Append | QIODevice::Text)) {
        log.write(line);
        log.close();
    }
    if (type == QtFatalMsg)
        std::abort();
}
