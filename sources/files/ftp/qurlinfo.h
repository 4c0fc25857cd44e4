#pragma once

#include <QDateTime>
#include <QMetaType>
#include <QString>

#include <memory>

class QUrl;

// One directory entry as an FTP LIST line describes it. An entry nobody has set anything on is
// invalid; copies are deep.
class QUrlInfo
{
public:
    enum PermissionSpec {
        ReadOwner = 00400,
        WriteOwner = 00200,
        ExeOwner = 00100,
        ReadGroup = 00040,
        WriteGroup = 00020,
        ExeGroup = 00010,
        ReadOther = 00004,
        WriteOther = 00002,
        ExeOther = 00001
    };

    QUrlInfo();
    QUrlInfo(const QUrlInfo& other);
    QUrlInfo(const QString& name, int permissions, const QString& owner, const QString& group,
             qint64 size, const QDateTime& lastModified, const QDateTime& lastRead, bool isDir,
             bool isFile, bool isSymLink, bool isWritable, bool isReadable, bool isExecutable);
    QUrlInfo(const QUrl& url, int permissions, const QString& owner, const QString& group,
             qint64 size, const QDateTime& lastModified, const QDateTime& lastRead, bool isDir,
             bool isFile, bool isSymLink, bool isWritable, bool isReadable, bool isExecutable);
    QUrlInfo& operator=(const QUrlInfo& other);
    virtual ~QUrlInfo();

    virtual void setName(const QString& name);
    virtual void setDir(bool b);
    virtual void setFile(bool b);
    virtual void setSymLink(bool b);
    virtual void setOwner(const QString& s);
    virtual void setGroup(const QString& s);
    virtual void setSize(qint64 size);
    virtual void setWritable(bool b);
    virtual void setReadable(bool b);
    virtual void setPermissions(int p);
    virtual void setLastModified(const QDateTime& dt);
    void setLastRead(const QDateTime& dt);

    bool isValid() const { return m_record != nullptr; }
    QString name() const;
    int permissions() const;
    QString owner() const;
    QString group() const;
    qint64 size() const;
    QDateTime lastModified() const;
    QDateTime lastRead() const;
    bool isDir() const;
    bool isFile() const;
    bool isSymLink() const;
    bool isWritable() const;
    bool isReadable() const;
    bool isExecutable() const;

    // Sort keys are those of QDir::SortFlag: 0 name, 1 time, 2 size. lessThan is the negation of
    // greaterThan, so it is no strict ordering: do not hand it to std::sort.
    static bool greaterThan(const QUrlInfo& a, const QUrlInfo& b, int sortBy);
    static bool lessThan(const QUrlInfo& a, const QUrlInfo& b, int sortBy);
    static bool equal(const QUrlInfo& a, const QUrlInfo& b, int sortBy);

    bool operator==(const QUrlInfo& other) const;
    bool operator!=(const QUrlInfo& other) const { return !operator==(other); }

private:
    struct Record
    {
        QString name;
        int permissions = 0;
        QString owner;
        QString group;
        qint64 size = 0;
        QDateTime lastModified;
        QDateTime lastRead;
        bool isDir = false;
        bool isFile = true;
        bool isSymLink = false;
        bool isWritable = true;
        bool isReadable = true;
        bool isExecutable = false;

        bool operator==(const Record& other) const;
    };

    Record& record();

    std::unique_ptr<Record> m_record;
};

Q_DECLARE_METATYPE(QUrlInfo)
