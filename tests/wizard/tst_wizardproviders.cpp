// The models of the wizard pages against VirtualQX8: which variable each state binds, the rows
// they make of the device's enumeration with the descriptor's texts and pictures, the products
// of the brand steps, and what a choice puts on the wire.
#include "testmain.h"
#include "tst_controlfixture.h"
#include "wizardbrandmodelsmodel.h"
#include "wizardcrossovercodes.h"
#include "wizarddialogprovider.h"
#include "wizarddialprovider.h"
#include "wizardlistviewprovider.h"
#include "wizardnuqgraphprovider.h"
#include "wizardrunsetupprovider.h"

namespace {

const QString kQx8 = QStringLiteral("qrc:/images/Wizards/");

// "TEXT=value|image" for every row, and "#code" after a row with a crossover code.
QStringList rowsOf(const WizardChoiceListModel& model)
{
    QStringList rows;
    for (const WizardListViewInfo& row : model.rows())
        rows << row.text + '=' + row.value + '|' + row.image +
                    (row.crossoverCode ? '#' + QString::number(row.crossoverCode) : QString());
    return rows;
}

QString nodePath(const QString& path)
{
    return "\\\\" + path + "\\";
}

QString product(const QString& brand, const QString& series, const QString& model)
{
    return QString("<Speaker Brand='%1' Series='%2' Model='%3'/>").arg(brand, series, model);
}

QStringList textsOf(const QAbstractListModel& model)
{
    QStringList texts;
    for (int row = 0; row < model.rowCount(); ++row)
        texts << model.data(model.index(row), Qt::UserRole + 1).toString();
    return texts;
}

} // namespace

class TestWizardProviders : public QObject
{
    Q_OBJECT

private:
    LoggedInDevice* m_device = nullptr;

    // The device's enumeration of `path` becomes `entries` ("a|b|c").
    void setEntries(const QString& path, const QString& entries)
    {
        const QString answer =
            m_device->device.command("entries \"" + nodePath(path) + "\" \"" + entries + '"');
        QVERIFY2(answer.startsWith("ok"), qPrintable(answer));
    }

    // The number of lines the device has received once everything sent so far is in.
    int receivedSoFar()
    {
        sentUntilProbe(0);
        return m_device->device.received().size();
    }

    // The lines the link sent from `from` on, until the device answered a probe.
    QStringList sentUntilProbe(int from)
    {
        return m_device->device.receivedUntilProbe(
            [] {
                TCPAdaptor::instance()->SendRequest(
                    {"NPO", "Node\\SV\\HardwareVersion", {}, {}, "get"});
            },
            from);
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_device = new LoggedInDevice;
        QVERIFY(m_device->start());
    }
    void cleanupTestCase() { delete m_device; }

