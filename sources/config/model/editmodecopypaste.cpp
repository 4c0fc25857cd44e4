#include "editmodecopypaste.h"

#include "jsoncommandchannel.h"

#include <QJsonArray>
#include <QLoggingCategory>

namespace {

const QString kCopyAppId = QStringLiteral("appID_EditCopy");
const QString kPasteAppId = QStringLiteral("appID_EditPaste");

} // namespace

EditModeCopyPaste::EditModeCopyPaste(QObject* parent) : QObject(parent)
{
    JsonCommandChannel* channel = JsonCommandChannel::instance();
    connect(channel, &JsonCommandChannel::answered, this, &EditModeCopyPaste::onAnswered);
    connect(channel, &JsonCommandChannel::failed, this, &EditModeCopyPaste::onFailed);
}

void EditModeCopyPaste::setCopy(bool copy)
{
    if (copy == m_copy)
        return;
    m_copy = copy;
    Q_EMIT copyChanged(m_copy);
}

void EditModeCopyPaste::setPaste(bool paste)
{
    if (paste == m_paste)
        return;
    m_paste = paste;
    Q_EMIT pasteChanged(m_paste);
}

// A new copy forgets the settings held and any copy still under way.
void EditModeCopyPaste::copyPO(QString poName, QString poType, QString className)
{
    m_copiedType = poType;
    m_copiedClassName = className;
    setCopy(false);
    setPaste(false);
    m_copiedSettings = QJsonObject();
    QString reason;
    m_copyRequest =
        JsonCommandChannel::instance()->send(QStringLiteral("CopyObjectSVs"), kCopyAppId,
                                             QJsonArray{QStringLiteral("Preset"), poName}, &reason);
    if (m_copyRequest.isEmpty())
        report(QStringLiteral("Settings of %1 not copied: %2").arg(poName, reason));
}

void EditModeCopyPaste::pastePO(QString poName, QString poType)
{
    if (poType != m_copiedType) {
        qDebug() << "Mismatch PO Copying";
        return;
    }
    if (m_copiedSettings.isEmpty())
        return;
    QJsonArray params{QStringLiteral("Preset"), poName};
    params.append(m_copiedSettings);
    QString reason;
    m_pasteRequest = JsonCommandChannel::instance()->send(QStringLiteral("PasteObjectSVs"),
                                                          kPasteAppId, params, &reason);
    if (m_pasteRequest.isEmpty())
        report(QStringLiteral("Settings not pasted onto %1: %2").arg(poName, reason));
}

void EditModeCopyPaste::onAnswered(const QString& requestId, const QJsonObject& result)
{
    if (requestId.isEmpty())
        return;
    if (requestId == m_copyRequest) {
        m_copyRequest.clear();
        if (result.isEmpty()) {
            report(QStringLiteral("The device sent no settings to copy"));
            return;
        }
        m_copiedSettings = result;
        setCopy(true);
    } else if (requestId == m_pasteRequest) {
        m_pasteRequest.clear();
        setPaste(true);
    }
}

void EditModeCopyPaste::onFailed(const QString& requestId, const QString& reason)
{
    if (requestId.isEmpty())
        return;
    if (requestId == m_copyRequest) {
        m_copyRequest.clear();
        report(QStringLiteral("Settings not copied: ") + reason);
    } else if (requestId == m_pasteRequest) {
        m_pasteRequest.clear();
        report(QStringLiteral("Settings not pasted: ") + reason);
    }
}

void EditModeCopyPaste::report(const QString& message)
{
    qInfo().noquote() << message;
    Q_EMIT error(message);
}
