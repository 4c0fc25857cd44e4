#include "formquery.h"

namespace {
// Qt 5's QString::fromUtf8(QByteArray) ends the text at the first NUL; a decoded "%00" is data.
QString decodedText(const QByteArray& percentEncoded)
{
    const QByteArray bytes = QByteArray::fromPercentEncoding(percentEncoded);
    return QString::fromUtf8(bytes.constData(), bytes.size());
}
} // namespace

QByteArray FormQuery::text() const
{
    QByteArray text;
    for (const auto& [key, value] : m_items) {
        if (!text.isEmpty())
            text += '&';
        text += key.toUtf8().toPercentEncoding();
        if (!value.isNull())
            text += '=' + value.toUtf8().toPercentEncoding();
    }
    return text;
}

FormQuery FormQuery::fromText(const QByteArray& text)
{
    FormQuery query;
    for (const QByteArray& item : text.split('&')) {
        if (item.isEmpty())
            continue;
        const int separator = item.indexOf('=');
        const QByteArray key = separator < 0 ? item : item.left(separator);
        const QString decodedKey = decodedText(key);
        if (separator < 0) {
            query.addItem(decodedKey, QString());
        } else {
            const QString value = decodedText(item.mid(separator + 1));
            // fromUtf8 of an empty array gives a null text; an item with "=" keeps its "=".
            query.addItem(decodedKey, value.isNull() ? QStringLiteral("") : value);
        }
    }
    return query;
}
