// The console's byte stream, as any peer on port 19272 may send it. The same bytes read whole
// and cut at arbitrary points must give the same replies, and a reset parser must read them as a
// fresh one does.
#include "consolereplyparser.h"
#include "fuzzsupport.h"

#include <vector>

namespace {

// One reply with its texts taken out of the batch, so replies of different batches compare.
struct Reply
{
    ConsoleReply::Kind kind;
    QString command, poName, svName, valueType, value, line, listPath;
    QStringList items;

    bool operator==(const Reply& other) const
    {
        return kind == other.kind && command == other.command && poName == other.poName &&
               svName == other.svName && valueType == other.valueType && value == other.value &&
               line == other.line && listPath == other.listPath && items == other.items;
    }
};

QString textOf(const ConsoleReplyBatch& batch, TextSpan span)
{
    FUZZ_CHECK(span.position >= 0 && span.length >= 0);
    FUZZ_CHECK(span.position + span.length <= batch.text.size());
    return batch.view(span).toString();
}

void collect(const ConsoleReplyBatch& batch, std::vector<Reply>& out)
{
    for (const ConsoleReply& reply : batch.replies) {
        Reply taken{reply.kind,
                    textOf(batch, reply.command),
                    textOf(batch, reply.poName),
                    textOf(batch, reply.svName),
                    textOf(batch, reply.valueType),
                    textOf(batch, reply.value),
                    textOf(batch, reply.line),
                    {},
                    {}};
        const bool isList = reply.kind == ConsoleReply::Kind::EnumerationList ||
                            reply.kind == ConsoleReply::Kind::ObjectList;
        FUZZ_CHECK(isList == (reply.list >= 0));
        if (isList) {
            FUZZ_CHECK(reply.list < batch.lists.size());
            taken.listPath = batch.lists.at(reply.list).path;
            taken.items = batch.lists.at(reply.list).items;
            FUZZ_CHECK(taken.items.size() <= ConsoleReplyParser::kMaxListItems);
        }
        out.push_back(taken);
    }
}

std::vector<Reply> readWhole(ConsoleReplyParser& parser, const uint8_t* data, size_t size)
{
    std::vector<Reply> replies;
    parser.append(reinterpret_cast<const char*>(data), int(size));
    collect(parser.takeReplies(), replies);
    return replies;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ConsoleReplyParser whole;
    const std::vector<Reply> expected = readWhole(whole, data, size);

    ConsoleReplyParser cut;
    std::vector<Reply> replies;
    for (const std::string_view piece : fuzzsupport::pieces(data, size, 64)) {
        cut.append(piece.data(), int(piece.size()));
        collect(cut.takeReplies(), replies);
    }
    FUZZ_CHECK(replies == expected);

    cut.reset();
    FUZZ_CHECK(readWhole(cut, data, size) == expected);
    return 0;
}
