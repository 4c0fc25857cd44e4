// Editing operations on real builder configurations: link, unlink, swap, the swap lists, the
// input-router sources and the output names, with their results and their refusals.
#include "configfixture.h"
#include "kalo480configbuilder.h"
#include "kalo480configeditor.h"
#include "testmain.h"

#include <QTest>

#include <algorithm>

using namespace configfixture;
using Editor = Kalo480ConfigEditor;

Q_DECLARE_METATYPE(std::vector<int>)

namespace {

Edit linkRefused(int col, int row, int count)
{
    return [=](Json::Value& config) {
        return Editor::linkTest(config, col, row, count) ||
               Editor::link(config, col, row, count, false);
    };
}

QString sixOf(const QString& item)
{
    return QString(item + ", ").repeated(5) + item;
}

Edit crossoverSwap(const char* crossover, const char* type, int row)
{
    return [=](Json::Value& config) { return Editor::swap(config, crossover, type, 8, row); };
}

} // namespace

class TestConfigEditor : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(loadTemplates()); }
    void gridLookups();
    void edits_data();
    void edits();
    void refusals_data();
    void refusals();
    void swapOptions();
    void inputRouterSources();
    void outputNames();
};

void TestConfigEditor::gridLookups()
{
    Json::Value config = configWithCrossover("Stereo 2-Way");
    QCOMPARE(Editor::rowIdxForPath(config, 8, 5), 2);
    QCOMPARE(Editor::rowIDForColIDRowIdx(config, 8, 3), 6);
    QCOMPARE(Editor::itemTypeAtPath(config, 8, 2), std::string());
    int height = -1;
    QVERIFY(Editor::link(config, 12, 1, 3, true));
    QVERIFY(Editor::unlinkTest(config, 12, 1, &height));
    QCOMPARE(height, 3);
}

