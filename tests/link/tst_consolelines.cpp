// Request lines byte for byte, and the reply grammar line by line and across reads.
#include "consolelinebuilder.h"
#include "consolereplyparser.h"

#include <QRegularExpression>
#include <QTest>

Q_DECLARE_METATYPE(ConsoleReply::Kind)

namespace {
// Console paths are full of backslashes: tests write them with slashes instead.
QByteArray bs(const char* text)
{
    return QByteArray(text).replace('/', '\\');
}

QString text(const char* withSlashes)
{
    return QString::fromUtf8(bs(withSlashes));
}

DataFromDevice record(const QString& po, const QString& sv, const QString& type,
                      const QString& value, const QString& command)
{
    return DataFromDevice{po, sv, type, value, command};
}

std::vector<ConsoleReply> feedAll(ConsoleReplyParser& parser, const QByteArray& bytes)
{
    parser.append(bytes);
    std::vector<ConsoleReply> replies;
    while (std::optional<ConsoleReply> reply = parser.next())
        replies.push_back(*reply);
    return replies;
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
        QTest::newRow("percent sub")
            << record("Crossover", "Band_4_Gain", "%", "", "sub")
            << QByteArray(bs("sub \"//Preset/Crossover/SV/Band_4_Gain/%\"\n"));
        QTest::newRow("crossover attribute")
            << record("Crossover", "NumBands", "", "", "sub")
            << QByteArray(bs("sub \"//Preset/Crossover/AT/NumBands/\"\n"));
        QTest::newRow("mono sub attribute")
            << record("Crossover", "MonoSub", "", "", "sub")
            << QByteArray(bs("sub \"//Preset/Crossover/AT/MonoSub/\"\n"));
        QTest::newRow("other object named like attribute")
            << record("Mixer", "NumBands", "", "", "sub")
            << QByteArray(bs("sub \"//Preset/Mixer/SV/NumBands/\"\n"));
        QTest::newRow("node") << record("NPO", "Node\\SV\\DeviceName", "", "", "get")
                              << QByteArray(bs("get \"//Node/SV/DeviceName/\"\n"));
        QTest::newRow("node percent") << record("NPO", "Node\\SV\\Level", "%", "", "asyncget")
                                      << QByteArray(bs("asyncget \"//Node/SV/Level/%\"\n"));
        QTest::newRow("presets") << record("Presets", "Name_1", "", "", "sub")
                                 << QByteArray(bs("sub \"//Storage/Presets/SV/Name_1/\"\n"));
        QTest::newRow("set value")
            << record("PEQ", "Band_1_Gain", "", "2.5", "set")
            << QByteArray(bs("set \"//Preset/PEQ/SV/Band_1_Gain/\" \"2.5\"\n"));
        QTest::newRow("set percent")
            << record("PEQ", "Band_1_Gain", "%", "50", "set")
            << QByteArray(bs("set \"//Preset/PEQ/SV/Band_1_Gain/%\" \"50\"\n"));
        QTest::newRow("quoted choice")
            << record("NPO", "Node\\Wizard\\SV\\TargetCurve", "", "\"Pink\"", "set")
            << QByteArray(bs("set \"//Node/Wizard/SV/TargetCurve/\" \"Pink\"\n"));
        QTest::newRow("min travels, not written")
            << record("P", "X", "Min", "", "get") << QByteArray(bs("get \"//Preset/P/SV/X/\"\n"));
        QTest::newRow("utf-8 value")
            << record("NPO", "Node\\SV\\DeviceName", "", "Bühne", "set")
            << QByteArray("set \"\\\\Node\\SV\\DeviceName\\\" \"B\xc3\xbchne\"\n");
        QTest::newRow("enumeration list")
            << record("NPO", "Node\\Wizard\\SV\\TargetCurve\\EN", "", "", "lc")
            << QByteArray(bs("lc \"//Node/Wizard/SV/TargetCurve/EN/\"\n"));
        QTest::newRow("object list")
            << record("NPO", "Preset", "", "", "ls") << QByteArray(bs("ls \"//Preset/\"\n"));
    }

    void requestLine()
    {
        QFETCH(DataFromDevice, request);
        QFETCH(QByteArray, line);
        QCOMPARE(ConsoleLineBuilder::request(request).value_or("<none>"), line);
    }

