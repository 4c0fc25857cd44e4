#include "qx8settingsstore.h"

#include "qx8settingsini.h"
#include "regularfile.h"

#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMutex>
#include <QStandardPaths>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

constexpr QFileDevice::Permissions kOwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
// The most keys one warning names; its count tells of the rest.
constexpr int kNamedKeys = 5;

QString nameOf(const QIODevice& device)
{
    const auto* file = qobject_cast<const QFileDevice*>(&device);
    return file ? file->fileName() : QStringLiteral("(stream)");
}

// Keys from a file as one line of the log can hold them: what does not print is escaped.
QString listed(const QStringList& keys)
{
    QString text;
    for (const QString& key : keys.mid(0, kNamedKeys)) {
        if (!text.isEmpty())
            text += QLatin1String(", ");
        for (const QChar character : key)
            text += character.isPrint()
                        ? QString(character)
                        : QStringLiteral("\\x%1").arg(character.unicode(), 2, 16, QLatin1Char('0'));
    }
    return keys.size() > kNamedKeys ? text + QStringLiteral(", ...") : text;
}

// The lock QSettings takes beside a store's file to write it. It reads a lock it finds in its way
// to learn its holder: a FIFO there would hold the write for ever.
QString lockOf(const QString& path)
{
    return path + QStringLiteral(".lock");
}

template<typename Store> settingsstore::HeldValues copied(const Store& store)
{
    settingsstore::HeldValues held;
    for (const QString& key : store.allKeys())
        held.setValue(key, store.value(key));
    return held;
}

// Why the file at `path` must not be read or replaced; empty when it may, or is absent.
QString unreadableReason(const QString& path)
{
    if (!RegularFile::mayBeOpened(path))
        return QStringLiteral("is not a regular file");
    if (QFileInfo(path).size() > settingsstore::kLargestFile)
        return QStringLiteral("is larger than %1 MiB").arg(settingsstore::kLargestFile >> 20);
    return QString();
}

// A file past the limit is not read; a device without a size (a pipe) no further than one byte
// past it. Such a file reads as empty, not as a format error: QSettings would keep that error for
// the store object and hide the failed write that follows behind it.
bool readStore(QIODevice& device, QSettings::SettingsMap& values)
{
    const qint64 limit = settingsstore::kLargestFile;
    const bool sized = !device.isSequential();
    QByteArray text;
    if (!sized)
        text = device.read(limit + 1);
    else if (device.size() <= limit)
        text = device.readAll();
    if ((sized && device.size() > limit) || text.size() > limit) {
        qWarning().noquote() << QStringLiteral("Settings file %1 is larger than %2 MiB: not read")
                                    .arg(nameOf(device))
                                    .arg(settingsstore::kLargestFile >> 20);
        values.clear();
        return true;
    }
    settingsini::Content content = settingsini::parse(text);
    if (!content.leftOut.isEmpty())
        qWarning().noquote() << "Settings file" << nameOf(device) << "holds"
                             << content.leftOut.size()
                             << "values in forms the application never writes, left out unread:"
                             << listed(content.leftOut);
    values = std::move(content.values);
    return true;
}

// Keys the writer left out of each file for its size, until the store drops them from memory.
class OversizedKeys
{
public:
    static OversizedKeys& instance()
    {
        static OversizedKeys keys;
        return keys;
    }

    void note(const QString& fileName, const QStringList& keys)
    {
        const QMutexLocker lock(&m_mutex);
        m_keys[fileName] += keys;
    }
    QStringList take(const QString& fileName)
    {
        const QMutexLocker lock(&m_mutex);
        return m_keys.take(fileName);
    }

private:
    QMutex m_mutex;
    QHash<QString, QStringList> m_keys;
};

bool writeStore(QIODevice& device, const QSettings::SettingsMap& values)
{
    if (auto* file = qobject_cast<QFileDevice*>(&device)) {
        const QString reason = unreadableReason(file->fileName());
        if (!reason.isEmpty()) {
            qWarning().noquote() << QStringLiteral("Settings file %1 %2: not replaced")
                                        .arg(file->fileName(), reason);
            return false;
        }
        // The new file takes the old one's mode, or the umask's: narrowed before it holds a byte.
        if (!file->setPermissions(kOwnerOnly))
            qWarning().noquote() << "Could not make" << file->fileName()
                                 << "private:" << file->errorString();
    }
    QStringList leftOut;
    QStringList tooLarge;
    const QByteArray text =
        settingsini::format(values, &leftOut, settingsstore::kLargestFile, &tooLarge);
    if (!leftOut.isEmpty())
        qWarning().noquote() << "Settings of types the application does not store, not saved:"
                             << listed(leftOut);
    if (!tooLarge.isEmpty()) {
        qWarning().noquote() << QStringLiteral("Settings left out of %1 so that it stays within "
                                               "%2 MiB, not saved: %3")
                                    .arg(nameOf(device))
                                    .arg(settingsstore::kLargestFile >> 20)
                                    .arg(listed(tooLarge));
        OversizedKeys::instance().note(nameOf(device), tooLarge);
    }
    return device.write(text) == text.size();
}

QSettings::Format format()
{
    static const QSettings::Format registered =
        QSettings::registerFormat(QStringLiteral("conf"), readStore, writeStore);
    return registered;
}