void TestConfigEditor::edits_data()
{
    QTest::addColumn<Edit>("edit");
    QTest::addColumn<std::vector<int>>("columns");
    QTest::addColumn<QString>("items");

    const auto row = [](const char* name, const Edit& edit, std::vector<int> columns,
                        const QString& items) { QTest::newRow(name) << edit << columns << items; };
    row(
        "link merges equal items", [](Json::Value& c) { return Editor::link(c, 3, 1, 2, true); },
        {3}, "In_GEQ/2, In_GEQ/1");
    row(
        "link splits an item reaching past the span",
        [](Json::Value& c) {
            return Editor::link(c, 2, 2, 2, true) && Editor::link(c, 2, 1, 2, true);
        },
        {2}, "In_Nuq/2, In_Nuq/1");
    row(
        "link one row fewer splits and links again",
        [](Json::Value& c) {
            return Editor::link(c, 12, 1, 4, true) && Editor::link(c, 12, 1, 3, true);
        },
        {12}, "Out_Limiter/3, Out_Limiter/1, Out_Limiter/1, Out_Limiter/1");
    row(
        "link and unlink in the PEQ column keep the first template",
        [](Json::Value& c) {
            return Editor::swap(c, "Out_PEQ_Jq+", "", 9, 2) && Editor::linkTest(c, 9, 1, 2) &&
                   Editor::link(c, 9, 1, 2, true) && Editor::unlink(c, 9, 2, true);
        },
        {9}, sixOf("Out_PEQ_Morla/1"));
    row(
        "unlink from a lower row of the item",
        [](Json::Value& c) {
            return Editor::link(c, 7, 2, 3, true) && Editor::unlink(c, 7, 3, true);
        },
        {7}, sixOf("Mid_Compressor/1"));
    row(
        "auto EQ links only unlocked",
        [](Json::Value& c) {
            return !Editor::linkTest(c, 6, 1, 2) && !Editor::link(c, 6, 1, 2, true) &&
                   Editor::link(c, 6, 1, 2, false) && !Editor::unlink(c, 6, 1, true) &&
                   Editor::unlink(c, 6, 1, false);
        },
        {6}, sixOf("Mid_AutoEQ/1"));
    row(
        "cells emptied and filled",
        [](Json::Value& c) {
            return Editor::link(c, 7, 1, 2, true) && Editor::swap(c, "", "", 7, 2) &&
                   Editor::swap(c, "", "", 7, 3) && Editor::swap(c, "Mid_Gate", "", 7, 3) &&
                   Editor::swap(c, "", "", 5, 3) && Editor::swap(c, "Mid_Router_In2", "", 5, 3) &&
                   Editor::swap(c, "In_Delay", "", 3, 2);
        },
        {3, 5, 7},
        "In_GEQ/1, In_Delay/1, In_GEQ/1 | Mid_Mixer_ABC, Mid_Mixer_ABC, Mid_Router_In2, "
        "Mid_Mixer_ABC, Mid_Mixer_ABC, Mid_Mixer_ABC | Mid_Compressor/1, -, Mid_Gate/1, "
        "Mid_Compressor/1, Mid_Compressor/1, Mid_Compressor/1");
    row(
        "crossover kind swapped without a type takes the kind's first type",
        [](Json::Value& c) {
            const bool swapped = Editor::swap(c, "Out_CrossoverQX8", "", 8, 1) &&
                                 Editor::swap(c, "", "", 8, 2) &&
                                 Editor::swap(c, "Out_CrossoverIIR", "", 8, 2) &&
                                 Editor::swap(c, "Out_CrossoverQX8", "", 8, 3) &&
                                 Editor::swap(c, "Out_CrossoverIIR", "", 8, 3);
            // The kind the cell already has keeps the cell as it is, output name included.
            Editor::outputsSetOutputName(c, 3, "Lobby");
            return swapped && Editor::swap(c, "Out_CrossoverIIR", "", 8, 3);
        },
        {8, 14},
        "Out_CrossoverQX8/1x1, Out_CrossoverIIR/Mono Fullrange, Out_CrossoverIIR/Mono Fullrange, "
        "Out_CrossoverIIR/Mono Fullrange, Out_CrossoverIIR/Mono Fullrange, "
        "Out_CrossoverIIR/Mono Fullrange | Output/Output 1, Output/Output 2, Output/Lobby, "
        "Output/Output 4, Output/Output 5, Output/Output 6");
    row(
        "crossover link makes one crossover with that many outputs",
        [](Json::Value& c) {
            return Editor::link(c, 8, 1, 2, true) && Editor::link(c, 8, 3, 3, true);
        },
        {8, 14},
        "Out_CrossoverIIR/Mono Fullrange with Mono Sub, Out_CrossoverIIR/Mono x2 Fullrange with "
        "Mono Sub, Out_CrossoverIIR/Mono Fullrange | Output/M MAIN, Output/M SUB, Output/M MAIN 1, "
        "Output/M MAIN 2, Output/M SUB, Output/Output 6");
    row("crossover to stereo 2-way", crossoverSwap("Out_CrossoverIIR", "Stereo 2-Way", 1),
        {5, 6, 7, 8, 14},
        "Mid_Mixer_ABC, Mid_Mixer_ABC, -, -, Mid_Mixer_ABC, Mid_Mixer_ABC | "
        "Mid_AutoEQ/2, -, -, Mid_AutoEQ/1, Mid_AutoEQ/1 | "
        "Mid_Compressor/1, Mid_Compressor/1, -, -, Mid_Compressor/1, Mid_Compressor/1 | "
        "Out_CrossoverIIR/Stereo 2-Way, Out_CrossoverIIR/Mono Fullrange, "
        "Out_CrossoverIIR/Mono Fullrange | Output/L HIGH, Output/R HIGH, Output/L LOW, "
        "Output/R LOW, Output/Output 5, Output/Output 6");
    row(
        "crossover back to mono refills the mid cells",
        [](Json::Value& c) {
            return crossoverSwap("Out_CrossoverIIR", "Stereo 2-Way", 1)(c) &&
                   crossoverSwap("Out_CrossoverIIR", "Mono Fullrange", 1)(c);
        },
        {5, 6, 7, 8, 14},
        columnsText(defaultConfig(), {5, 6}) +
            " | Mid_Compressor/1, Mid_Compressor/1, Mid_AGC/1, Mid_AGC/1, Mid_Compressor/1, "
            "Mid_Compressor/1 | " +
            columnsText(defaultConfig(), {8, 14}));
    row(
        "crossover inside a wider one's old rows",
        [](Json::Value& c) {
            return crossoverSwap("Out_CrossoverIIR", "LCR Fullrange with LCR Subs", 1)(c) &&
                   crossoverSwap("Out_CrossoverIIR", "Mono 2-Way", 1)(c) &&
                   crossoverSwap("Out_CrossoverIIR", "Mono 3-Way", 3)(c);
        },
        {8, 14},
        "Out_CrossoverIIR/Mono 2-Way, Out_CrossoverIIR/Mono 3-Way, Out_CrossoverIIR/Mono "
        "Fullrange | Output/M HIGH, Output/M LOW, Output/M HIGH, Output/M MID, Output/M LOW, "
        "Output/Output 6");
}