    void listRowsAreTheDeviceEnumeration_data()
    {
        QTest::addColumn<QString>("state");
        QTest::addColumn<QString>("variable");
        QTest::addColumn<QString>("entries");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QString>("title");
        QTest::addColumn<bool>("runSetup");
        const QString choices = "Node\\SetupWizardCurrentChoices\\SV\\";
        QTest::newRow("yes/no with a title row")
            << "PromptUsingSubs" << choices + "UsingSubSpeaker"
            << "No|Yes" << QStringList{"No=No|", "Yes=Yes|"} << "Are you using subs?" << false;
        QTest::newRow("device order, an entry the descriptor lacks")
            << "SelectFirstPaInput"
            << "Node\\Wizard\\SV\\WizardSourceSelect"
            << "AES1|Analog1|Dante 1"
            << QStringList{"AES1=AES1|", "ANALOG1=Analog1|", "Dante 1=Dante 1|"}
            << "Select first PA input" << false;
        QTest::newRow("block without rows")
            << "SelectMainSpeakerUsage"
            << "Node\\Wizard\\SV\\WizardGenericEnumChoice"
            << "Main PA|Front Fill" << QStringList{"Main PA=Main PA|", "Front Fill=Front Fill|"}
            << "" << false;
        QTest::newRow("first of two blocks")
            << "SelectPaOutputFormat"
            << "Node\\Wizard\\SV\\WizardGenericEnumChoice"
            << "Mono|MonoX2|MonoX3"
            << QStringList{"MONO=Mono|" + kQx8 + "WizardPAsytemOutMono.png",
                           "MONOX2=MonoX2|" + kQx8 + "WizardPAsytemOutMonox2.png",
                           "MONOX3=MonoX3|" + kQx8 + "WizardPAsytemOutMonox3.png"}
            << "Select PA output format" << false;
        QTest::newRow("title of the first block")
            << "MatchReferenceSignalNotEnough"
            << "Node\\Wizard\\SV\\WizardChoice"
            << "No|Yes" << QStringList{"Try Again=No|", "Cancel=Yes|"} << "Low test signal detected"
            << false;
        QTest::newRow("run setup, an entry the descriptor lacks in upper case")
            << "SelectInput" << choices + "InputMixing"
            << "Stereo|Mono|Dual Mono"
            << QStringList{"Stereo=Stereo|" + kQx8 + "Setup_IconMixerStereo.png",
                           "Mono=Mono|" + kQx8 + "Setup_IconMixerMono.png", "DUAL MONO=Dual Mono|"}
            << "Select Input configuration" << true;
    }

    // The binding asks for the enumeration and the value once each; the rows are the entries in
    // the device's order, dressed by the descriptor; the device's value is the one selected.
    void listRowsAreTheDeviceEnumeration()
    {
        QFETCH(QString, state);
        QFETCH(QString, variable);
        QFETCH(QString, entries);
        QFETCH(QStringList, rows);
        QFETCH(QString, title);
        QFETCH(bool, runSetup);
        setEntries(variable, entries);
        const int before = receivedSoFar();

        const std::unique_ptr<WizardChoiceListModel> model =
            runSetup ? std::unique_ptr<WizardChoiceListModel>(new WizardRunSetupProvider)
                     : std::make_unique<WizardListViewProvider>();
        WizardChoiceListModel& provider = *model;
        QSignalSpy titles(&provider, &WizardChoiceListModel::titleStringChanged);
        provider.setWizardState(state);
        QTRY_COMPARE(rowsOf(provider), rows);
        QCOMPARE(provider.titleString(), title);
        QCOMPARE(titles.size(), title.isEmpty() ? 0 : 1);
        const QString deviceValue = m_device->device.command("value " + nodePath(variable));
        QTRY_COMPARE("ok " + provider.svValue(), deviceValue);
        const QStringList sent =
            sentUntilProbe(before).filter(variable).filter(QRegularExpression("^(lc|sub) "));
        QCOMPARE(sent, QStringList({"lc \"" + nodePath(variable) + "EN\\\"",
                                    "sub \"" + nodePath(variable) + "\""}));
    }

    // A choice is written once; the device's answer moves the selection. A new enumeration
    // rebuilds the rows while the page is shown.
    void choiceAndNewEnumerationOnTheWire()
    {
        const QString variable = "Node\\SetupWizardCurrentChoices\\SV\\UsingSubSpeaker";
        setEntries(variable, "No|Yes");
        WizardListViewProvider provider;
        provider.setWizardState("PromptUsingSubs");
        QTRY_COMPARE(provider.rows().size(), 2);

        const QString choice = provider.svValue() == "Yes" ? "No" : "Yes";
        provider.setSvValue(choice);
        QVERIFY(m_device->device.waitForReceived("set \"" + nodePath(variable) + "\" \"" + choice +
                                                 '"'));
        QCOMPARE(m_device->device.command("value " + nodePath(variable)), "ok " + choice);
        QCOMPARE(provider.svValue(), choice);
        QCOMPARE(provider.getIndexOf(choice), choice == "No" ? 0 : 1);
        QCOMPARE(provider.getIndexOf(choice.toLower()), -1);

        setEntries(variable, "Yes|No|Maybe");
        QTRY_COMPARE(rowsOf(provider), QStringList({"Yes=Yes|", "No=No|", "Maybe=Maybe|"}));
        QCOMPARE(provider.getIndexOf(choice), choice == "Yes" ? 0 : 1);
    }

