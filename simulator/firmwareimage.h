#pragma once

#include <QByteArray>
#include <QCryptographicHash>
#include <QString>

// The check of a firmware image as it arrives, in pieces. An image is one header line, then the
// payload:
//   QX8FW <version> <payload length> <SHA-256 of the payload, hex>\n
// (simulator/storage/make_update_files.py writes such images).
class FirmwareImage
{
public:
    static constexpr int kMaximumHeaderLength = 256;

    FirmwareImage();

    void add(const QByteArray& bytes);
    // After the last piece: the version the image carries, or an empty text with `reason` set.
    QString verify(QString* reason) const;

private:
    QByteArray m_header;
    bool m_headerComplete = false;
    qint64 m_payloadLength = 0;
    QCryptographicHash m_payloadHash;
};
