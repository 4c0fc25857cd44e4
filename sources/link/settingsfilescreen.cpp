#include "settingsfilescreen.h"

#include <QDebug>
#include <QFile>
#include <QLockFile>
#include <QSaveFile>

#include <algorithm>
#include <optional>

namespace {

constexpr int kLockWaitMs = 5000;

int digitValue(char c, int base)
{
    const int value = c >= '0' && c <= '9'   ? c - '0'
                      : c >= 'a' && c <= 'f' ? c - 'a' + 10
                      : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                             : base;
    return value < base ? value : -1;
}

// The text as Qt's reader decodes it: escapes of any length, hexadecimal ("\x40") or octal
// ("\100"), kept to 16 bits as Qt does; quotes dropped.
QByteArray unescaped(const QByteArray& line)
{
    QByteArray text;
    text.reserve(line.size());
    for (int i = 0; i < line.size(); ++i) {
        const char c = line.at(i);
        if (c == '"')
            continue;
        if (c != '\\' || i + 1 == line.size()) {
            text.append(c);
            continue;
        }
        const char escaped = line.at(++i);
        const int base = escaped == 'x' ? 16 : digitValue(escaped, 8) >= 0 ? 8 : 0;
        if (base == 0) {
            text.append(escaped); // the other escapes stand for other characters than '@'
            continue;
        }
        unsigned value = 0;
        int next = base == 16 ? i + 1 : i;
        for (int digit; next < line.size() && (digit = digitValue(line.at(next), base)) >= 0;
             ++next)
            value = value * unsigned(base) + unsigned(digit);
        i = next - 1;
        const unsigned character = value & 0xffff;
        text.append(character < 0x80 ? char(character) : '?');
    }
    return text;
}

bool holdsSerializedValue(const QByteArray& line)
{
    for (QByteArray item : unescaped(line).replace('=', ',').split(',')) {
        item = item.trimmed();
        if (item.startsWith("@Variant(") || item.startsWith("@DateTime("))
            return true;
    }
    return false;
}

// The file's lines ('\r' ends one too), grouped into entries: a line ending in a backslash goes
// on in the next.
QList<QList<QByteArray>> entries(const QByteArray& content)
{
    QList<QList<QByteArray>> grouped;
    bool continued = false;
    for (const QByteArray& line : content.split('\n')) {
        if (!continued)
            grouped.append(QList<QByteArray>());
        grouped.last().append(line);
        continued = line.endsWith('\\') || line.endsWith("\\\r");
    }
    return grouped;
}

// Only an '@', or an escape that may stand for one, can begin what Qt deserializes: lines
// without either (a long text with line breaks, say) need no closer look.
bool mayHoldSerializedValue(const QByteArray& line)
{
    if (line.contains('@'))
        return true;
    for (int at = line.indexOf('\\'); at >= 0 && at + 1 < line.size();
         at = line.indexOf('\\', at + 2)) {
        const char escaped = line.at(at + 1);
        if (escaped == 'x' || (escaped >= '0' && escaped <= '7'))
            return true;
    }
    return false;
}

bool entryHoldsSerializedValue(const QList<QByteArray>& lines)
{
    if (std::none_of(lines.begin(), lines.end(), mayHoldSerializedValue))
        return false;
    QByteArray joined;
    for (const QByteArray& line : lines) {
        for (const QByteArray& piece : line.split('\r'))
            if (holdsSerializedValue(piece))
                return true;
        joined += line.endsWith('\\') ? line.chopped(1) : line;
    }
    return holdsSerializedValue(joined.replace("\\\r", QByteArray()).replace('\r', '\n'));
}

struct Screened
{
    QByteArray kept;
    QList<QByteArray> removed; // the first line of each entry taken out
};

Screened screened(const QByteArray& content)
{
    Screened result;
    for (const QList<QByteArray>& entry : entries(content)) {
        if (entryHoldsSerializedValue(entry)) {
            result.removed.append(entry.first().left(80));
            continue;
        }
        for (const QByteArray& line : entry)
            result.kept += line + '\n';
    }
    result.kept.chop(1); // the last line had no line feed of its own
    return result;
}

std::optional<QByteArray> contentOf(const QString& fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        qWarning().noquote() << "Settings file" << fileName << "not checked:" << file.errorString();
        return std::nullopt;
    }
    return file.readAll();
}

void reportNotRewritten(const QString& fileName, const QString& reason)
{
    qWarning().noquote() << "Settings file" << fileName
                         << "holds values Qt would deserialize, and could not be rewritten:"
                         << reason;
}

} // namespace

namespace settingsfilescreen {

// Read without the lock first: a file with nothing to take out, the usual case, is left as it
// is even where no lock can be made (a read-only folder).
QList<QByteArray> removeSerializedValues(const QString& fileName)
{
    if (!QFile::exists(fileName))
        return {};
    std::optional<QByteArray> content = contentOf(fileName);
    if (!content || screened(*content).removed.isEmpty())
        return {};

    QLockFile lock(fileName + QStringLiteral(".lock"));
    if (!lock.tryLock(kLockWaitMs)) {
        reportNotRewritten(fileName, QStringLiteral("its lock could not be taken"));
        return {};
    }
    content = contentOf(fileName); // as it is now that no one else writes it
    if (!content)
        return {};
    const Screened result = screened(*content);
    if (result.removed.isEmpty())
        return {};
    QSaveFile rewritten(fileName); // takes the old file's mode
    if (!rewritten.open(QIODevice::WriteOnly) ||
        rewritten.write(result.kept) != result.kept.size() || !rewritten.commit()) {
        reportNotRewritten(fileName, rewritten.errorString());
        return {};
    }
    return result.removed;
}

} // namespace settingsfilescreen