    // A processing-object path binds the object and its variable, so the value replies reach it.
    void processingObjectChoiceFollowsItsReplies()
    {
        WizardListViewProvider provider;
        provider.setWizardState("SetType");
        QTRY_COMPARE(rowsOf(provider).size(), 3);
        QCOMPARE(provider.titleString(), QString("Select Nuq filter type (width)."));
        QTRY_COMPARE(provider.svValue(), QString("Speech Music"));
        QCOMPARE(provider.rows().at(provider.getIndexOf("Speech Music")).text,
                 QString("Music/Speech"));
        QVERIFY(m_device->device.command("set \"\\\\Preset\\Nuq\\SV\\ContentMode\\\" \"Music\"")
                    .startsWith("ok"));
        QTRY_COMPARE(provider.svValue(), QString("Music"));
    }

    // The menu is the descriptor's rows at once; nothing is asked of the device.
    void menuRowsWithoutTheDevice()
    {
        const int before = receivedSoFar();
        WizardListViewProvider list;
        list.setWizardState("Inactive");
        QCOMPARE(rowsOf(list), QStringList({"RUN ALL WIZARDS=|", "RUN SETUP WIZARD=|",
                                            "RUN AUTOEQ/LEVEL ASSIST=|", "RUN NUQ WIZARD=|",
                                            "WIZARD OPTIONS=|", "MANAGE TUNINGS=|"}));
        WizardRunSetupProvider runSetup;
        runSetup.setWizardState("Inactive");
        QCOMPARE(runSetup.rows().size(), 4);
        QCOMPARE(runSetup.titleString(), QString());
        runSetup.writeRowValue(0); // a menu row stands for no value
        runSetup.writeRowValue(7);
        QCOMPARE(sentUntilProbe(before), QStringList());
    }

    // Every block of the state applies in file order; a heading counts even empty, other
    // elements only with a text; what no block names stays.
    void pageProvidersApplyEveryBlock()
    {
        WizardDialogProvider dialog;
        QSignalSpy headings(&dialog, &WizardDialogProvider::headingChanged);
        dialog.setWizardState("ExitAutoEQ");
        QCOMPARE(headings.size(), 2);
        QCOMPARE(dialog.heading(), QString("Please Wait..."));
        dialog.setWizardState("GainDown");
        QCOMPARE(dialog.imageSrc(), QString("/images/Wizards/LowerMixerOutputs.png"));
        QCOMPARE(dialog.buttonText(), QString("Click Here when done"));
        dialog.setWizardState("StartSetupWizard");
        QCOMPARE(dialog.heading(), QString("Running Setup Wizard..."));
        QCOMPARE(dialog.buttonText(), QString("Click Here when done"));
        QCOMPARE(dialog.svNextVal(), QString("Next"));
        dialog.setWizardState("DisplayError");
        QCOMPARE(dialog.heading(), QString());
        dialog.setWizardState("SelectMidAmplifierInfoQuarx");
        QCOMPARE(dialog.displayText(),
                 QString(R"(1-Set (Attn) to 0dB. \n 2-Set DSP to flat or bypassed.)"));

        WizardDialProvider dial;
        QSignalSpy states(&dial, &WizardDialProvider::wizardStateChanged);
        dial.setWizardState("setfilters");
        QCOMPARE(dial.dialOrSlider(), QString());
        dial.setWizardState("SetFilters");
        QCOMPARE(dial.dialOrSlider(), QString("slider"));
        QCOMPARE(states.size(), 2);

        WizardNuqGraphProvider graph;
        graph.setWizardState("GainUp");
        graph.setWizardState("NuqResult");
        QCOMPARE(graph.heading(), QString("Nuq LIVE filters now active."));
        QCOMPARE(graph.imageSrc(), QString("qrc:/images/Wizards/RaiseMixerOutputs.png"));
    }