void TestConfigEditor::edits()
{
    QFETCH(Edit, edit);
    QFETCH(std::vector<int>, columns);
    QFETCH(QString, items);
    Json::Value config = defaultConfig();
    QVERIFY(edit(config));
    QCOMPARE(columnsText(config, columns), items);
    std::string error;
    QVERIFY2(build(config, &error).isObject(), error.c_str());
}

void TestConfigEditor::refusals_data()
{
    QTest::addColumn<Edit>("edit");
    QTest::addColumn<QString>("thrown");

    const auto row = [](const char* name, const char* thrown, const Edit& edit) {
        QTest::newRow(name) << edit << QString(thrown);
    };
    const char* quiet = "nothing thrown";
    row("link input router", quiet, linkRefused(0, 1, 2));
    row("link input mixers", quiet, linkRefused(1, 1, 2));
    row("link mid mixers", quiet, linkRefused(5, 1, 2));
    // Crossovers are linked only by the editor's own calls, never offered to the user.
    row("link test of crossovers", quiet,
        [](Json::Value& c) { return Editor::linkTest(c, 8, 1, 2); });
    row("link crossovers past the last row", quiet,
        [](Json::Value& c) { return Editor::link(c, 8, 4, 4, false); });
    row("link outputs", quiet, linkRefused(14, 1, 2));
    row("link past the input rows", quiet, linkRefused(3, 2, 3));
    row("link past the output rows", quiet, linkRefused(12, 5, 3));
    row("link count zero", quiet, linkRefused(12, 1, 0));
    row("link row zero", quiet, linkRefused(12, 0, 2));
    row("link column past the end", quiet, linkRefused(20, 1, 2));
    row("link different templates", quiet, linkRefused(4, 1, 2));
    // Unlinking walks up to the row an item starts on, and no further than the first.
    row("unlink an item of one row", quiet,
        [](Json::Value& c) { return Editor::unlink(c, 7, 3, true); });
    row("unlink column past the end", quiet,
        [](Json::Value& c) { return Editor::unlink(c, 30, 3, true); });
    row("unlink negative row", quiet,
        [](Json::Value& c) { return Editor::unlink(c, 7, -5, true); });
    row("crossover past the last row", quiet, crossoverSwap("Out_CrossoverIIR", "Stereo 3-Way", 3));
    row("QX8 crossover past the last row", quiet, crossoverSwap("Out_CrossoverQX8", "2x4", 4));
    row("unknown crossover type", "unsupported crossoverSecondaryType",
        crossoverSwap("Out_CrossoverIIR", "Mono 9-Way", 1));
    row("crossover kind without types", quiet, crossoverSwap("Out_CrossoverFIR", "", 1));
    row("unlink stops at a malformed crossover", quiet, [](Json::Value&) {
        Json::Value broken = configWithCrossover("Stereo 2-Way");
        broken["Columns"][8][2][1] = "Mono 9-Way";
        const Json::Value before = broken;
        return Editor::unlink(broken, 8, 5, false) || broken != before;
    });

    // Lookups throw messages, never integers.
    const char* noItem = "no item found at path";
    row("no columns", "columns is not an array", [](Json::Value&) {
        return Editor::rowIdxForPath(Json::Value(Json::objectValue), 1, 1) > 0;
    });
    row("column past the end", noItem,
        [](Json::Value& c) { return Editor::colAtPath(c, 15).isArray(); });
    row("negative column", noItem,
        [](Json::Value& c) { return Editor::itemAtPath(c, -1, 1).isArray(); });
    row("row zero", noItem, [](Json::Value& c) { return Editor::rowIdxForPath(c, 3, 0) > 0; });
    row("row inside an item", noItem,
        [](Json::Value& c) { return Editor::itemAtPath(c, 13, 2).isArray(); });
    row("row past the items", noItem,
        [](Json::Value& c) { return Editor::itemAtPath(c, 3, 4).isArray(); });
    row("swap inside an item", noItem,
        [](Json::Value& c) { return Editor::swap(c, "Out_Delay", "", 13, 3); });
    row("swap options past the columns", noItem, [](Json::Value& c) {
        std::vector<std::string> options;
        return Editor::swapOptions(c, 15, 1, options);
    });
    row("bad item on the way", "bad item at path", [](Json::Value& c) {
        Json::Value broken = c;
        broken["Columns"][3][1][1] = "x";
        return Editor::rowIdxForPath(broken, 3, 2) > 0;
    });
    row("router slot without a source", "bad item at path", [](Json::Value& c) {
        Json::Value broken = c;
        broken["Columns"][0][1][1].resize(3);
        return Editor::inputRouterGetSource(broken, 5) >= 0;
    });
}

