#include "qx8settingsini.h"

#include <QMap>
#include <QTextCodec>
#include <QVector>

#include <algorithm>
#include <optional>

// Both directions follow Qt's own reader and writer of the format step for step, so that a file
// means the same to either; the comments say where Qt's behaviour is surprising.
namespace {

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

bool isSpecial(char c)
{
    return c == '\n' || c == '\r' || c == '"' || c == ';' || c == '=' || c == '\\';
}

int digitValue(int c, int base)
{
    const int value = c >= '0' && c <= '9'   ? c - '0'
                      : c >= 'a' && c <= 'f' ? c - 'a' + 10
                      : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                             : base;
    return value < base ? value : -1;
}

// --- Reading ---

struct Line
{
    int start = 0;
    int length = 0;
    int equals = -1; // the first '=' outside quotes, or -1
};

// The next line from `pos`: a backslash carries it over a line break, an open quote over any; a
// ';' at its start makes it a comment, skipped, and elsewhere outside quotes ends it. False at
// the end of the text.
bool nextLine(const QByteArray& data, int& pos, Line& line)
{
    const int size = data.size();
    bool inQuotes = false;
    line.equals = -1;
    int start = pos;
    while (start < size && isSpace(data.at(start)))
        ++start;
    int i = start;
    while (i < size) {
        const char c = data.at(i++);
        if (!isSpecial(c))
            continue;
        if (c == '=') {
            if (!inQuotes && line.equals == -1)
                line.equals = i - 1;
        } else if (c == '\n' || c == '\r') {
            if (i == start + 1) {
                ++start;
            } else if (!inQuotes) {
                --i;
                break;
            }
        } else if (c == '\\') {
            if (i < size) {
                const char escaped = data.at(i++);
                if (i < size) {
                    const char next = data.at(i);
                    if ((escaped == '\n' && next == '\r') || (escaped == '\r' && next == '\n'))
                        ++i;
                }
            }
        } else if (c == '"') {
            inQuotes = !inQuotes;
        } else if (i == start + 1) { // a comment line
            while (i < size && data.at(i) != '\n' && data.at(i) != '\r')
                ++i;
            while (i < size && isSpace(data.at(i)))
                ++i;
            start = i;
        } else if (!inQuotes) {
            --i;
            break;
        }
    }
    pos = i;
    line.start = start;
    line.length = i - start;
    return line.length > 0;
}

// A key or section name: '\' stands for '/', "%XX" and "%UXXXX" for a character, read as Qt
// reads numbers (signs and spaces pass). Other bytes are Latin-1.
void appendUnescapedKey(const QByteArray& data, int from, int to, QString& key)
{
    int i = from;
    while (i < to) {
        const char c = data.at(i);
        if (c == '\\') {
            key += QLatin1Char('/');
            ++i;
            continue;
        }
        if (c != '%' || i == to - 1) {
            key += QLatin1Char(c);
            ++i;
            continue;
        }
        int first = i + 1;
        int digits = 2;
        if (data.at(first) == 'U') {
            ++first;
            digits = 4;
        }
        bool ok = false;
        const int code = first + digits <= to ? data.mid(first, digits).toInt(&ok, 16) : 0;
        if (!ok) {
            key += QLatin1Char('%');
            ++i;
            continue;
        }
        key += QChar(code);
        i = first + digits;
    }
}

// "[General]" is the top level, "[%General]" a group of that name; a section's keys are its
// name, a '/', and their own.
QString sectionPrefix(const QByteArray& name)
{
    if (name.compare("general", Qt::CaseInsensitive) == 0)
        return QString();
    QString prefix;
    if (name.compare("%general", Qt::CaseInsensitive) == 0)
        prefix = QString::fromLatin1(name.mid(1));
    else
        appendUnescapedKey(name, 0, name.size(), prefix);
    return prefix + QLatin1Char('/');
}

char escapedCharacter(char c)
{
    switch (c) {
    case 'a':
        return '\a';
    case 'b':
        return '\b';
    case 'f':
        return '\f';
    case 'n':
        return '\n';
    case 'r':
        return '\r';
    case 't':
        return '\t';
    case 'v':
        return '\v';
    case '"':
    case '?':
    case '\'':
    case '\\':
        return c;
    default:
        return 0;
    }
}

void chopTrailingSpaces(QString& text, int limit)
{
    int end = text.size();
    while (end > limit &&
           (text.at(end - 1) == QLatin1Char(' ') || text.at(end - 1) == QLatin1Char('\t')))
        --end;
    text.truncate(end);
}

struct RawValue
{
    QString text;
    QStringList list;
    bool isList = false;
};

// The value's text, or the items of a list (an unquoted ',' makes one). Quotes keep spaces and
// commas; escapes are C's, with hexadecimal and octal ones of any length kept to 16 bits.
// Trailing spaces go, but not those a quote, an escape, or a value ending in a lone escape holds.
RawValue unescapedValue(const QByteArray& data, int from, int to, QTextCodec* codec)
{
    RawValue value;
    QString& text = value.text;
    bool inQuotes = false;
    bool quoted = false;
    bool chop = true;
    int chopLimit = 0;
    int i = from;
    auto skipSpaces = [&] {
        while (i < to && (data.at(i) == ' ' || data.at(i) == '\t'))
            ++i;
        chopLimit = text.size();
    };
    skipSpaces();
    while (i < to) {
        const char c = data.at(i);
        if (c == '\\') {
            if (++i == to) {
                chop = false;
                break;
            }
            const char escaped = data.at(i++);
            const bool hex = escaped == 'x' && i < to && digitValue(data.at(i), 16) >= 0;
            if (const char character = escapedCharacter(escaped)) {
                text += QLatin1Char(character);
            } else if (hex || digitValue(escaped, 8) >= 0) {
                const int base = hex ? 16 : 8;
                unsigned code = hex ? 0 : unsigned(escaped - '0');
                for (int digit; i < to && (digit = digitValue(data.at(i), base)) >= 0; ++i)
                    code = code * unsigned(base) + unsigned(digit);
                text += QChar(ushort(code & 0xffff));
                if (i == to) {
                    chop = false;
                    break;
                }
            } else if (escaped == 'x' && i == to) {
                chop = false;
                break;
            } else if (escaped == '\n' || escaped == '\r') {
                if (i < to && (data.at(i) == '\n' || data.at(i) == '\r') && data.at(i) != escaped)
                    ++i;
            }
            chopLimit = text.size();
        } else if (c == '"') {
            ++i;
            quoted = true;
            inQuotes = !inQuotes;
            if (!inQuotes)
                skipSpaces();
        } else if (c == ',' && !inQuotes) {
            if (!quoted)
                chopTrailingSpaces(text, chopLimit);
            value.isList = true;
            value.list.append(text);
            text.clear();
            quoted = false;
            ++i;
            skipSpaces();
        } else {
            int end = i + 1;
            while (end < to && data.at(end) != '\\' && data.at(end) != '"' && data.at(end) != ',')
                ++end;
            text += codec ? codec->toUnicode(data.constData() + i, end - i)
                          : QString::fromLatin1(data.constData() + i, end - i);
            i = end;
        }
    }
    if (chop && !quoted)
        chopTrailingSpaces(text, chopLimit);
    if (value.isList)
        value.list.append(text);
    return value;
}

// Forms Qt decodes from the file's bytes into a type of its own: never read here.
bool isForeignForm(const QString& text)
{
    for (const char* form : {"@Variant(", "@DateTime(", "@Rect(", "@Size(", "@Point("}) {
        if (text.startsWith(QLatin1String(form)))
            return true;
    }
    return false;
}

// What Qt makes of a text: byte arrays, texts holding NUL, invalid values, '@' doubled at the
// start of a text that has one. Nothing for a foreign form.
std::optional<QVariant> variantOf(const QString& text)
{
    if (text.startsWith(QLatin1Char('@'))) {
        if (text.endsWith(QLatin1Char(')'))) {
            if (text.startsWith(QLatin1String("@ByteArray(")))
                return QVariant(text.midRef(11, text.size() - 12).toLatin1());
            if (text.startsWith(QLatin1String("@String(")))
                return QVariant(text.mid(8, text.size() - 9));
            if (isForeignForm(text))
                return std::nullopt;
            if (text == QLatin1String("@Invalid()"))
                return QVariant();
        }
        if (text.startsWith(QLatin1String("@@")))
            return QVariant(text.mid(1));
    }
    return QVariant(text);
}

// A list of texts, or, as soon as one item has a form of its own, a list of variants.
std::optional<QVariant> listOf(const QStringList& items)
{
    QStringList texts = items;
    for (QString& text : texts) {
        if (!text.startsWith(QLatin1Char('@')))
            continue;
        if (text.size() >= 2 && text.at(1) == QLatin1Char('@')) {
            text.remove(0, 1);
            continue;
        }
        QVariantList variants;
        for (const QString& item : items) {
            const std::optional<QVariant> variant = variantOf(item);
            if (!variant)
                return std::nullopt;
            variants.append(*variant);
        }
        return QVariant(variants);
    }
    return QVariant(texts);
}

void readSection(const QString& prefix, const QByteArray& data, QTextCodec* codec,
                 settingsini::Content& content)
{
    int pos = 0;
    Line line;
    while (nextLine(data, pos, line)) {
        if (line.equals == -1)
            continue; // a comment, or a line Qt calls a format error and passes over
        int keyEnd = line.equals;
        while (keyEnd > line.start && (data.at(keyEnd - 1) == ' ' || data.at(keyEnd - 1) == '\t'))
            --keyEnd;
        QString key = prefix;
        appendUnescapedKey(data, line.start, keyEnd, key);
        const RawValue raw = unescapedValue(data, line.equals + 1, line.start + line.length, codec);
        const std::optional<QVariant> value = raw.isList ? listOf(raw.list) : variantOf(raw.text);
        if (value) {
            content.values.insert(key, *value);
        } else {
            content.values.remove(key);
            content.leftOut.append(key);
        }
    }
}

// --- Writing ---

constexpr char kHexDigits[] = "0123456789ABCDEF";

void appendEscapedKey(const QString& key, QByteArray& out)
{
    for (const QChar character : key) {
        const ushort c = character.unicode();
        if (c == '/') {
            out += '\\';
        } else if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                   c == '_' || c == '-' || c == '.') {
            out += char(c);
        } else if (c <= 0xff) {
            out += '%';
            out += kHexDigits[c / 16];
            out += kHexDigits[c % 16];
        } else {
            out += "%U";
            for (int shift = 12; shift >= 0; shift -= 4)
                out += kHexDigits[(c >> shift) & 0xf];
        }
    }
}

