import QtQuick 2.15
import QX8NumericalSV 1.0
import QX8TextSV 1.0
import WizardListViewProvider 1.0
import WizardRunSetupProvider 1.0

// A wizard step that asks for one value of an enumerated device variable, and the wizard menu
// (state "Inactive"). The rows are the device's enumeration; choosing one writes it to the device,
// whose current value stays selected. Next and Back go to the device as wizard events. The
// sub-speaker questions are served by the run-setup model, which draws each answer as the
// speaker stack it would make.
WizardPageFrame {
    id: page
    objectName: "wizardListPage"

    readonly property var stackStates: ["PromptUsingSubs", "PromptSubsAuxFed"]
    // Chosen once, for the state the page is made for.
    property QtObject provider: listProvider
    readonly property string wizardState: provider.wizardState
    readonly property bool isMenu: wizardState === "Inactive"
    readonly property bool isLevelAdjust: wizardState === "GetReferenceAdjust"
                                          || wizardState === "MatchReferenceAdjust"
    // The value of the row selected: the user's choice, or the device's value.
    property string answer: ""
    property bool adjustAmountKnown: false
    readonly property var adjustPrefixes: ({
        "HighRight": "Adjust your right high amp level. Turn",
        "HighLeft": "Adjust your left high amp level. Turn",
        "MidLeft": "Adjust your left mid amp level. Turn",
        "MidRight": "Adjust your right mid amp level. Turn",
        "LowLeft": "Adjust your left low amp level. Turn",
        "LowRight": "Adjust your right low amp level. Turn",
        "LowSub": "Adjust your sub amp level. Turn"
    })

    title: isMenu ? "Wizard Menu"
                  : wizardState === "SelectAutoEqObject" ? "Select AutoEQ to setup:"
                                                         : provider.titleString
    showBack: !isMenu
    showNext: !isMenu
    nextEnabled: choices.selectedIndex >= 0
    onBackClicked: wizardScreen.sendEvent("Previous")
    onNextClicked: {
        if (wizardState === "PromptApplySetup")
            wizardScreen.answerApply(answer);
        wizardScreen.sendEvent("Next");
    }

    function selectDeviceValue() {
        if (isMenu)
            return;
        choices.selectedIndex = provider.getIndexOf(provider.svValue);
        answer = provider.svValue;
    }

    // The menu's rows start a wizard or open a page; offline only the tuning files open.
    function runMenuRow(text) {
        if (viewLoader.offlineMode && text !== "MANAGE TUNINGS") {
            wizardScreen.showPage("WizardOfflineDialog.qml", "Wizard Menu", "WizardOfflineDialog");
            return;
        }
        switch (text) {
        case "RUN ALL WIZARDS":
            runAll.setValueWithoutFeedback("Wizards");
            wizardScreen.startWizard("StartSetupWizard");
            break;
        case "RUN SETUP WIZARD":
            wizardScreen.showPage("RunSetupWizardScreen.qml", "Run Setup Wizard", "RunSetupWizard");
            break;
        case "RUN AUTOEQ/LEVEL ASSIST":
            wizardScreen.startWizard("StartAutoEQ");
            break;
        case "RUN NUQ WIZARD":
            wizardScreen.startWizard("StartNuq");
            break;
        case "WIZARD OPTIONS":
            wizardScreen.showPage("wizardOptions.qml", "Wizard Options", "WizardOptions");
            break;
        case "MANAGE TUNINGS":
            rootQML.guiSignal("ManageTunings", "");
            break;
        }
    }

    // "Adjust your left high amp level. Turn up 3 dB"; an output without a prefix keeps the title.
    function showLevelAdjustment() {
        var prefix = adjustPrefixes[svLevelAssistOutput.value];
        if (!adjustAmountKnown || prefix === undefined)
            return;
        var amount = Math.round(adjustAmount.value);
        provider.titleString = prefix + (adjustAmount.value >= 0 ? " up " : " down ")
                               + Math.abs(amount) + " dB";
    }

    Component.onCompleted: {
        if (stackStates.indexOf(wizardScreen.wizardState) >= 0)
            provider = stackProvider;
        provider.wizardState = wizardScreen.wizardState;
        if (isMenu) {
            wizardScreen.heading = "Wizard Menu";
            rootQML.strHelpFileName = "/images/Help/NewWizard.jpg";
        } else if (isLevelAdjust) {
            adjustAmount.poName = "LevelAssist";
            adjustAmount.svName = "AdjustAmountMeter";
        }
    }

    WizardListViewProvider {
        id: listProvider
        xmlFile: "WizardListView.xml"
        onSvValueChanged: page.selectDeviceValue()
        onEnumsChanged: page.selectDeviceValue()
    }

    WizardRunSetupProvider {
        id: stackProvider
        onSvValueChanged: page.selectDeviceValue()
        onEnumsChanged: page.selectDeviceValue()
    }

    WizardChoiceList {
        id: choices
        anchors.fill: parent
        model: provider
        onChosen: {
            if (page.isMenu) {
                page.runMenuRow(text);
            } else {
                page.answer = value;
                page.provider.svValue = value;
            }
        }
    }

    QX8TextSV {
        id: runAll
        poName: "NPO"
        svName: "Node\\Wizard\\SV\\WizardRunAll"
    }

    QX8NumericalSV {
        id: adjustAmount
        onValueChanged: {
            page.adjustAmountKnown = true;
            page.showLevelAdjustment();
        }
    }

    Connections {
        target: svLevelAssistOutput
        enabled: page.isLevelAdjust
        function onValueChanged() {
            page.showLevelAdjustment();
        }
    }
}
