// What the device, or anything answering on its console port, sends on the firmware connection,
// in reads cut anywhere. The answers, and the line left unfinished, are the same however the reads
// fall, none longer than the limit or holding a line end or NUL; only "writer OK" ever counts as
// the go-ahead.
#include "firmwareanswerreader.h"
#include "fuzzsupport.h"

namespace {

struct Reading
{
    QList<FirmwareAnswerReader::Answer> answers;
    std::optional<QByteArray> unfinished;
};

Reading read(const std::vector<std::string_view>& reads)
{
    FirmwareAnswerReader reader;
    Reading reading;
    for (const std::string_view bytes : reads)
        reading.answers += reader.add(QByteArray(bytes.data(), int(bytes.size())));
    reading.unfinished = reader.unfinishedLine();
    return reading;
}

bool isGoAhead(FirmwareAnswerReader::Kind kind)
{
    return kind == FirmwareAnswerReader::Kind::WriterOk ||
           kind == FirmwareAnswerReader::Kind::WriterOkFollowed;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const auto* bytes = reinterpret_cast<const char*>(data);
    const Reading wholeReading = read({std::string_view(bytes, size)});
    const Reading cutReading = read(fuzzsupport::pieces(data, size, 16));
    FUZZ_CHECK(wholeReading.unfinished == cutReading.unfinished);
    if (wholeReading.unfinished) {
        FUZZ_CHECK(wholeReading.unfinished->size() <= FirmwareAnswerReader::kMaximumLength);
        FUZZ_CHECK(!wholeReading.unfinished->contains('\n') &&
                   !wholeReading.unfinished->contains('\0'));
    }
    const QList<FirmwareAnswerReader::Answer>& whole = wholeReading.answers;
    const QList<FirmwareAnswerReader::Answer>& cut = cutReading.answers;
    FUZZ_CHECK(whole.size() == cut.size());
    for (int i = 0; i < whole.size(); ++i) {
        const FirmwareAnswerReader::Answer& answer = whole.at(i);
        FUZZ_CHECK(answer.text == cut.at(i).text);
        FUZZ_CHECK(isGoAhead(answer.kind) == isGoAhead(cut.at(i).kind));
        FUZZ_CHECK(answer.text.size() <= FirmwareAnswerReader::kMaximumLength);
        FUZZ_CHECK(!answer.text.contains('\n') && !answer.text.contains('\0'));
        FUZZ_CHECK(isGoAhead(answer.kind) == (answer.text == "writer OK"));
        // Read whole, only the last answer of the read can be the plain go-ahead.
        if (answer.kind == FirmwareAnswerReader::Kind::WriterOk)
            FUZZ_CHECK(i == whole.size() - 1);
    }
    return 0;
}
