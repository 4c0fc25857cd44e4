import QtQuick 2.15
import QX8NumericalSV 1.0
import WizardNuqGraphProvider 1.0
import "NuqFilters.js" as NuqFilters

// The feedback-suppression steps of the Nuq wizard: the live Nuq filters drawn and listed, the
// last filters marked FIXED as the device reserves them, and the step's instruction picture.
WizardPageFrame {
    id: page
    objectName: "wizardNuqGraphPage"

    readonly property string wizardState: provider.wizardState
    property string poName: ""
    readonly property var filterModes:
        NuqFilters.modes(12, fixedFilters.hasDeviceValue ? fixedFilters.value : 0)

    title: provider.heading
    showNext: wizardState !== "GainUp"
    onBackClicked: wizardScreen.sendEvent("Previous")
    onNextClicked: wizardScreen.sendEvent("Next")

    Component.onCompleted: {
        poName = "Nuq";
        provider.wizardState = settings.value("Wizard/CurrentState", "");
    }

    WizardNuqGraphProvider {
        id: provider
    }

    QX8NumericalSV {
        id: fixedFilters
        poName: page.poName
        svName: page.poName === "" ? "" : "MaxFixedFilters"
    }

    WizardPicture {
        id: instruction
        objectName: "nuqInstructionPicture"
        anchors.top: parent.top
        anchors.right: parent.right
        width: filterTable.width
        // The picture's drawn height, so that its labels read at their size.
        height: visible ? rootQML.dpY(150) : 0
        path: provider.imageSrc
    }

    QX8GraphNuq {
        id: graph
        objectName: "nuqGraph"
        anchors.left: parent.left
        anchors.right: filterTable.left
        anchors.top: parent.top
        anchors.bottom: parent.bottom
        anchors.rightMargin: rootQML.dpX(Theme.margin)
        bandCount: 12
        bandColors: NuqFilters.bandColors.slice(0, 12)
        poName: page.poName
    }

    // The filters' read-outs under their column captions, as wide as they need.
    Column {
        id: filterTable
        anchors.right: parent.right
        anchors.top: instruction.bottom
        anchors.topMargin: instruction.visible ? rootQML.dpY(Theme.spacing) : 0
        spacing: rootQML.dpY(Theme.spacingSmall)

        CustomNuqFilterInfo {
            captions: true
        }
        Repeater {
            model: 12
            CustomNuqFilterInfo {
                objectName: "nuqFilterInfo"
                processingObjectName: page.poName
                bandName: "Band_" + (modelData + 1)
                filterName: String(modelData + 1)
                filterNameColor: NuqFilters.bandColors[modelData]
                valueMode: page.filterModes[modelData]
            }
        }
    }
}