    // Products are grouped by brand in the device's order and told apart by brand, series and
    // model: two whose texts read alike each write their own value. A product the device does
    // not offer, a row that does not exist and a value no line can carry write nothing.
    void brandListWritesTheProductPicked()
    {
        const QString variable = "Node\\SetupWizardCurrentChoices\\SV\\MainSpeaker";
        const QStringList products = {
            product("A", "S", "M1"),      product("B", "T", "N"),
            product("A", "S", "M2"),      product("H", "HX 12", "Mk2"),
            product("H", "HX", "12 Mk2"), product("Custom", "Custom", "Custom")};
        setEntries(variable, products.join('|'));
        WizardBrandListViewModel brands;
        WizardBrandModelsModel models;
        models.setBrandListModel(&brands);
        QSignalSpy selections(&brands, &WizardBrandListViewModel::selectionChanged);
        brands.setWizardState("SelectMainSpeaker");
        QCOMPARE(brands.heading(), QString("Select main speaker"));
        QTRY_COMPARE(textsOf(brands), QStringList({"A", "B", "H", "Not listed??"}));
        models.setBrand("A");
        QCOMPARE(textsOf(models), QStringList({"S M1", "S M2", "Not listed??"}));
        models.setBrand("H");
        QCOMPARE(textsOf(models), QStringList({"HX 12 Mk2", "HX 12 Mk2", "Not listed??"}));

        const QString set = "set \"" + nodePath(variable) + "\" \"";
        brands.makeSelection(2, 1);
        QVERIFY(m_device->device.waitForReceived(set + products[4] + '"'));
        QTRY_COMPARE(selections.last(), QVariantList({2, 1}));
        brands.makeSelection(2, 0);
        QVERIFY(m_device->device.waitForReceived(set + products[3] + '"'));
        QTRY_COMPARE(selections.last(), QVariantList({2, 0}));
        brands.makeSelection(0, 2); // A's "Not listed??"
        QVERIFY(m_device->device.waitForReceived(set + products[5] + '"'));
        QTRY_COMPARE(selections.last(), QVariantList({-1, -1}));

        setEntries(variable,
                   QStringList({products[0], "<Speaker Brand=\"Q\" Series=\"R\" Model=\"Z\"/>"})
                       .join('|'));
        QTRY_COMPARE(textsOf(brands), QStringList({"A", "Q"}));
        const int before = receivedSoFar();
        qx8test::expectWarnings("offers no product", 1);
        brands.makeSelection(-1, -1);
        qx8test::expectWarnings("no brand row", 1);
        brands.makeSelection(5, 0);
        QSignalSpy refusals(&brands, &WizardBrandListViewModel::selectionRefused);
        qx8test::expectWarnings("Brand choice refused", 1);
        brands.makeSelection(1, 0);
        QCOMPARE(refusals.size(), 1);
        QCOMPARE(sentUntilProbe(before).filter("set "), QStringList());
    }

    // A product step lists the products again for every report of the amplifier channel or the
    // monitor it is about, the first one included.
    void stepVariablesAskForTheProductsAgain()
    {
        const QString variable = "Node\\SetupWizardCurrentChoices\\SV\\HighAmplifier";
        const QString listing = "lc \"" + nodePath(variable) + "EN\\\"";
        const int before = receivedSoFar();
        WizardBrandListViewModel brands;
        brands.setWizardState("SelectHighAmplifier");
        QTRY_COMPARE(sentUntilProbe(before).filter(listing).size(), 3);
        QTRY_VERIFY(brands.rowCount() > 0);
        QVERIFY(m_device->device.command(R"(set "\\Node\Wizard\SV\AmpSelectChannel\" "2")")
                    .startsWith("ok"));
        QTRY_COMPARE(sentUntilProbe(before).filter(listing).size(), 4);
    }