void TestConfigEditor::refusals()
{
    QFETCH(Edit, edit);
    QFETCH(QString, thrown);
    Json::Value config = defaultConfig();
    QVERIFY(Editor::swap(config, "In_Gate", "", 4, 2));
    QVERIFY(Editor::link(config, 13, 1, 3, true));
    const Json::Value before = config;
    bool accepted = false;
    QCOMPARE(QString::fromStdString(thrownBy([&] { accepted = edit(config); })), thrown);
    QVERIFY(!accepted);
    QCOMPARE(config, before);
}

void TestConfigEditor::swapOptions()
{
    Json::Value config = defaultConfig();
    std::vector<std::string> options;
    QVERIFY(Editor::swap(config, "In_Gate", "", 4, 2));
    QVERIFY(Editor::link(config, 3, 1, 2, true));
    // A template already in the other insert column on the item's rows is not offered again.
    QVERIFY(Editor::swapOptions(config, 3, 1, options));
    QCOMPARE(options,
             (std::vector<std::string>{"In_AGC", "In_Delay", "In_Compressor", "In_GEQ", "In_PEQ"}));
    QVERIFY(Editor::swapOptions(config, 4, 2, options));
    QCOMPARE(int(options.size()), 6);
    QVERIFY(std::find(options.begin(), options.end(), "In_GEQ") == options.end());
    QVERIFY(!Editor::swapOptions(config, -1, 1, options));
    // The FIR crossover has no types, so it is never offered.
    QVERIFY(Editor::swapOptions(config, 8, 6, options));
    QCOMPARE(options, (std::vector<std::string>{"Out_CrossoverQX8", "Out_CrossoverIIR"}));

    // Crossovers on row 4 are offered only when their outputs fit in the rows left.
    QVERIFY(Editor::swapOptionsForCrossover(config, "Out_CrossoverIIR", 8, 1, options));
    QCOMPARE(int(options.size()), 51);
    QVERIFY(Editor::swapOptionsForCrossover(config, "Out_CrossoverIIR", 8, 4, options));
    QCOMPARE(int(options.size()), 15);
    QVERIFY(Editor::swapOptionsForCrossover(config, "Out_CrossoverFIR", 8, 1, options));
    QVERIFY(options.empty());
    QVERIFY(!Editor::swapOptionsForCrossover(config, "Out_PEQ", 8, 1, options));
    QVERIFY(!Editor::swapOptionsForCrossover(config, "Out_CrossoverIIR", 8, 9, options));

    Editor::displayNamesForSwapOptions(options, {"In_Router_In3", "In_Nothing"});
    QCOMPARE(options, (std::vector<std::string>{"Input Route 3", "In_Nothing"}));
}

