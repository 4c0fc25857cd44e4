#include "qurlinfo.h"

#include <QDir>
#include <QUrl>

QUrlInfo::QUrlInfo() = default;

QUrlInfo::QUrlInfo(const QUrlInfo& other)
    : m_record(other.m_record ? std::make_unique<Record>(*other.m_record) : nullptr)
{
}

QUrlInfo::QUrlInfo(const QString& name, int permissions, const QString& owner, const QString& group,
                   qint64 size, const QDateTime& lastModified, const QDateTime& lastRead,
                   bool isDir, bool isFile, bool isSymLink, bool isWritable, bool isReadable,
                   bool isExecutable)
    : m_record(std::make_unique<Record>(Record{name, permissions, owner, group, size, lastModified,
                                               lastRead, isDir, isFile, isSymLink, isWritable,
                                               isReadable, isExecutable}))
{
}

QUrlInfo::QUrlInfo(const QUrl& url, int permissions, const QString& owner, const QString& group,
                   qint64 size, const QDateTime& lastModified, const QDateTime& lastRead,
                   bool isDir, bool isFile, bool isSymLink, bool isWritable, bool isReadable,
                   bool isExecutable)
    : QUrlInfo(url.fileName(), permissions, owner, group, size, lastModified, lastRead, isDir,
               isFile, isSymLink, isWritable, isReadable, isExecutable)
{
}

QUrlInfo& QUrlInfo::operator=(const QUrlInfo& other)
{
    if (this != &other)
        m_record = other.m_record ? std::make_unique<Record>(*other.m_record) : nullptr;
    return *this;
}

QUrlInfo::~QUrlInfo() = default;

QUrlInfo::Record& QUrlInfo::record()
{
    if (!m_record)
        m_record = std::make_unique<Record>();
    return *m_record;
}

void QUrlInfo::setName(const QString& name)
{
    record().name = name;
}
void QUrlInfo::setDir(bool b)
{
    record().isDir = b;
}
void QUrlInfo::setFile(bool b)
{
    record().isFile = b;
}
void QUrlInfo::setSymLink(bool b)
{
    record().isSymLink = b;
}
void QUrlInfo::setOwner(const QString& s)
{
    record().owner = s;
}
void QUrlInfo::setGroup(const QString& s)
{
    record().group = s;
}
void QUrlInfo::setSize(qint64 size)
{
    record().size = size;
}
void QUrlInfo::setWritable(bool b)
{
    record().isWritable = b;
}
void QUrlInfo::setReadable(bool b)
{
    record().isReadable = b;
}
void QUrlInfo::setPermissions(int p)
{
    record().permissions = p;
}
void QUrlInfo::setLastModified(const QDateTime& dt)
{
    record().lastModified = dt;
}
void QUrlInfo::setLastRead(const QDateTime& dt)
{
    record().lastRead = dt;
}

QString QUrlInfo::name() const
{
    return m_record ? m_record->name : QString();
}
int QUrlInfo::permissions() const
{
    return m_record ? m_record->permissions : 0;
}
QString QUrlInfo::owner() const
{
    return m_record ? m_record->owner : QString();
}
QString QUrlInfo::group() const
{
    return m_record ? m_record->group : QString();
}
qint64 QUrlInfo::size() const
{
    return m_record ? m_record->size : 0;
}
QDateTime QUrlInfo::lastModified() const
{
    return m_record ? m_record->lastModified : QDateTime();
}
QDateTime QUrlInfo::lastRead() const
{
    return m_record ? m_record->lastRead : QDateTime();
}
bool QUrlInfo::isDir() const
{
    return m_record && m_record->isDir;
}
bool QUrlInfo::isFile() const
{
    return m_record && m_record->isFile;
}
bool QUrlInfo::isSymLink() const
{
    return m_record && m_record->isSymLink;
}
bool QUrlInfo::isWritable() const
{
    return m_record && m_record->isWritable;
}
bool QUrlInfo::isReadable() const
{
    return m_record && m_record->isReadable;
}
bool QUrlInfo::isExecutable() const
{
    return m_record && m_record->isExecutable;
}

bool QUrlInfo::greaterThan(const QUrlInfo& a, const QUrlInfo& b, int sortBy)
{
    switch (sortBy) {
    case QDir::Name:
        return a.name() > b.name();
    case QDir::Time:
        return a.lastModified() > b.lastModified();
    case QDir::Size:
        return a.size() > b.size();
    default:
        return false;
    }
}

bool QUrlInfo::lessThan(const QUrlInfo& a, const QUrlInfo& b, int sortBy)
{
    return !greaterThan(a, b, sortBy);
}

bool QUrlInfo::equal(const QUrlInfo& a, const QUrlInfo& b, int sortBy)
{
    switch (sortBy) {
    case QDir::Name:
        return a.name() == b.name();
    case QDir::Time:
        return a.lastModified() == b.lastModified();
    case QDir::Size:
        return a.size() == b.size();
    default:
        return false;
    }
}

bool QUrlInfo::Record::operator==(const Record& o) const
{
    return name == o.name && permissions == o.permissions && owner == o.owner && group == o.group &&
           size == o.size && lastModified == o.lastModified && lastRead == o.lastRead &&
           isDir == o.isDir && isFile == o.isFile && isSymLink == o.isSymLink &&
           isWritable == o.isWritable && isReadable == o.isReadable &&
           isExecutable == o.isExecutable;
}

bool QUrlInfo::operator==(const QUrlInfo& other) const
{
    if (!m_record || !other.m_record)
        return !m_record && !other.m_record;
    return *m_record == *other.m_record;
}