    void runSetupCrossoverListsFollowTheDevice_data()
    {
        QTest::addColumn<QString>("state");
        QTest::addColumn<QString>("variable");
        QTest::addColumn<QString>("format");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("newFormat");
        QTest::addColumn<QStringList>("newRows");
        const QString choices = "Node\\SetupWizardCurrentChoices\\SV\\";
        QTest::newRow("using subs: the main stacks, with and without a sub")
            << "PromptUsingSubs" << choices + "UsingSubSpeaker"
            << "Stereo" << QStringList{"No=No|#22300", "Yes=Yes|#22311"} << "Are you using subs?"
            << "MonoX2" << QStringList{"Yes=Yes|#22311", "No=No|#22300"};
        QTest::newRow("aux-fed subs: the input pictures of the format")
            << "PromptSubsAuxFed" << choices + "WizardSubsAuxFed"
            << "Mono"
            << QStringList{"No=No|" + kQx8 + "MonoPAInFormat.png",
                           "Yes=Yes|" + kQx8 + "MonoInputWithAuxSub.png"}
            << "Are the subs fed from an aux send?"
            << "LCR" << QStringList{"Yes=Yes|SubAuxFed", "No=No|SubNotAuxFed"};
    }

    // The rows are the dressed entries in the device's order, drawn for the device's PA output
    // format and main speaker mode (tri-amped). A new enumeration forgets both and asks the
    // device again, so the list follows a format changed meanwhile.
    void runSetupCrossoverListsFollowTheDevice()
    {
        QFETCH(QString, state);
        QFETCH(QString, variable);
        QFETCH(QString, format);
        QFETCH(QStringList, rows);
        QFETCH(QString, title);
        QFETCH(QString, newFormat);
        QFETCH(QStringList, newRows);
        const QString choices = R"(Node\SetupWizardCurrentChoices\SV\)";
        const auto setOnDevice = [this](const QString& path, const QString& value) {
            QVERIFY(m_device->device.command("set \"" + nodePath(path) + "\" \"" + value + '"')
                        .startsWith("ok"));
        };
        setOnDevice(choices + "WizardPaOutputFormat", format);
        setOnDevice(choices + "MainSpeakerMode", "Tri-Amped");
        setEntries(variable, "No|Yes|Maybe");

        WizardRunSetupProvider provider;
        provider.setWizardState(state);
        QTRY_COMPARE(rowsOf(provider), rows);
        QCOMPARE(provider.titleString(), title);

        setOnDevice(choices + "WizardPaOutputFormat", newFormat);
        const int before = receivedSoFar();
        setEntries(variable, "Maybe|Yes|No");
        QTRY_COMPARE(rowsOf(provider), newRows);
        const QStringList asked = sentUntilProbe(before).filter("asyncget ");
        QCOMPARE(asked.filter("WizardPaOutputFormat").size(), 1);
        QCOMPARE(asked.filter("MainSpeakerMode").size(), state == "PromptUsingSubs" ? 1 : 0);
    }