    void unsafeRequestsAreNeverBuilt_data()
    {
        QTest::addColumn<DataFromDevice>("request");
        QTest::addColumn<bool>("warns");
        QTest::newRow("empty po") << record("", "X", "", "", "sub") << false;
        QTest::newRow("empty sv") << record("P", "", "", "", "sub") << false;
        QTest::newRow("LF in value")
            << record("P", "X", "", "1\nset \"\\\\Preset\\P\\SV\\Y\\\" \"9", "set") << true;
        QTest::newRow("CR in value") << record("P", "X", "", "1\r", "set") << true;
        QTest::newRow("NUL in value")
            << record("P", "X", "", QString("a") + QChar(0), "set") << true;
        QTest::newRow("LF in name") << record("P\nunsub", "X", "", "", "sub") << true;
        QTest::newRow("quote in name") << record("P\" \"x", "X", "", "", "sub") << true;
        QTest::newRow("quote inside value") << record("P", "X", "", "a\"b", "set") << true;
        QTest::newRow("inner quote in quoted value")
            << record("P", "X", "", "\"a\" \"b\"", "set") << true;
        QTest::newRow("lone quote") << record("P", "X", "", "\"", "set") << true;
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

    void singleLineGuard()
    {
        QVERIFY(ConsoleLineBuilder::isSingleLine("a b\n"));
        QVERIFY(!ConsoleLineBuilder::isSingleLine("a b"));
        QVERIFY(!ConsoleLineBuilder::isSingleLine("a\nb\n"));
        QVERIFY(!ConsoleLineBuilder::isSingleLine("a\r\n"));
    }

    void valueReply_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<DataFromDevice>("expected");
        QTest::newRow("percent subr")
            << text("subr \"//Preset/Crossover/SV/Band_4_Gain/%\" \"-3.5\"")
            << record("Crossover", "Band_4_Gain", "%", "-3.5", "subr");
        QTest::newRow("attribute") << text("subr \"//Preset/Crossover/AT/NumBands/\" \"3\"")
                                   << record("Crossover", "NumBands", "", "3", "subr");
        QTest::newRow("node get") << text("get \"//Node/SV/DeviceName/\" \"Main Hall\"")
                                  << record("NPO", "Node\\SV\\DeviceName", "", "Main Hall", "get");
        QTest::newRow("node percent, short")
            << text("asyncget \"//Node/SV/Level/%\" \"40\"")
            << record("NPO", "Node\\SV\\Level", "", "40", "asyncget");
        QTest::newRow("node five components")
            << text("subr \"//Node/Wizard/SV/Gain/%\" \"40\"")
            << record("NPO", "Node\\Wizard\\SV\\Gain", "%", "40", "subr");
        QTest::newRow("max attribute")
            << text("get \"//Preset/P/SV/X/Max/\" \"10\"") << record("P", "X", "Max", "10", "get");
        QTest::newRow("min attribute") << text("get \"//Preset/P/SV/X/Min/\" \"-10\"")
                                       << record("P", "X", "Min", "-10", "get");
        QTest::newRow("presets") << text("subr \"//Storage/Presets/SV/Name_5/\" \"Evening\"")
                                 << record("Presets", "Name_5", "", "Evening", "subr");
        QTest::newRow("unsubr without value")
            << text("unsubr \"//Preset/A/SV/B/\"") << record("A", "B", "", "", "unsubr");
        QTest::newRow("setr") << text("setr \"//Preset/A/SV/B/\" \"1\"")
                              << record("A", "B", "", "1", "setr");
        QTest::newRow("sub word") << text("sub \"//Preset/A/SV/B/\" \"1\"")
                                  << record("A", "B", "", "1", "sub");
        QTest::newRow("set word") << text("set \"//Preset/A/SV/B/\" \"1\"")
                                  << record("A", "B", "", "1", "set");
        QTest::newRow("value cut at quote")
            << text("subr \"//Preset/A/SV/B/\" \"a\"b\"") << record("A", "B", "", "a", "subr");
        QTest::newRow("short path")
            << text("subr \"//Preset/A/\" \"1\"") << record("", "", "", "1", "subr");
        QTest::newRow("blanks around word")
            << text("  subr  \"//Preset/A/SV/B/\" \"7\"") << record("A", "B", "", "7", "subr");
        QTest::newRow("utf-8 value")
            << QString::fromUtf8("subr \"\\\\Node\\SV\\DeviceName\\\" \"Bühne\"")
            << record("NPO", "Node\\SV\\DeviceName", "", QString::fromUtf8("Bühne"), "subr");
    }

    void valueReply()
    {
        QFETCH(QString, line);
        QFETCH(DataFromDevice, expected);
        ConsoleReplyParser parser;
        const std::optional<ConsoleReply> reply = parser.parseLine(line);
        QVERIFY(reply.has_value());
        QCOMPARE(reply->kind, ConsoleReply::Kind::Value);
        QCOMPARE(reply->record.poName, expected.poName);
        QCOMPARE(reply->record.svName, expected.svName);
        QCOMPARE(reply->record.valueType, expected.valueType);
        QCOMPARE(reply->record.value, expected.value);
        QCOMPARE(reply->record.command, expected.command);
    }

    void ignoredLines_data()
    {
        QTest::addColumn<QString>("line");
        QTest::newRow("set with three pieces") << text("set \"//Preset/A/SV/B/\"");
        QTest::newRow("unknown word") << text("error \"//Preset/A/SV/B/\" unknown");
        QTest::newRow("blank line") << "";
        QTest::newRow("banner with leading blank") << " Vimbal Console";
        QTest::newRow("banner with trailing text") << "Vimbal Console 2";
        QTest::newRow("end outside list") << "endlc";
    }

    void ignoredLines()
    {
        QFETCH(QString, line);
        ConsoleReplyParser parser;
        QVERIFY(!parser.parseLine(line).has_value());
        // Nothing was left open either: a following value reply is still read.
        QVERIFY(parser.parseLine(bs("subr \"//Preset/A/SV/B/\" \"1\"")).has_value());
    }

