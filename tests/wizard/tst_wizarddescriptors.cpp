// The wizard descriptor files in the resources: their form, the blocks whose order or marker
// words the pages rely on, the pictures they name; and how the page table and the providers pick
// a block.
#include "qx8settings.h"
#include "settingskeys.h"
#include "testmain.h"
#include "wizarddescriptor.h"
#include "wizardscreensloader.h"
#include "wizardstatetable.h"

#include <QDomDocument>
#include <QFile>
#include <QSignalSpy>
#include <QtTest>

namespace {

QString readResource(const QString& name)
{
    QFile file(":/xml/" + name);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// Every `WizardState` block of a file as it stands there: its id, and "id {tag=text; ...}
// text=value[image] | ..." with the elements other than the rows in order, then the rows.
QVector<QPair<QString, QString>> blocksIn(const QString& text)
{
    QDomDocument document;
    document.setContent(text);
    QVector<QPair<QString, QString>> blocks;
    const QDomElement root = document.documentElement();
    for (QDomElement block = root.firstChildElement(); !block.isNull();
         block = block.nextSiblingElement()) {
        QStringList elements;
        QStringList rows;
        for (QDomElement child = block.firstChildElement(); !child.isNull();
             child = child.nextSiblingElement()) {
            if (child.tagName() != QLatin1String("lvElements")) {
                elements << child.tagName() + '=' + child.text();
                continue;
            }
            for (QDomElement row = child.firstChildElement(); !row.isNull();
                 row = row.nextSiblingElement())
                rows << row.firstChildElement("Text").text() + '=' +
                            row.firstChildElement("Value").text() + '[' +
                            row.firstChildElement("Image").text() + ']';
        }
        const QString id = block.attribute("id");
        blocks.append({id, id + " {" + elements.join("; ") + "} " + rows.join(" | ")});
    }
    return blocks;
}

} // namespace

class TestWizardDescriptors : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fileHoldsItsBlocks_data();
    void fileHoldsItsBlocks();
    void blockAsTheProvidersReadIt_data();
    void blockAsTheProvidersReadIt();
    void brandFileHasNoBlocks();
    void namedPicturesExist();
    void lookupByState();
    void deepNestingIsRefused();
    void pageTable();
    void pageSelectionIsRecorded();
};

void TestWizardDescriptors::fileHoldsItsBlocks_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("blocks");
    QTest::addColumn<int>("ids");
    QTest::newRow("list") << "WizardListView.xml" << 78 << 74;
    QTest::newRow("run setup") << "WizardRunSetupView.xml" << 12 << 12;
    QTest::newRow("dialog") << "WizardDialogView.xml" << 55 << 54;
    QTest::newRow("dial") << "WizardDialView.xml" << 7 << 7;
    QTest::newRow("Nuq graph") << "WizardNuqGraphView.xml" << 2 << 2;
}

// Well-formed, every block with an id.
void TestWizardDescriptors::fileHoldsItsBlocks()
{
    QFETCH(QString, file);
    QFETCH(int, blocks);
    QFETCH(int, ids);
    const QString text = readResource(file);
    QVERIFY(text.startsWith("<?xml version=\"1.0\" ?>\n"));
    QVERIFY(!text.contains('\r'));
    QVERIFY(QDomDocument().setContent(text));
    const QVector<QPair<QString, QString>> found = blocksIn(text);
    QSet<QString> distinct;
    for (const auto& block : found) {
        QVERIFY(!block.first.isEmpty());
        distinct.insert(block.first);
    }
    QCOMPARE(found.size(), blocks);
    QCOMPARE(distinct.size(), ids);
    if (file == QLatin1String("WizardRunSetupView.xml"))
        QVERIFY(text.contains(
            QRegularExpression("<!--\\s*<WizardState id=\"PromptApplySetup\">.*WizardChoice.*-->",
                               QRegularExpression::DotMatchesEverythingOption)));
}