// A text as Qt writes it without a codec: C escapes, everything outside printable ASCII as "\x"
// and its hexadecimal code (and a hexadecimal digit after such an escape as one too), quoted when
// it holds ';', ',' or '=' or starts or ends with a space.
void appendEscapedText(const QString& text, QByteArray& out)
{
    const int start = out.size();
    bool needsQuotes = false;
    bool escapeNextIfDigit = false;
    for (const QChar character : text) {
        const ushort c = character.unicode();
        if (c == ';' || c == ',' || c == '=')
            needsQuotes = true;
        if (escapeNextIfDigit && digitValue(c, 16) >= 0) {
            out += "\\x" + QByteArray::number(c, 16);
            continue;
        }
        escapeNextIfDigit = false;
        switch (c) {
        case '\0':
            out += "\\0";
            escapeNextIfDigit = true;
            break;
        case '\a':
            out += "\\a";
            break;
        case '\b':
            out += "\\b";
            break;
        case '\f':
            out += "\\f";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\v':
            out += "\\v";
            break;
        case '"':
        case '\\':
            out += '\\';
            out += char(c);
            break;
        default:
            if (c <= 0x1f || c >= 0x7f) {
                out += "\\x" + QByteArray::number(c, 16);
                escapeNextIfDigit = true;
            } else {
                out += char(c);
            }
        }
    }
    if (needsQuotes ||
        (start < out.size() && (out.at(start) == ' ' || out.at(out.size() - 1) == ' '))) {
        out.insert(start, '"');
        out += '"';
    }
}