    void loginLines_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<ConsoleReply::Kind>("kind");
        QTest::newRow("banner") << QByteArray("Vimbal Console\n") << ConsoleReply::Kind::Banner;
        QTest::newRow("banner crlf")
            << QByteArray("Vimbal Console\r\n") << ConsoleReply::Kind::Banner;
        QTest::newRow("accepted") << QByteArray("connect logged in as administrator\n")
                                  << ConsoleReply::Kind::LoginAccepted;
        QTest::newRow("refused") << QByteArray("error could not connect as administrator\n")
                                 << ConsoleReply::Kind::LoginRefused;
    }

    void loginLines()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(ConsoleReply::Kind, kind);
        ConsoleReplyParser parser;
        const std::vector<ConsoleReply> replies = feedAll(parser, bytes);
        QCOMPARE(replies.size(), size_t(1));
        QCOMPARE(replies.front().kind, kind);
        if (kind == ConsoleReply::Kind::LoginAccepted)
            QCOMPARE(replies.front().line, QByteArray("connect logged in as administrator"));
    }

    void listsAcrossReads()
    {
        ConsoleReplyParser parser;
        QVERIFY(
            feedAll(parser, "lc \"\\\\Node\\Wizard\\SV\\TargetCurve\\EN\"\n\tFlat\n\tPi").empty());
        // Value replies and login lines inside a list are neither items nor replies.
        QVERIFY(
            feedAll(parser, "nk Noise\nsubr \"\\\\Preset\\A\\SV\\B\\\" \"1\"\nendls\n").empty());
        QVERIFY(feedAll(parser, "\t\tHouse curve\n\t Spaced \n").empty());
        const std::vector<ConsoleReply> replies = feedAll(parser, "endlc\r\nVimbal Console\n");
        QCOMPARE(replies.size(), size_t(2));
        QCOMPARE(replies[0].kind, ConsoleReply::Kind::EnumerationList);
        QCOMPARE(replies[0].path, QString("\\\\Node\\Wizard\\SV\\TargetCurve\\EN"));
        QCOMPARE(replies[0].items,
                 QStringList({"Flat", "Pink Noise", "\tHouse curve", " Spaced "}));
        QCOMPARE(replies[1].kind, ConsoleReply::Kind::Banner);
    }

    void objectList()
    {
        ConsoleReplyParser parser;
        const std::vector<ConsoleReply> replies =
            feedAll(parser, "ls \"\\\\Preset\"\n\tCrossover\n\tPEQ\nendlc\nendls\n");
        QCOMPARE(replies.size(), size_t(1));
        QCOMPARE(replies[0].kind, ConsoleReply::Kind::ObjectList);
        QCOMPARE(replies[0].path, QString("\\\\Preset"));
        QCOMPARE(replies[0].items, QStringList({"Crossover", "PEQ"}));
    }

    void listWithoutPath()
    {
        ConsoleReplyParser parser;
        const std::vector<ConsoleReply> replies = feedAll(parser, "lc\n\ta\nendlc\n");
        QCOMPARE(replies.size(), size_t(1));
        QCOMPARE(replies[0].path, QString());
    }

    void manyRepliesInOneRead()
    {
        ConsoleReplyParser parser;
        QByteArray burst;
        for (int i = 0; i < 500; ++i)
            burst += "subr \"\\\\Preset\\A\\SV\\B\\\" \"" + QByteArray::number(i) + "\"\n";
        const std::vector<ConsoleReply> replies = feedAll(parser, burst + "subr \"\\\\Pre");
        QCOMPARE(replies.size(), size_t(500));
        QCOMPARE(replies.back().record.value, QString("499"));
        const std::vector<ConsoleReply> rest = feedAll(parser, "set\\A\\SV\\B\\\" \"x\"\n");
        QCOMPARE(rest.size(), size_t(1));
        QCOMPARE(rest.front().record.value, QString("x"));
    }

    void overlongLineIsDiscarded()
    {
        ConsoleReplyParser parser;
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("longer than"));
        QVERIFY(feedAll(parser, QByteArray(ConsoleReplyParser::kMaxLineBytes + 10, 'x')).empty());
        // The rest of the overlong line is dropped too; what follows it is read.
        const std::vector<ConsoleReply> replies = feedAll(parser, "yyy\nVimbal Console\n");
        QCOMPARE(replies.size(), size_t(1));
        QCOMPARE(replies.front().kind, ConsoleReply::Kind::Banner);
    }

    void resetClosesOpenList()
    {
        ConsoleReplyParser parser;
        feedAll(parser, "lc \"\\\\Node\\X\\EN\"\n\ta\n\tpartial");
        parser.reset();
        const std::vector<ConsoleReply> replies = feedAll(parser, "Vimbal Console\n");
        QCOMPARE(replies.size(), size_t(1));
        QCOMPARE(replies.front().kind, ConsoleReply::Kind::Banner);
    }
};

QTEST_GUILESS_MAIN(TestConsoleLines)
#include "tst_consolelines.moc"
