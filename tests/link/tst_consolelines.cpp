// Request lines byte for byte, and the reply grammar line by line and across reads.
#include "consolelinebuilder.h"
#include "consolereplyparser.h"
#include "testmain.h"

#include <QRegularExpression>
#include <QTest>

namespace {
// Console paths are full of backslashes: tests write them with slashes instead.
QByteArray bs(const char* text)
{
    return QByteArray(text).replace('/', '\\');
}

ConsoleReplyBatch feed(ConsoleReplyParser& parser, const QByteArray& bytes)
{
    parser.append(bytes);
    return parser.takeReplies();
}

// The record fields of a value reply, in DataFromDevice order.
QStringList fields(const ConsoleReplyBatch& batch, const ConsoleReply& reply)
{
    QStringList fields;
    for (TextSpan span : {reply.poName, reply.svName, reply.valueType, reply.value, reply.command})
        fields.append(batch.view(span).toString());
    return fields;
}
} // namespace

class TestConsoleLines : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void requestLine_data()
    {
        QTest::addColumn<DataFromDevice>("request");
        QTest::addColumn<QByteArray>("line");
        const auto row = [](const char* name, DataFromDevice request, const char* line) {
            QTest::newRow(name) << request << bs(line) + '\n';
        };
        row("percent sub", {"X", "Gain", "%", "", "sub"}, "sub \"//Preset/X/SV/Gain/%\"");
        row("crossover bands", {"Crossover", "NumBands", "", "", "sub"},
            "sub \"//Preset/Crossover/AT/NumBands/\"");
        row("mono sub", {"Crossover", "MonoSub", "", "", "sub"},
            "sub \"//Preset/Crossover/AT/MonoSub/\"");
        row("not an attribute elsewhere", {"Mixer", "NumBands", "", "", "sub"},
            "sub \"//Preset/Mixer/SV/NumBands/\"");
        row("node percent", {"NPO", "Node\\SV\\L", "%", "", "asyncget"},
            "asyncget \"//Node/SV/L/%\"");
        row("presets", {"Presets", "Name_1", "", "", "sub"},
            "sub \"//Storage/Presets/SV/Name_1/\"");
        row("set percent", {"X", "Gain", "%", "50", "set"}, "set \"//Preset/X/SV/Gain/%\" \"50\"");
        row("quoted choice", {"NPO", "Node\\SV\\C", "", "\"Pink\"", "set"},
            "set \"//Node/SV/C/\" \"Pink\"");
        row("min travels, not written", {"P", "X", "Min", "", "get"}, "get \"//Preset/P/SV/X/\"");
        row("enumeration list", {"NPO", "Node\\SV\\C\\EN", "", "", "lc"}, "lc \"//Node/SV/C/EN/\"");
        row("object list", {"NPO", "Preset", "", "", "ls"}, "ls \"//Preset/\"");
        row("utf-8 value", {"NPO", "Node\\N", "", QString::fromUtf8("B\u00fchne"), "set"},
            "set \"//Node/N/\" \"B\xc3\xbchne\"");
    }
    void requestLine()
    {
        QFETCH(DataFromDevice, request);
        QFETCH(QByteArray, line);
        QCOMPARE(ConsoleLineBuilder::request(request).value_or("<none>"), line);
    }

    // The framing guard: nothing that could end the line or the quoted field early is built.
    void unsafeRequestsAreNeverBuilt_data()
    {
        QTest::addColumn<DataFromDevice>("request");
        QTest::addColumn<bool>("warns");
        QTest::newRow("empty po") << DataFromDevice{"", "X", "", "", "sub"} << false;
        QTest::newRow("empty sv") << DataFromDevice{"P", "", "", "", "sub"} << false;
        const std::pair<const char*, DataFromDevice> injected[] = {
            {"LF in value", {"P", "X", "", "1\nset \"\\\\Preset\\P\\SV\\Y\\\" \"9", "set"}},
            {"CR in value", {"P", "X", "", "1\r", "set"}},
            {"NUL in value", {"P", "X", "", QString("a") + QChar(0), "set"}},
            {"LF in name", {"P\nunsub", "X", "", "", "sub"}},
            {"quote in name", {"P\" \"x", "X", "", "", "sub"}},
            {"quote inside value", {"P", "X", "", "a\"b", "set"}},
            {"inner quote in quoted value", {"P", "X", "", "\"a\" \"b\"", "set"}},
            {"lone quote", {"P", "X", "", "\"", "set"}}};
        for (const auto& [name, request] : injected)
            QTest::newRow(name) << request << true;
    }
    void unsafeRequestsAreNeverBuilt()
    {
        QFETCH(DataFromDevice, request);
        QFETCH(bool, warns);
        if (warns)
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression("Console request dropped"));
        QVERIFY(!ConsoleLineBuilder::request(request).has_value());
    }

    void loginLine()
    {
        QCOMPARE(ConsoleLineBuilder::login("quillrampstow").value_or(""),
                 QByteArray("connect administrator \"quillrampstow\"\n"));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("Login line dropped"));
        QVERIFY(!ConsoleLineBuilder::login("pw\"\nset x").has_value());
    }

    void valueReply_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<DataFromDevice>("expected");
        const auto row = [](const char* name, const char* line, DataFromDevice expected) {
            QTest::newRow(name) << bs(line) << expected;
        };
        row("percent subr", "subr \"//Preset/Crossover/SV/Band_4_Gain/%\" \"-3.5\"",
            {"Crossover", "Band_4_Gain", "%", "-3.5", "subr"});
        row("attribute", "subr \"//Preset/Crossover/AT/NumBands/\" \"3\"",
            {"Crossover", "NumBands", "", "3", "subr"});
        row("node percent, short", "asyncget \"//Node/SV/Level/%\" \"40\"",
            {"NPO", "Node\\SV\\Level", "", "40", "asyncget"});
        row("node five components", "subr \"//Node/Wizard/SV/Gain/%\" \"40\"",
            {"NPO", "Node\\Wizard\\SV\\Gain", "%", "40", "subr"});
        row("min attribute", "get \"//Preset/P/SV/X/Min/\" \"-10\"",
            {"P", "X", "Min", "-10", "get"});
        row("presets", "subr \"//Storage/Presets/SV/Name_5/\" \"Evening\"",
            {"Presets", "Name_5", "", "Evening", "subr"});
        row("unsubr without value", "unsubr \"//Preset/A/SV/B/\"", {"A", "B", "", "", "unsubr"});
        row("value cut at quote", "subr \"//Preset/A/SV/B/\" \"a\"b\"",
            {"A", "B", "", "a", "subr"});
        row("short path", "subr \"//Preset/A/\" \"1\"", {"", "", "", "1", "subr"});
        row("blanks around word", "  setr  \"//Preset/A/SV/B/\" \"7\"",
            {"A", "B", "", "7", "setr"});
        row("crlf", "subr \"//Preset/A/SV/B/\" \"7\"\r", {"A", "B", "", "7", "subr"});
        QTest::newRow("utf-8 value")
            << QByteArray("subr \"\\\\Node\\SV\\DeviceName\\\" \"B\xc3\xbchne\"")
            << DataFromDevice{"NPO", "Node\\SV\\DeviceName", "", QString::fromUtf8("Bühne"),
                              "subr"};
    }
    void valueReply()
    {
        QFETCH(QByteArray, line);
        QFETCH(DataFromDevice, expected);
        ConsoleReplyParser parser;
        const ConsoleReplyBatch batch = feed(parser, line + '\n');
        QCOMPARE(batch.replies.size(), 1);
        QCOMPARE(batch.replies.front().kind, ConsoleReply::Kind::Value);
        QCOMPARE(fields(batch, batch.replies.front()),
                 (QStringList{expected.poName, expected.svName, expected.valueType, expected.value,
                              expected.command}));
    }

    void ignoredLines_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::newRow("set with three pieces") << bs("set \"//Preset/A/SV/B/\"");
        QTest::newRow("unknown word") << bs("warn \"//Preset/A/SV/B/\" unknown");
        QTest::newRow("blank line") << QByteArray();
        QTest::newRow("banner with leading blank") << QByteArray(" Vimbal Console");
        QTest::newRow("banner with trailing text") << QByteArray("Vimbal Console 2");
        QTest::newRow("end outside list") << QByteArray("endlc");
        QTest::newRow("JSON of another request")
            << QByteArray("{\"error\":\"\",\"id\":\"builder config reconfig 2\"}");
        QTest::newRow("JSON without error text")
            << QByteArray("{\"id\":\"builder config reconfig\"}");
        QTest::newRow("JSON cut short") << QByteArray("{\"error\":\"\",\"id\":\"builder config");
    }
    void ignoredLines()
    {
        QFETCH(QByteArray, line);
        ConsoleReplyParser parser;
        // Nothing was left open either: the following value reply is still read.
        const ConsoleReplyBatch batch =
            feed(parser, line + bs("\nsubr \"//Preset/A/SV/B/\" \"1\"\n"));
        QCOMPARE(batch.replies.size(), 1);
        QCOMPARE(batch.view(batch.replies.front().value), QStringView(u"1"));
    }

    // A refusal answers the request it follows; the login refusal keeps its own meaning.
    void refusals_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<int>("kind");
        QTest::newRow("no such path")
            << bs("error no such path \"//Preset/A/SV/B/\"") << int(ConsoleReply::Kind::Error);
        QTest::newRow("bare word") << QByteArray("error") << int(ConsoleReply::Kind::Error);
        QTest::newRow("login refused") << QByteArray("error could not connect as administrator")
                                       << int(ConsoleReply::Kind::LoginRefused);
    }
    void refusals()
    {
        QFETCH(QByteArray, line);
        QFETCH(int, kind);
        ConsoleReplyParser parser;
        const ConsoleReplyBatch batch = feed(parser, line + bs("\nerrors of a kind\n"));
        QCOMPARE(batch.replies.size(), 1);
        QCOMPARE(int(batch.replies.front().kind), kind);
    }

    void listsAcrossReads()
    {
        ConsoleReplyParser parser;
        QVERIFY(feed(parser, "lc \"\\\\Node\\Wizard\\SV\\TargetCurve\\EN\"\n\tFlat\n\tPi")
                    .replies.isEmpty());
        // Value replies and login lines inside a list are neither items nor replies.
        QVERIFY(feed(parser, "nk Noise\nsubr \"\\\\Preset\\A\\SV\\B\\\" \"1\"\nendls\n")
                    .replies.isEmpty());
        QVERIFY(feed(parser, "\t\tHouse curve\n\t Spaced \n").replies.isEmpty());
        ConsoleReplyBatch batch = feed(parser, "endlc\r\nVimbal Console\n");
        QCOMPARE(batch.replies.size(), 2);
        QCOMPARE(batch.replies[0].kind, ConsoleReply::Kind::EnumerationList);
        const ConsoleList& curves = batch.lists.at(batch.replies[0].list);
        QCOMPARE(curves.path, QString("\\\\Node\\Wizard\\SV\\TargetCurve\\EN"));
        QCOMPARE(curves.items, QStringList({"Flat", "Pink Noise", "\tHouse curve", " Spaced "}));
        QCOMPARE(batch.replies[1].kind, ConsoleReply::Kind::Banner);

        // An object list ends with its own word only; a list may come without a path.
        batch =
            feed(parser, "ls \"\\\\Preset\"\n\tCrossover\n\tPEQ\nendlc\nendls\nlc\n\ta\nendlc\n");
        QCOMPARE(batch.replies.size(), 2);
        QCOMPARE(batch.replies[0].kind, ConsoleReply::Kind::ObjectList);
        QCOMPARE(batch.lists.at(0).path, QString("\\\\Preset"));
        QCOMPARE(batch.lists.at(0).items, QStringList({"Crossover", "PEQ"}));
        QCOMPARE(batch.lists.at(1).path, QString());
    }

    // Every complete line of one read is handled, the partial rest waits for the next.
    void manyRepliesInOneRead()
    {
        ConsoleReplyParser parser;
        QByteArray burst;
        for (int i = 0; i < 500; ++i)
            burst += "subr \"\\\\Preset\\A\\SV\\B\\\" \"" + QByteArray::number(i) + "\"\n";
        ConsoleReplyBatch batch = feed(parser, burst + "Vimbal Console\nsubr \"\\\\Pre");
        QCOMPARE(batch.replies.size(), 501);
        QCOMPARE(fields(batch, batch.replies.at(499)), QStringList({"A", "B", "", "499", "subr"}));
        QCOMPARE(batch.replies.back().kind, ConsoleReply::Kind::Banner);
        batch = feed(parser, "set\\A\\SV\\B\\\" \"x\"\n");
        QCOMPARE(batch.replies.size(), 1);
        QCOMPARE(batch.view(batch.replies.front().value), QStringView(u"x"));
    }

    void overlongInputAndResetDropTheirRest()
    {
        ConsoleReplyParser parser;
        QTest::ignoreMessage(QtWarningMsg,
                             "Console line longer than 65536 bytes: 65546 bytes discarded");
        QVERIFY(feed(parser, QByteArray(ConsoleReplyParser::kMaxLineBytes + 10, 'x'))
                    .replies.isEmpty());
        // The rest of the overlong line is dropped too; what follows it is read.
        ConsoleReplyBatch batch = feed(parser, "yyy\nVimbal Console\n");
        QCOMPARE(batch.replies.size(), 1);
        QCOMPARE(batch.replies.front().kind, ConsoleReply::Kind::Banner);

        // A list block past its byte cap is dropped whole, with one log line, until its end.
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("list .* discarded"));
        feed(parser, "lc \"\\\\Node\\X\\EN\"\n");
        const QByteArray item = '\t' + QByteArray(60000, 'i') + '\n';
        for (int read = 0; read <= ConsoleReplyParser::kMaxListBytes / item.size(); ++read)
            QVERIFY(feed(parser, item).replies.isEmpty());
        batch = feed(parser, item + "subr \"x\"\nendlc\nVimbal Console\n");
        QCOMPARE(batch.replies.size(), 1);
        QCOMPARE(batch.replies.front().kind, ConsoleReply::Kind::Banner);

        // What was discarded since the last log line is told at the reset.
        feed(parser, "lc \"\\\\Node\\X\\EN\"\n\ta\n\tpartial");
        QTest::ignoreMessage(QtWarningMsg,
                             "Console line longer than 65536 bytes: 4 bytes discarded");
        parser.reset();
        batch = feed(parser, "Vimbal Console\n");
        QCOMPARE(batch.replies.size(), 1);
        QCOMPARE(batch.replies.front().kind, ConsoleReply::Kind::Banner);
    }
};

QX8_TEST_GUILESS_MAIN(TestConsoleLines)
#include "tst_consolelines.moc"