// The text Qt writes for a value it does not serialize; nothing for one it would.
std::optional<QString> textOf(const QVariant& value)
{
    switch (value.userType()) {
    case QMetaType::UnknownType:
        return QStringLiteral("@Invalid()");
    case QMetaType::QByteArray: {
        const QByteArray bytes = value.toByteArray();
        return QLatin1String("@ByteArray(") + QLatin1String(bytes.constData(), bytes.size()) +
               QLatin1Char(')');
    }
    case QMetaType::QString:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Bool:
    case QMetaType::Double: {
        const QString text = value.toString();
        if (text.contains(QChar::Null))
            return QLatin1String("@String(") + text + QLatin1Char(')');
        return text.startsWith(QLatin1Char('@')) ? QLatin1Char('@') + text : text;
    }
    default:
        return std::nullopt;
    }
}

// Lists are written as lists, but for a variant list of one item, which Qt serializes.
bool appendValue(const QVariant& value, QByteArray& out)
{
    const int type = value.userType();
    if (type != QMetaType::QStringList &&
        (type != QMetaType::QVariantList || value.toList().size() == 1)) {
        const std::optional<QString> text = textOf(value);
        if (text)
            appendEscapedText(*text, out);
        return bool(text);
    }
    const QVariantList items = value.toList();
    if (items.isEmpty())
        out += "@Invalid()"; // as Qt: an empty list, not a list of one empty text
    for (int index = 0; index < items.size(); ++index) {
        const std::optional<QString> text = textOf(items.at(index));
        if (!text)
            return false;
        if (index > 0)
            out += ", ";
        appendEscapedText(*text, out);
    }
    return true;
}

// "[General]" for the top level, "[%General]" for a group of that name.
QByteArray sectionHeader(const QString& section)
{
    QByteArray name;
    appendEscapedKey(section, name);
    if (name.isEmpty())
        return "[General]";
    if (name.compare("general", Qt::CaseInsensitive) == 0)
        return "[%General]";
    return '[' + name + ']';
}

