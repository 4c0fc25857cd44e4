#include "contentdecoder.h"

#include <zlib.h>

ContentDecoder::ContentDecoder(const QByteArray& contentEncoding)
    : m_name(contentEncoding.trimmed().toLower())
{
    if (m_name.isEmpty() || m_name == "identity")
        return;
    if (m_name != "gzip" && m_name != "x-gzip" && m_name != "deflate") {
        m_kind = Kind::Unsupported;
        return;
    }
    m_kind = Kind::Inflate;
    m_stream = std::make_unique<z_stream>();
    // 32 more bits of window: the zlib and the gzip wrapper are both taken, as servers label
    // them loosely.
    if (inflateInit2(m_stream.get(), MAX_WBITS + 32) != Z_OK) {
        m_errorString = QString::fromLatin1(m_stream->msg ? m_stream->msg : "out of memory");
        m_stream.reset();
    }
}

ContentDecoder::~ContentDecoder()
{
    if (m_stream)
        inflateEnd(m_stream.get());
}

ContentDecoder::Outcome ContentDecoder::decode(const QByteArray& encoded, const Sink& sink)
{
    if (encoded.isEmpty())
        return Outcome::Decoded;
    switch (m_kind) {
    case Kind::Identity:
        return sink(encoded.constData(), encoded.size()) ? Outcome::Decoded : Outcome::Stopped;
    case Kind::Unsupported:
        m_errorString = QStringLiteral("the encoding \"%1\" is not one this application reads")
                            .arg(QString::fromLatin1(m_name));
        return Outcome::Invalid;
    case Kind::Inflate:
        break;
    }
    return m_stream ? inflate(encoded, sink) : Outcome::Invalid;
}

ContentDecoder::Outcome ContentDecoder::inflate(const QByteArray& encoded, const Sink& sink)
{
    if (m_piece.isEmpty())
        m_piece.resize(kPieceSize);
    m_stream->next_in = reinterpret_cast<Bytef*>(const_cast<char*>(encoded.constData()));
    m_stream->avail_in = uInt(encoded.size());
    do {
        // Bytes after the end of a gzip member are the next member.
        if (m_streamEnded) {
            inflateReset(m_stream.get());
            m_streamEnded = false;
        }
        m_stream->next_out = reinterpret_cast<Bytef*>(m_piece.data());
        m_stream->avail_out = uInt(m_piece.size());
        const int status = ::inflate(m_stream.get(), Z_NO_FLUSH);
        if (status != Z_OK && status != Z_STREAM_END && status != Z_BUF_ERROR) {
            m_errorString = QString::fromLatin1(m_stream->msg ? m_stream->msg : "not compressed");
            return Outcome::Invalid;
        }
        const qint64 produced = m_piece.size() - qint64(m_stream->avail_out);
        if (produced > 0 && !sink(m_piece.constData(), produced))
            return Outcome::Stopped;
        m_streamEnded = status == Z_STREAM_END;
        // A full piece may leave more output inside zlib, even when all input is taken.
    } while (m_stream->avail_in > 0 || (m_stream->avail_out == 0 && !m_streamEnded));
    return Outcome::Decoded;
}
