// Answers of the JSON command channel (the device's configuration, copied settings): values of
// the result variable, joined until the answer's object closes. Hostile pieces must end in a
// bounded answer or none; a real answer, encoded and cut anywhere, must come back whole.
#include "backtickjson.h"
#include "fuzzsupport.h"
#include "jsonanswerbuffer.h"

#include <QJsonDocument>

#include <sanitizer/lsan_interface.h>

namespace {

// Qt 5.15's own leak: QJsonDocument::fromJson loses the value of a key that comes again in the
// same object ({"":{"":""},"":""} loses the first one; the seed duplicate-keys keeps that input).
// Only what this call allocates is left out of the leak check, so a leak of ours still shows.
QJsonDocument readJson(const QByteArray& text)
{
    __lsan::ScopedDisabler qtLeak;
    return QJsonDocument::fromJson(text);
}

void checkOutcome(const JsonAnswerBuffer::Outcome& outcome)
{
    if (outcome.status != JsonAnswerBuffer::Status::Complete) {
        FUZZ_CHECK(outcome.answer.isEmpty());
        return;
    }
    FUZZ_CHECK(outcome.answer.trimmed().startsWith('{'));
    FUZZ_CHECK(outcome.answer.size() <= JsonAnswerBuffer::kMaxBytes);
    readJson(outcome.answer); // as the channel reads it
}

// The channel's text form of an answer, in the values the device may write it in.
QStringList encodedPieces(const QByteArray& answer, const uint8_t* data, size_t size)
{
    const QString encoded = QString::fromStdString(backtickjson::encode(answer.toStdString()));
    FUZZ_CHECK(!encoded.contains(QLatin1Char('"')));
    QStringList pieces;
    int at = 0;
    for (const std::string_view cut : fuzzsupport::pieces(data, size, 16)) {
        if (at >= encoded.size())
            break;
        int length = qMin(int(cut.size()), encoded.size() - at);
        if (encoded.at(at + length - 1).isHighSurrogate() && at + length < encoded.size())
            ++length; // the device never cuts a character in two
        pieces.append(encoded.mid(at, length));
        at += length;
    }
    if (at < encoded.size())
        pieces.append(encoded.mid(at));
    return pieces;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    JsonAnswerBuffer hostile;
    for (const std::string_view piece : fuzzsupport::pieces(data, size, 32))
        checkOutcome(hostile.append(QString::fromUtf8(piece.data(), int(piece.size()))));

    const QJsonDocument document =
        readJson(QByteArray(reinterpret_cast<const char*>(data), int(size)));
    if (!document.isObject())
        return 0;
    // What the device sends. Compared as Qt reads it, since Qt 5 reads its own output of keys
    // with NUL characters back differently.
    const QByteArray answer = document.toJson(QJsonDocument::Compact);
    JsonAnswerBuffer buffer;
    JsonAnswerBuffer::Outcome outcome;
    for (const QString& piece : encodedPieces(answer, data, size)) {
        FUZZ_CHECK(outcome.status != JsonAnswerBuffer::Status::Complete);
        outcome = buffer.append(piece);
        checkOutcome(outcome);
    }
    FUZZ_CHECK(outcome.status == JsonAnswerBuffer::Status::Complete);
    FUZZ_CHECK(readJson(outcome.answer) == readJson(answer));
    return 0;
}