void TestConfigEditor::inputRouterSources()
{
    Json::Value config = defaultConfig();
    QCOMPARE(Editor::inputRouterGetSource(config, 0), -1);
    QCOMPARE(Editor::inputRouterGetSource(config, 8), -1);
    QCOMPARE(Editor::inputRouterGetSourceName(config, 4), std::string("AES1"));
    QCOMPARE(Editor::inputRouterGetSourceName(config, 9), std::string());
    QCOMPARE(Editor::inputRouterGetSourceNameForSourceID(15), std::string());
    QCOMPARE(Editor::inputRouterSwapOptionsForSlotNum(config, 2, true),
             (std::vector<int>{1, 7, 8, 9, 10, 11, 12, 13, 14}));
    QVERIFY(Editor::inputRouterSwapOptionsForSlotNum(config, 0, true).empty());

    // Out-of-range slots and sources are ignored.
    Editor::inputRouterSetSource(config, 1, 8);
    Editor::inputRouterSetSource(config, 2, 15);
    Editor::inputRouterSetSource(config, 8, 3);
    Editor::inputRouterSetSource(config, 0, 3);
    QCOMPARE(Editor::inputRouterGetSource(config, 2), 1);
    QCOMPARE(Editor::inputRouterGetSourceName(config, 1), std::string("OptionCard2"));
    QCOMPARE(Editor::inputRouterSwapOptionsForSlotNum(config, 2, true),
             (std::vector<int>{1, 7, 9, 10, 11, 12, 13, 14}));
    QCOMPARE(build(config)["InputRouter"]["Attributes"]["Slot1Source"].asInt(), 8);

    config["Columns"][0][1][1] = "broken";
    QCOMPARE(Editor::inputRouterGetSourceName(config, 3), std::string("InputSlot3"));
    QCOMPARE(thrownBy([&] { Editor::inputRouterSetSource(config, 3, 1); }),
             std::string("bad item at path"));
}

void TestConfigEditor::outputNames()
{
    Json::Value config = defaultConfig();
    QCOMPARE(Editor::outputsGetOutputName(config, 7), std::string());
    Editor::outputsSetOutputName(config, 2, "Front Fill 1");
    Editor::outputsSetOutputName(config, 0, "nowhere");
    Editor::outputsSetOutputName(config, 7, "nowhere");
    config["Columns"][14][5] = Json::Value();
    Editor::outputsSetOutputName(config, 5, "Lobby");
    QCOMPARE(columnsText(config, {14}), QString("Output/Output 1, Output/Front Fill 1, "
                                                "Output/Output 3, Output/Output 4, "
                                                "Output/Lobby, Output/Output 6"));
    QCOMPARE(Editor::getRecommendedCrossoverOutputName("Out_CrossoverIIR", "Mono 2-Way", 3),
             std::string());
    QCOMPARE(Editor::getRecommendedCrossoverOutputName("Out_CrossoverQX8", "2x2", 1),
             std::string());
    QCOMPARE(build(config)["Output2"]["Attributes"]["OutputName"].asString(),
             std::string("Front Fill 1"));
}

QX8_TEST_GUILESS_MAIN(TestConfigEditor)
#include "tst_configeditor.moc"