void TestWizardDescriptors::blockAsTheProvidersReadIt_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("id");
    QTest::addColumn<int>("occurrence");
    QTest::addColumn<QString>("block");
    const QString choice = R"({SVPath=Node\Wizard\SV\WizardChoice} )";
    const QString choices = R"({SVPath=Node\SetupWizardCurrentChoices\SV\)";
    QTest::newRow("title between the rows")
        << "WizardListView.xml"
        << "AutoEQMeasuringSignalNotHeard" << 0
        << "AutoEQMeasuringSignalNotHeard " + choice +
               "Try Again=No[] | Test signal not detected.=TitleString[] | Cancel=Yes[]";
    QTest::newRow("second block without a title")
        << "WizardListView.xml"
        << "MatchReferenceSignalNotEnough" << 1
        << "MatchReferenceSignalNotEnough " + choice + "Try Again=No[] | Cancel=Yes[]";
    QTest::newRow("second block without a variable")
        << "WizardListView.xml"
        << "SelectPaOutputFormat" << 1
        << "SelectPaOutputFormat {} MONO=Mono[qrc:/images/ButtonBG2.png] | "
           "MonoX2=MonoX2[qrc:/images/ButtonBG3.png] | MonoX3=MonoX3[qrc:/images/ButtonBG1.png]";
    QTest::newRow("sub format markers")
        << "WizardListView.xml"
        << "SelectSubSpeakerMode" << 0
        << "SelectSubSpeakerMode " + choices +
               "SubSpeakerMode} Select sub speaker configuration=TitleString[] | "
               "MONO=Mono[MonoSub] | STEREO=Stereo[StereoSub]";
    QTest::newRow("aux-fed markers")
        << "WizardListView.xml"
        << "PromptSubsAuxFed" << 0
        << "PromptSubsAuxFed " + choices +
               "WizardSubsAuxFed} No=No[SubNotAuxFed] | Yes=Yes[SubAuxFed]";
    QTest::newRow("later block without a picture")
        << "WizardDialogView.xml"
        << "ExitAutoEQ" << 1 << "ExitAutoEQ {heading=Please Wait...; button=} ";
    QTest::newRow("slider")
        << "WizardDialView.xml"
        << "SetFilters" << 0
        << "SetFilters {heading=Select the number of fixed filters.; button=Click Here when done; "
           "dialOrSlider=slider} ";
}

// Blocks whose order, repetition or marker words the providers depend on.
void TestWizardDescriptors::blockAsTheProvidersReadIt()
{
    QFETCH(QString, file);
    QFETCH(QString, id);
    QFETCH(int, occurrence);
    QFETCH(QString, block);
    QStringList found;
    for (const auto& candidate : blocksIn(readResource(file))) {
        if (candidate.first == id)
            found << candidate.second;
    }
    QCOMPARE(found.value(occurrence), block);
}

void TestWizardDescriptors::brandFileHasNoBlocks()
{
    const QString text = readResource("WizardBrandListView.xml");
    QVERIFY(text.startsWith("<?xml version=\"1.0\" ?>\n<!--"));
    QDomDocument document;
    QVERIFY(!document.setContent(text));
    QVERIFY(WizardDescriptor("WizardBrandListView.xml").everyBlock("Inactive").isEmpty());
}

// Resource paths must be there; marker words and bare names are drawn as no picture.
void TestWizardDescriptors::namedPicturesExist()
{
    for (const QString file : {"WizardListView.xml", "WizardRunSetupView.xml",
                               "WizardDialogView.xml", "WizardNuqGraphView.xml"}) {
        const QRegularExpression picture(">((qrc:)?/images/[^<]+)<");
        auto match = picture.globalMatch(readResource(file));
        int count = 0;
        while (match.hasNext()) {
            const QString resource =
                ':' + match.next().captured(1).remove(QRegularExpression("^qrc:"));
            QVERIFY2(QFile::exists(resource), qPrintable(file + ": " + resource));
            ++count;
        }
        QVERIFY(count > 0);
    }
}

