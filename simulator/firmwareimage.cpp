#include "firmwareimage.h"

#include <QRegularExpression>

FirmwareImage::FirmwareImage() : m_payloadHash(QCryptographicHash::Sha256) {}

void FirmwareImage::add(const QByteArray& bytes)
{
    int payloadStart = 0;
    if (!m_headerComplete) {
        const int end = bytes.indexOf('\n');
        const int headerPart = end < 0 ? bytes.size() : end;
        if (m_header.size() <= kMaximumHeaderLength)
            m_header += bytes.left(headerPart);
        if (end < 0)
            return;
        m_headerComplete = true;
        payloadStart = end + 1;
    }
    m_payloadLength += bytes.size() - payloadStart;
    m_payloadHash.addData(bytes.constData() + payloadStart, bytes.size() - payloadStart);
}

QString FirmwareImage::verify(QString* reason) const
{
    static const QRegularExpression header(
        QStringLiteral("^QX8FW ([0-9]+(?:\\.[0-9]+){0,3}) ([0-9]+) ([0-9a-f]{64})$"));
    const QRegularExpressionMatch match =
        header.match(m_headerComplete ? QString::fromLatin1(m_header) : QString());
    if (!match.hasMatch()) {
        *reason = QStringLiteral("no firmware image header");
        return {};
    }
    if (match.captured(2).toLongLong() != m_payloadLength) {
        *reason = QStringLiteral("payload of %1 bytes, the header announces %2")
                      .arg(m_payloadLength)
                      .arg(match.captured(2));
        return {};
    }
    if (match.captured(3).toLatin1() != m_payloadHash.result().toHex()) {
        *reason = QStringLiteral("payload checksum does not match");
        return {};
    }
    return match.captured(1);
}