// A name beside the file that nothing holds yet.
QString freeNameBeside(const QString& path)
{
    const QString base = path + QStringLiteral(".set-aside");
    if (!RegularFile::isTaken(base))
        return base;
    for (int number = 2; number < 100; ++number) {
        const QString numbered = base + QLatin1Char('-') + QString::number(number);
        if (!RegularFile::isTaken(numbered))
            return numbered;
    }
    return QString();
}

} // namespace

namespace settingsstore {

// Where QSettings puts a file of a format of the application's own on Linux, so that users' files
// are found; on macOS and Windows it would choose another folder, so it is always given this name.
QString fileName(const settingskeys::Store& store)
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + '/' +
           QLatin1String(store.organization) + '/' + QLatin1String(store.application) +
           QStringLiteral(".conf");
}

HeldValues HeldValues::copyOf(const OpenedStore& store)
{
    return copied(store);
}

void HeldValues::copyTo(OpenedStore& store) const
{
    store.clear();
    for (auto entry = m_values.cbegin(); entry != m_values.cend(); ++entry)
        store.setValue(entry.key(), entry.value());
}

void HeldValues::remove(const QString& key)
{
    const QString group = key + QLatin1Char('/');
    for (auto entry = m_values.begin(); entry != m_values.end();) {
        if (key.isEmpty() || entry.key() == key || entry.key().startsWith(group))
            entry = m_values.erase(entry);
        else
            ++entry;
    }
}

OpenedStore::OpenedStore(const settingskeys::Store& store)
    : m_fileName(settingsstore::fileName(store))
{
    if (!RegularFile::mayBeOpened(m_fileName))
        return;
    if (!RegularFile::mayBeWritten(m_fileName) ||
        !RegularFile::unreadableLock(lockOf(m_fileName)).isEmpty()) {
        // Reading takes no lock: the file's values are held here, and never written.
        m_store = copied(QSettings(m_fileName, format()));
        return;
    }
    // A store that wrote as it closed may have left values out.
    dropOversized(m_store.emplace<QSettings>(m_fileName, format()));
}

QStringList OpenedStore::allKeys() const
{
    return std::visit([](const auto& store) { return store.allKeys(); }, m_store);
}

QVariant OpenedStore::value(const QString& key, const QVariant& defaultValue) const
{
    return std::visit([&](const auto& store) { return store.value(key, defaultValue); }, m_store);
}

bool OpenedStore::contains(const QString& key) const
{
    return std::visit([&](const auto& store) { return store.contains(key); }, m_store);
}

void OpenedStore::setValue(const QString& key, const QVariant& value)
{
    std::visit([&](auto& store) { store.setValue(key, value); }, m_store);
}

void OpenedStore::remove(const QString& key)
{
    std::visit([&](auto& store) { store.remove(key); }, m_store);
}

void OpenedStore::clear()
{
    std::visit([](auto& store) { store.clear(); }, m_store);
}

// A format error is a damaged file read, not a failed write.
bool OpenedStore::save()
{
    auto* file = std::get_if<QSettings>(&m_store);
    if (!file)
        return false;
    file->sync();
    dropOversized(*file);
    return file->status() != QSettings::AccessError;
}

// QSettings keeps what it read and wrote of a file for the whole process: a value left out of
// the file would stay there, and be formatted and warned about again at every later save.
void OpenedStore::dropOversized(QSettings& file)
{
    const QStringList keys =
        OversizedKeys::instance().take(QFileInfo(m_fileName).absoluteFilePath());
    if (keys.isEmpty())
        return;
    for (const QString& key : keys)
        file.remove(key);
    file.sync();
}

// rename(2), not QFile::rename: that one copies the content when renaming fails, and a link to
// /dev/zero has no end.
void setAsideIfUnreadable(const settingskeys::Store& store)
{
    const QString path = fileName(store);
    const QString lock = RegularFile::unreadableLock(lockOf(path));
    if (!lock.isEmpty())
        qWarning().noquote() << QStringLiteral("Settings lock %1 is not a regular file: %2 is "
                                               "read, and nothing is saved to it")
                                    .arg(lock, path);
    if (QFileInfo(path).isSymLink() && RegularFile::mayBeOpened(path))
        qWarning().noquote() << QStringLiteral("Settings file %1 is a link: it is read, and "
                                               "nothing is saved to it")
                                    .arg(path);
    const QString reason = unreadableReason(path);
    if (reason.isEmpty())
        return;
    const QString aside = freeNameBeside(path);
    const char* failure = "no free name beside it";
    if (!aside.isEmpty()) {
        if (std::rename(QFile::encodeName(path).constData(),
                        QFile::encodeName(aside).constData()) == 0) {
            qWarning().noquote() << QStringLiteral("Settings file %1 %2: moved aside to %3; the "
                                                   "application starts with its defaults")
                                        .arg(path, reason, aside);
            return;
        }
        failure = std::strerror(errno);
    }
    qWarning().noquote()
        << QStringLiteral("Settings file %1 %2 and could not be moved aside (%3): it is not read")
               .arg(path, reason, QString::fromLocal8Bit(failure));
}

void removeLeftoverLock(const settingskeys::Store& store)
{
    QFile lock(lockOf(fileName(store)));
    if (lock.exists() && !lock.remove())
        qWarning().noquote() << "Could not remove the settings lock" << lock.fileName() << ":"
                             << lock.errorString();
}

} // namespace settingsstore