// Ids match exactly; the providers' tests read the blocks themselves.
void TestWizardDescriptors::lookupByState()
{
    const WizardDescriptor list("WizardListView.xml");
    QCOMPARE(list.everyBlock("GetReferenceClip").size(), 2);
    QVERIFY(!list.firstBlock("SelectPaOutputFormat").isNull());
    QVERIFY(list.firstBlock("selectpaoutputformat").isNull());
}

// Nested far deeper than any descriptor, a text would overflow the stack of the DOM parser: it
// reads as holding no blocks. A deep but sane text still reads.
void TestWizardDescriptors::deepNestingIsRefused()
{
    const auto nested = [](int depth) {
        return "<Wizards><WizardState id=\"Inactive\"><heading>Menu</heading>" +
               QString("<a>").repeated(depth) + QString("</a>").repeated(depth) +
               "</WizardState></Wizards>";
    };
    const WizardDescriptor sane = WizardDescriptor::fromText(nested(200));
    QCOMPARE(WizardDescriptor::childText(sane.firstBlock("Inactive"), "heading"), QString("Menu"));
    qx8test::expectWarnings("Wizard descriptor refused: elements nested deeper than 256", 1);
    QVERIFY(WizardDescriptor::fromText(nested(200000)).everyBlock("Inactive").isEmpty());
}

void TestWizardDescriptors::pageTable()
{
    QHash<QString, int> perPage;
    for (const QString& page : wizardstates::pageTable())
        ++perPage[page];
    const QHash<QString, int> expected = {
        {"WizardListType.qml", 78},          {"WizardDialogType.qml", 42},
        {"WizardNestedListViewType.qml", 9}, {"WizardDialType.qml", 7},
        {"WizardFormType.qml", 6},           {"WizardNuqGraphType.qml", 2},
        {"RunSetupWizardScreen.qml", 2},     {"WizardMakeConnections.qml", 1},
        {"WizardAEQResultType.qml", 1}};
    QCOMPARE(perPage, expected);
    QCOMPARE(wizardstates::pageFor("AutoEQResult"), QString("WizardAEQResultType.qml"));
    for (const QString unknown :
         {"SelectSubOutputFormat", "", "inactive", "SetChirpLevelHighNoise"})
        QCOMPARE(wizardstates::pageFor(unknown), QString("WizardNotImplemented.qml"));
    QCOMPARE(wizardstates::wizardNameFor("GainUp"), QString("Nuq Wizard"));
    QCOMPARE(wizardstates::wizardNameFor("SetChirpLevelHighNoise"), QString("AutoEQ Wizard"));
    QCOMPARE(wizardstates::wizardNameFor("SelectLowAmpBridgeMode"), QString("Run Setup Wizard"));
    QCOMPARE(wizardstates::wizardNameFor("SelectHighAmpBridgeMode"), QString());
}

// Every write is announced with the state and recorded, a repeat included.
void TestWizardDescriptors::pageSelectionIsRecorded()
{
    WizardScreensLoader loader;
    QSignalSpy written(&loader, &WizardScreensLoader::wizardStateQmlChanged);
    for (const QString state : {"Inactive", "Inactive", "SelectSubOutputFormat"}) {
        loader.setWizardStateQml(state);
        QCOMPARE(written.takeLast().at(0).toString(), state);
        QCOMPARE(QX8Settings().value(settingskeys::kWizardCurrentState).toString(), state);
    }
    QCOMPARE(loader.wizardStateQml(), QString("WizardNotImplemented.qml"));
    loader.setWizardStateQml("Inactive");
    QCOMPARE(loader.wizardStateQml(), QString("WizardListType.qml"));
}

QX8_TEST_GUILESS_MAIN(TestWizardDescriptors)
#include "tst_wizarddescriptors.moc"
