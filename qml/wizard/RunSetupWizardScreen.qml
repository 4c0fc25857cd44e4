import QtQuick 2.15
import QX8TextSV 1.0
import WizardRunSetupProvider 1.0

// The run-setup page: its own menu of partial setup runs, and the input and GEQ choices of the
// setup wizard. Next writes the selected row's value, then the "Next" event.
WizardPageFrame {
    id: page
    objectName: "runSetupPage"

    readonly property string wizardState: provider.wizardState
    readonly property bool isMenu: wizardState === "Inactive"

    title: isMenu ? "Wizard Menu" : provider.titleString
    showNext: !isMenu
    nextEnabled: choices.selectedIndex >= 0
    onBackClicked: {
        if (isMenu) {
            wizardScreen.showPage("WizardListType.qml", "Wizard Menu", "Wizards");
            rootQML.strHelpFileName = "/images/Help/NewWizard.jpg";
        } else {
            wizardScreen.sendEvent("Previous");
        }
    }
    onNextClicked: {
        if (wizardState === "SelectInput" || wizardState === "SelectGEQ")
            provider.writeRowValue(choices.selectedIndex);
        wizardScreen.sendEvent("Next");
    }

    function selectDeviceValue() {
        if (!isMenu)
            choices.selectedIndex = provider.getIndexOf(provider.svValue);
    }

    function runMenuRow(text) {
        switch (text) {
        case "Run All Setup":
            runAll.setValueWithoutFeedback("Setup");
            wizardScreen.startWizard("StartSetupWizard");
            break;
        case "Run Input Setup Items":
            wizardScreen.startWizard("StartInput");
            break;
        case "Run GEQ Setup Items":
            wizardScreen.startWizard("StartGEQ");
            break;
        case "Run Speaker / Amp Setup Items":
            wizardScreen.startWizard("StartSpeaker");
            break;
        }
    }

    Component.onCompleted: {
        rootQML.strHelpFileName = "/images/Help/Run_Setup_Wizard.jpg";
        provider.wizardState = wizardScreen.wizardState;
    }

    WizardRunSetupProvider {
        id: provider
        onSvValueChanged: page.selectDeviceValue()
        onEnumsChanged: page.selectDeviceValue()
    }

    WizardChoiceList {
        id: choices
        anchors.fill: parent
        model: provider
        onChosen: {
            if (page.isMenu)
                page.runMenuRow(text);
        }
    }

    QX8TextSV {
        id: runAll
        poName: "NPO"
        svName: "Node\\Wizard\\SV\\WizardRunAll"
    }
}