    void pageProvidersLogTheirLookup_data()
    {
        QTest::addColumn<QString>("provider");
        QTest::addColumn<QString>("state");
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("count");
        const auto row = [](const char* provider, const char* state, const char* line, int count) {
            QTest::newRow(qPrintable(QString("%1: %2").arg(provider, line)))
                << QString(provider) << QString(state) << QString(line) << count;
        };
        row("dial", "SetFilters", "XML file already exists", 1);
        row("dial", "SetFilters", "File path is: ", 1);
        row("dial", "SetFilters", "Count 7", 1);
        row("dial", "SetFilters", "Current wizard state enum: SetFilters", 1);
        row("dial", "SetFilters", "Wizard State: WizardState : ", 7);
        row("dial", "SetFilters", "id found SetFilters", 1);
        row("dial", "SetFilters", "dilaOrSliderFound", 1);
        row("Nuq graph", "GainUp", "Wizard State: WizardState : ", 2);
        row("Nuq graph", "GainUp", "id found", 0);
        row("dialog", "ExitAutoEQ", "Wizard State: ", 0);
        row("dialog", "ExitAutoEQ", "Current wizard state enum: ", 0);
        row("dialog", "ExitAutoEQ", "id found", 0);
        row("list", "Inactive", "Current wizard state enum: Inactive", 1);
        row("run setup", "Inactive", "Current wizard state enum: ", 0);
    }

    void pageProvidersLogTheirLookup()
    {
        QFETCH(QString, provider);
        QFETCH(QString, state);
        QFETCH(QString, line);
        QFETCH(int, count);
        const qx8test::LoggedMessageWatch watch(line);
        std::unique_ptr<QObject> made;
        if (provider == "dial")
            made = std::make_unique<WizardDialProvider>();
        else if (provider == "Nuq graph")
            made = std::make_unique<WizardNuqGraphProvider>();
        else if (provider == "dialog")
            made = std::make_unique<WizardDialogProvider>();
        else if (provider == "list")
            made = std::make_unique<WizardListViewProvider>();
        else
            made = std::make_unique<WizardRunSetupProvider>();
        QVERIFY(made->setProperty("wizardState", state));
        QCOMPARE(watch.seen(), count);
    }

    void crossoverCodes_data()
    {
        QTest::addColumn<QString>("list");
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QString>("marker");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("image");
        const auto row = [](const char* name, const char* list, const char* format,
                            const char* mode, const char* marker, int code,
                            const QString& image = QString()) {
            QTest::newRow(name) << QString(list) << QString(format) << QString(mode)
                                << QString(marker) << code << image;
        };
        row("stereo 2-way with subs", "subs", "Stereo", "2Way", "YesSubs", 22211);
        row("mono x3 3-way without", "subs", "MonoX3", "3Way", "NoSubs", 33300);
        row("mono x2 device words", "subs", "MonoX2", "Tri-Amped", "YesSubs", 22311);
        row("unmarked row", "subs", "Mono", "2Way", "Picture.png", 0, "Picture.png");
        row("LCR sub", "format", "LCR", "", "LcrSub", 33133);
        row("mono x2 sub", "format", "Mono", "", "Monox2Sub", 11112);
        row("mono x3 mains, mono sub", "format", "MonoX3", "", "MonoSub", 33111);
        row("unknown format", "format", "Quad", "", "StereoSub", 22);
        row("aux-fed mono", "auxfed", "MonoX2", "", "SubAuxFed", 0,
            kQx8 + "MonoInputWithAuxSub.png");
        row("aux-fed stereo", "auxfed", "Stereo", "", "SubNotAuxFed", 0, kQx8 + "LRPAInFormat.png");
        row("aux-fed LCR keeps the marker", "auxfed", "LCR", "", "SubAuxFed", 0, "SubAuxFed");
    }

    void crossoverCodes()
    {
        QFETCH(QString, list);
        QFETCH(QString, format);
        QFETCH(QString, mode);
        QFETCH(QString, marker);
        QFETCH(int, code);
        QFETCH(QString, image);
        const WizardSetupViewInfo row{"Yes", marker, "Yes", 0};
        const WizardSetupViewInfo made =
            list == "subs"     ? wizardcrossover::subChoiceRow(row, format, mode)
            : list == "format" ? wizardcrossover::subFormatRow(row, format)
                               : wizardcrossover::auxFedRow(row, format);
        QCOMPARE(made.crossoverCode, code);
        QCOMPARE(made.image, image);
    }
};

QX8_TEST_GUILESS_MAIN(TestWizardProviders)
#include "tst_wizardproviders.moc"