// The lines of a file by section, its size known before it is written: Qt groups a new file's
// keys by the part before their first '/', each section in its header, a blank line between them.
class FileLines
{
public:
    void add(const QString& section, const QString& key, const QByteArray& line)
    {
        auto found = m_sections.find(section);
        if (found == m_sections.end()) {
            found = m_sections.insert(section, Section{sectionHeader(section), {}});
            m_size += sectionSize(*found);
        }
        found->lines.insert(key, line);
        m_size += line.size();
    }

    // Leaves out the largest lines until the text is no larger than the limit; their keys.
    QStringList shrinkTo(qint64 limit)
    {
        QStringList left;
        if (m_size <= limit)
            return left;
        struct Placed
        {
            QString section;
            QString key;
            int size;
        };
        QVector<Placed> placed;
        for (auto section = m_sections.cbegin(); section != m_sections.cend(); ++section) {
            for (auto line = section->lines.cbegin(); line != section->lines.cend(); ++line)
                placed.append({section.key(), line.key(), line.value().size()});
        }
        std::stable_sort(placed.begin(), placed.end(),
                         [](const Placed& a, const Placed& b) { return a.size > b.size; });
        for (const Placed& line : qAsConst(placed)) {
            if (m_size <= limit)
                break;
            remove(line.section, line.key);
            left.append(line.key);
        }
        return left;
    }

    QByteArray text() const
    {
        QByteArray text;
        text.reserve(int(m_size));
        for (auto section = m_sections.cbegin(); section != m_sections.cend(); ++section) {
            if (section != m_sections.cbegin())
                text += '\n';
            text += section->header + '\n';
            for (const QByteArray& line : section->lines)
                text += line;
        }
        return text;
    }

private:
    struct Section
    {
        QByteArray header;
        QMap<QString, QByteArray> lines; // by whole key, in the order Qt writes them
    };

    // The header, its line break, and the blank line before it unless it comes alone.
    qint64 sectionSize(const Section& section) const
    {
        return section.header.size() + 1 + (m_sections.size() > 1 ? 1 : 0);
    }

    void remove(const QString& sectionName, const QString& key)
    {
        const auto section = m_sections.find(sectionName);
        m_size -= section->lines.take(key).size();
        if (!section->lines.isEmpty())
            return;
        m_size -= sectionSize(*section);
        m_sections.erase(section);
    }

    QMap<QString, Section> m_sections;
    qint64 m_size = 0;
};

} // namespace

namespace settingsini {

Content parse(const QByteArray& text)
{
    // Without a byte-order mark Qt reads bytes as Latin-1. With one it still counts the mark
    // as part of the first section's text.
    const bool utf8 = text.startsWith("\xef\xbb\xbf");
    QTextCodec* codec = utf8 ? QTextCodec::codecForName("UTF-8") : nullptr;

    // Qt cuts the file into sections first, the lines of a name given twice gathered under it,
    // and reads them in the order of their names, so a later key of the same name wins.
    QMap<QString, QByteArray> sections;
    QString current;
    int currentStart = 0;
    auto gather = [&](int end) { sections[current] += text.mid(currentStart, end - currentStart); };
    int pos = utf8 ? 3 : 0;
    Line line;
    while (nextLine(text, pos, line)) {
        if (text.at(line.start) != '[')
            continue;
        gather(line.start);
        const int close = text.indexOf(']', line.start);
        const int nameEnd =
            close == -1 || close >= line.start + line.length ? line.start + line.length : close;
        current = sectionPrefix(text.mid(line.start + 1, nameEnd - line.start - 1).trimmed());
        currentStart = pos;
    }
    gather(text.size());

    Content content;
    for (auto section = sections.cbegin(); section != sections.cend(); ++section)
        readSection(section.key(), section.value(), codec, content);
    return content;
}

QByteArray format(const QSettings::SettingsMap& values, QStringList* leftOut, qint64 sizeLimit,
                  QStringList* tooLarge)
{
    FileLines lines;
    for (auto entry = values.cbegin(); entry != values.cend(); ++entry) {
        const int slash = entry.key().indexOf(QLatin1Char('/'));
        QByteArray line;
        appendEscapedKey(slash == -1 ? entry.key() : entry.key().mid(slash + 1), line);
        line += '=';
        if (!appendValue(entry.value(), line)) {
            leftOut->append(entry.key());
            continue;
        }
        line += '\n';
        lines.add(slash == -1 ? QString() : entry.key().left(slash), entry.key(), line);
    }
    *tooLarge = lines.shrinkTo(sizeLimit);
    return lines.text();
}

} // namespace settingsini
