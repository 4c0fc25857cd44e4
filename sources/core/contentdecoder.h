#pragma once

#include <QByteArray>
#include <QString>

#include <functional>
#include <memory>

struct z_stream_s;

// Undoes the content encoding of an HTTP body (gzip or deflate) as its bytes arrive. The
// decoded bytes are handed on a piece at a time and never gathered here, so whoever counts the
// pieces stops a small body that inflates to gigabytes (a compression bomb) at its ceiling,
// before the memory holds more than one piece of it.
class ContentDecoder
{
public:
    // The largest piece of decoded bytes handed on at once.
    static constexpr int kPieceSize = 64 * 1024;
    // Takes one piece; returns false to stop the decoding.
    using Sink = std::function<bool(const char* data, qint64 size)>;
    enum class Outcome { Decoded, Stopped, Invalid };

    // For the value of a Content-Encoding header: empty or "identity" passes the bytes on as
    // they are.
    explicit ContentDecoder(const QByteArray& contentEncoding);
    ~ContentDecoder();
    ContentDecoder(const ContentDecoder&) = delete;
    ContentDecoder& operator=(const ContentDecoder&) = delete;

    // False for an encoding this class cannot undo (br, compress, a list of several).
    bool isSupported() const { return m_kind != Kind::Unsupported; }
    bool isIdentity() const { return m_kind == Kind::Identity; }
    // The encoding as the header named it, in lower case.
    QByteArray name() const { return m_name; }

    // Decodes the next bytes of the body into `sink`. Stopped when the sink said so; Invalid
    // when the bytes are not the encoding's (errorString() tells why).
    Outcome decode(const QByteArray& encoded, const Sink& sink);
    // True when the bytes so far end where the encoded stream ends.
    bool isComplete() const { return m_kind == Kind::Identity || m_streamEnded; }
    QString errorString() const { return m_errorString; }

private:
    enum class Kind { Identity, Inflate, Unsupported };

    Outcome inflate(const QByteArray& encoded, const Sink& sink);

    Kind m_kind = Kind::Identity;
    QByteArray m_name;
    std::unique_ptr<z_stream_s> m_stream;
    QByteArray m_piece;
    bool m_streamEnded = false;
    QString m_errorString;
};
