import QtQuick 2.15
import QX8NumericalSV 1.0
import WizardNuqGraphProvider 1.0

// The feedback-suppression steps of the Nuq wizard: the live Nuq filters drawn and listed, the
// last filters marked FIXED as the device reserves them, and the step's instruction picture.
WizardPageFrame {
    id: page
    objectName: "wizardNuqGraphPage"

    readonly property string wizardState: provider.wizardState
    readonly property var bandColors: ["#E341B5", "#1AAD84", "#2E5FFB", "#FC5F2D", "#00A8FF",
        "#E53D53", "#FDC23E", "#65B94C", "#24D3FD", "#E154FC", "#FF8E20", "#A055FB", "#E62620",
        "#88E800"]
    property string poName: ""
    property var filterModes: []

    title: provider.heading
    showNext: wizardState !== "GainUp"
    onBackClicked: wizardScreen.sendEvent("Previous")
    onNextClicked: wizardScreen.sendEvent("Next")

    // The last `count` filters (12 downwards) are fixed; a count outside 0 .. 12 is held inside.
    function markFixedFilters(count) {
        var fixed = Math.max(0, Math.min(12, Math.round(count)));
        var modes = [];
        for (var band = 1; band <= 12; ++band)
            modes.push(band > 12 - fixed ? "FIXED" : "LIVE");
        filterModes = modes;
    }

    Component.onCompleted: {
        markFixedFilters(0);
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
        onValueChanged: page.markFixedFilters(value)
    }

    WizardPicture {
        id: instruction
        objectName: "nuqInstructionPicture"
        anchors.top: parent.top
        anchors.right: parent.right
        width: parent.width * 0.3
        height: visible ? parent.height * 0.3 : 0
        path: provider.imageSrc
    }

    QX8GraphNuq {
        id: graph
        objectName: "nuqGraph"
        anchors.left: parent.left
        anchors.top: parent.top
        anchors.bottom: parent.bottom
        width: parent.width * 0.62
        bandCount: 12
        bandColors: page.bandColors.slice(0, 12)
        poName: page.poName
    }

    Column {
        anchors.left: graph.right
        anchors.right: parent.right
        anchors.top: instruction.bottom
        anchors.leftMargin: rootQML.dpX(Theme.margin)
        anchors.topMargin: instruction.visible ? rootQML.dpY(Theme.spacing) : 0
        spacing: rootQML.dpY(Theme.spacingSmall)

        Row {
            spacing: Theme.spacing
            Repeater {
                model: [{"t": "Filters", "w": 3}, {"t": "Mode", "w": 5}, {"t": "Fc", "w": 5},
                    {"t": "Gain", "w": 5}, {"t": "Q", "w": 5}]
                Text {
                    width: Theme.fontLabel * modelData.w
                    text: modelData.t
                    color: Theme.textDim
                    font.pixelSize: Theme.fontLabel
                }
            }
        }

        Repeater {
            model: 12
            CustomNuqFilterInfo {
                objectName: "nuqFilterInfo"
                processingObjectName: page.poName
                bandName: "Band_" + (modelData + 1)
                filterName: String(modelData + 1)
                filterNameColor: page.bandColors[modelData]
                fixedFilter: page.filterModes.length === 12 && page.filterModes[modelData] === "FIXED"
            }
        }
    }
}
