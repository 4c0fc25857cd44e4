#include "wirelog.h"

bool WireLog::open(const QString& fileName, bool withTimes, QString* error)
{
    if (fileName.isEmpty())
        return true;
    m_file.setFileName(fileName);
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        *error = fileName + ": " + m_file.errorString();
        return false;
    }
    m_withTimes = withTimes;
    return true;
}

void WireLog::write(const QString& source, const QString& event)
{
    if (!m_file.isOpen())
        return;
    QString entry = source + ' ' + event + '\n';
    if (m_withTimes)
        entry.prepend(QString::number(m_clock.elapsed()) + ' ');
    m_file.write(entry.toUtf8());
    m_file.flush();
}

// Only the timed log has these: the plain one holds exactly the lines that crossed the wire.
void WireLog::writeAnswered(const QString& source)
{
    if (m_withTimes)
        write(source, QStringLiteral("answered"));
}
