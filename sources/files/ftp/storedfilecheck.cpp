#include "storedfilecheck.h"

#include "qftp.h"
#include "qurlinfo.h"

#include <QDebug>

int StoredFileCheck::start(QFtp& ftp, const QString& file, qint64 size)
{
    m_phase = Phase::AskingSize;
    m_file = file;
    m_size = size;
    m_reportedSize = -1;
    m_listedEntries = 0;
    m_failure.clear();
    m_command = ftp.rawCommand(QStringLiteral("SIZE ") + file);
    return m_command;
}

void StoredFileCheck::cancel()
{
    m_phase = Phase::Idle;
}

void StoredFileCheck::onRawCommandReply(int replyCode, const QString& detail)
{
    if (m_phase != Phase::AskingSize || replyCode != 213)
        return;
    bool isNumber = false;
    const qint64 size = detail.trimmed().toLongLong(&isNumber);
    if (isNumber)
        m_reportedSize = size;
}

void StoredFileCheck::onListInfo(const QUrlInfo& info)
{
    if (m_phase != Phase::Listing)
        return;
    ++m_listedEntries;
    if (info.isFile() && info.name() == m_file)
        m_reportedSize = info.size();
}

StoredFileCheck::Verdict StoredFileCheck::onCommandFinished(QFtp& ftp, bool hasError)
{
    if (m_phase == Phase::AskingSize) {
        if (m_reportedSize >= 0)
            return compare(m_reportedSize, QStringLiteral("SIZE"));
        qDebug().noquote() << "No size of" << m_file << "by SIZE; asking for a listing";
        m_phase = Phase::Listing;
        m_command = ftp.list();
        return Verdict::Pending;
    }
    m_phase = Phase::Idle;
    // A listing the server refuses, or one whose lines say nothing readable, cannot contradict
    // the 226 the upload ended with.
    if (hasError || m_listedEntries == 0) {
        qDebug().noquote() << "No size of" << m_file
                           << "by SIZE or a listing; the upload's 226 confirms it";
        return Verdict::Confirmed;
    }
    if (m_reportedSize < 0) {
        m_failure = QStringLiteral("%1 is not in the folder on the device").arg(m_file);
        return Verdict::Failed;
    }
    return compare(m_reportedSize, QStringLiteral("the listing"));
}

StoredFileCheck::Verdict StoredFileCheck::compare(qint64 found, const QString& source)
{
    m_phase = Phase::Idle;
    if (found == m_size)
        return Verdict::Confirmed;
    m_failure = QStringLiteral("%1 holds %2 bytes on the device, not %3 (by %4)")
                    .arg(m_file)
                    .arg(found)
                    .arg(m_size)
                    .arg(source);
    return Verdict::Failed;
}
