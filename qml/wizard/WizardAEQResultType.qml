import QtQuick 2.15
import QX8TextSV 1.0
import "NuqFilters.js" as NuqFilters

// The AutoEQ result: the measured room response, the target and the room as the AutoEQ bands
// correct it, over the AutoEQ curve; each overlay can be switched off.
WizardPageFrame {
    id: page
    objectName: "wizardAutoEqResultPage"

    // The bands in the Nuq wizard's colours.
    readonly property var bandColors: NuqFilters.bandColors.slice(0, 10)
    property bool showRoom: true
    property bool showTarget: true
    property bool showResult: true

    title: "AutoEQ Results"
    showBack: false
    onNextClicked: wizardScreen.sendEvent("Next")

    QX8TextSV {
        id: response
        poName: "RoomEQ"
        svName: "Response"
        Component.onCompleted: componentCompleted()
    }
    QX8TextSV {
        id: target
        poName: "RoomEQ"
        svName: "Target"
        Component.onCompleted: componentCompleted()
    }

    Row {
        id: toggles
        anchors.right: parent.right
        anchors.top: parent.top
        spacing: rootQML.dpX(Theme.spacing)

        Repeater {
            model: [{"text": "ROOM", "flag": "showRoom"}, {"text": "TARGET", "flag": "showTarget"},
                {"text": "RESULT", "flag": "showResult"}]
            CustomButton {
                objectName: "overlayToggle"
                look: CustomButton.Toggle
                text: modelData.text
                checkable: true
                checked: page[modelData.flag]
                fontSize: Theme.fontBody
                onToggled: page[modelData.flag] = checked
            }
        }
    }

    QX8GraphPEQ {
        objectName: "autoEqResultGraph"
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: toggles.bottom
        anchors.bottom: parent.bottom
        anchors.topMargin: rootQML.dpY(Theme.spacing)
        bandCount: 10
        bandColors: page.bandColors
        touchPointVisible: false
        showRoomCurve: page.showRoom
        roomCurveString: response.value
        targetCurveString: page.showTarget ? target.value : ""
        finalResultantVisible: page.showResult
        poName: "RoomEQ"
    }
}
