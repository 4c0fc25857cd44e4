// Whatever names and values reach the line builder (from screens, pasted text, the device's own
// replies), a line it writes is one line with balanced quotes, and a request for a plain
// processing object reads back as the same request.
#include "consolelinebuilder.h"
#include "consolereplyparser.h"
#include "fuzzsupport.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <array>

namespace {

// Mostly Latin-1 (line ends, quotes, NUL and backslashes among it), now and then any UTF-16
// unit, lone surrogates included.
QString consumeText(FuzzedDataProvider& input)
{
    QString text;
    const size_t length = input.ConsumeIntegralInRange<size_t>(0, 24);
    for (size_t i = 0; i < length && input.remaining_bytes() > 0; ++i) {
        const uint8_t unit = input.ConsumeIntegral<uint8_t>();
        text += unit < 0xF0 ? QChar(unit) : QChar(input.ConsumeIntegral<uint16_t>());
    }
    return text;
}

const std::array<const char*, 7> kReplyWords = {"set", "setr", "get",   "asyncget",
                                                "sub", "subr", "unsubr"};

bool isReplyWord(const QString& command)
{
    for (const char* word : kReplyWords) {
        if (command == QLatin1String(word))
            return true;
    }
    return false;
}

// Valid UTF-16 that names one path component of an ordinary processing object.
bool isPlainComponent(const QString& name)
{
    return QString::fromUtf8(name.toUtf8()) == name && !name.contains(QLatin1Char('\\')) &&
           name != QLatin1String("NPO") && name != QLatin1String("Presets") &&
           name != QLatin1String("Crossover") && name != QLatin1String("%");
}

void checkFraming(const QByteArray& line, int quotes)
{
    FUZZ_CHECK(ConsoleLineBuilder::isSingleLine(line));
    FUZZ_CHECK(!line.contains('\r'));
    FUZZ_CHECK(line.count('"') % 2 == 0);
    if (quotes >= 0)
        FUZZ_CHECK(line.count('"') == quotes);
}

void checkReadsBack(const DataFromDevice& request, const QByteArray& line)
{
    ConsoleReplyParser parser;
    parser.append(line);
    const ConsoleReplyBatch batch = parser.takeReplies();
    if (request.command == QLatin1String("set") && request.value.isEmpty()) {
        FUZZ_CHECK(batch.replies.isEmpty()); // a value-less set is no reply
        return;
    }
    FUZZ_CHECK(batch.replies.size() == 1);
    const ConsoleReply& reply = batch.replies.first();
    QString value = request.value;
    if (value.startsWith(QLatin1Char('"')))
        value = value.mid(1, value.size() - 2);
    FUZZ_CHECK(reply.kind == ConsoleReply::Kind::Value);
    FUZZ_CHECK(batch.view(reply.command) == request.command);
    FUZZ_CHECK(batch.view(reply.poName) == request.poName);
    FUZZ_CHECK(batch.view(reply.svName) == request.svName);
    FUZZ_CHECK(batch.view(reply.value) == value);
    FUZZ_CHECK(batch.view(reply.valueType) ==
               (request.valueType == QLatin1String("%") ? QStringLiteral("%") : QString()));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    DataFromDevice request;
    request.command =
        input.ConsumeBool()
            ? QLatin1String(
                  kReplyWords[input.ConsumeIntegralInRange<size_t>(0, kReplyWords.size() - 1)])
            : consumeText(input);
    request.poName = consumeText(input);
    request.svName = consumeText(input);
    request.valueType = input.ConsumeBool() ? QStringLiteral("%") : consumeText(input);
    request.value = consumeText(input);

    if (const std::optional<QByteArray> line = ConsoleLineBuilder::request(request)) {
        checkFraming(*line, -1);
        if (isReplyWord(request.command) && isPlainComponent(request.poName) &&
            isPlainComponent(request.svName) &&
            QString::fromUtf8(request.value.toUtf8()) == request.value)
            checkReadsBack(request, *line);
    }
    if (const std::optional<QByteArray> login = ConsoleLineBuilder::login(request.value))
        checkFraming(*login, 2);
    return 0;
}
