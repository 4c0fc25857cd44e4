import QtQuick 2.15
import QX8Button 1.0
import "DisplayNames.js" as DisplayNames

// A block of the signal chain: the block type's icon and caption (from the button image tables),
// dimmed while the device reports the processing object off. A click asks for the block's page
// with the GUI signal and payload of the dispatcher, unless `opensPage` is false. Before it asks,
// the block stores its object's description (`objectData`, empty for the fixed chain's objects)
// in "Data/CurrentPOData", where the page's data readers find it.
CustomLabelledButton {
    id: root

    property var resolver
    property string blockType
    property string stage: "in"
    property string processingObjectName
    property string param: blockType
    property string payload
    property string imageKey: blockType
    property string caption
    // The chain's size against its design size.
    property real zoom: 1
    property bool opensPage: true
    property string objectData
    // Where the block stands ("HIGH", "row 2"), which a screen reader says before its caption:
    // the chain holds several blocks of one kind.
    property string place
    readonly property string switchVariable: resolver ? resolver.toggleSVName(blockType) : ""
    readonly property bool switchedOff: state.hasDeviceValue && !state.activeState

    objectName: "block_" + param + (payload === "" ? "" : "_" + payload)
    width: Theme.dpX(88) * zoom
    height: Theme.dpY(84) * zoom
    imageSource: resolver ? resolver.imagePath(imageKey) : ""
    text: caption !== "" ? caption : resolver ? resolver.buttonText(stage + ":" + blockType) : ""
    dimmed: switchedOff
    toolTipText: switchedOff ? "Switched off" : ""
    Accessible.name: DisplayNames.spoken(place, text, switchedOff ? offText.text : "")

    function openPage() {
        settings.setValue("Data/CurrentPOData", objectData)
        rootQML.guiSignal(param, payload)
    }

    onClicked: if (opensPage) openPage()

    QX8Button {
        id: state
        buttonType: QX8Button.SV
        poName: root.switchVariable !== "" ? root.processingObjectName : ""
        svName: root.switchVariable
    }

    Rectangle {
        anchors.right: parent.right
        anchors.top: parent.top
        anchors.margins: Theme.dpX(3)
        visible: root.switchedOff
        width: offText.implicitWidth + Theme.dpX(6)
        height: offText.implicitHeight
        radius: Theme.radius
        color: Theme.raisedSelected
        Text {
            id: offText
            anchors.centerIn: parent
            text: "OFF"
            color: Theme.textDim
            font.pixelSize: Theme.dpY(Theme.fontSmall)
            font.bold: true
        }
    }

    Component.onCompleted: state.componentCompleted()
}
