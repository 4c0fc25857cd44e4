import QtQuick 2.15
import QX8Button 1.0
import DeviceModelProvider 1.0
import "DisplayNames.js" as DisplayNames

// One parameter cell: its label above and the device's value below. A number shows with its
// unit, between nudge buttons (-/+) where the nudge-step table has the variable; a dimmed dash
// until the device reports it. A variable with entries (a filter type, a polarity) is a choice
// among them. `applies` false dims a variable that does not act in the current setting (the Q of
// a shelving band).
Rectangle {
    id: root

    property string processingObjectName
    property string stateVariableName
    property string label
    property bool applies: true
    // Parameter names read in capitals; a name from the device ("1.0 kHz") keeps its own case.
    property bool uppercaseLabel: true
    // The unit the read-out shows, where the device's own says less ("dB" of a slope is per
    // octave); empty for the device's.
    property string unitLabel: ""
    readonly property bool isChoice: DeviceModelProvider.entries(processingObjectName,
                                                                 stateVariableName).length > 0
    readonly property bool nudgeable: DeviceModelProvider.nudgeObjectClass(processingObjectName,
                                                                           stateVariableName) !== ""
    // The value text shown (the newest written while the device has not answered it), empty
    // until the device's arrives.
    readonly property string valueText: content.item ? content.item.valueText : ""
    // The number shown, a screen reader's value of the cell; NaN until it arrives.
    readonly property real value: content.item && content.item.number !== undefined
                                  ? content.item.number : NaN

    // Room for the widest value of the variable, between its nudge buttons.
    implicitWidth: Math.max(Theme.dpX(164), 2 * Theme.dpX(Theme.spacing)
                                            + (content.item ? content.item.implicitWidth : 0))
    implicitHeight: Theme.dpY(76)
    color: Theme.panel
    radius: Theme.radius
    border.color: Theme.border
    opacity: applies ? 1 : 0.45
    // A number cell is one value control to a screen reader, named by its label and the value
    // it shows; a choice speaks for itself.
    Accessible.role: Accessible.SpinBox
    Accessible.name: DisplayNames.spokenValue(label, content.item ? content.item.shownText : "")
    Accessible.ignored: isChoice

    Text {
        id: caption
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: parent.top
        anchors.margins: Theme.dpX(Theme.spacing)
        text: root.uppercaseLabel ? DisplayNames.caption(root.label) : root.label
        textFormat: Text.PlainText
        elide: Text.ElideRight
        font.pixelSize: Theme.dpY(Theme.fontSmall)
        color: Theme.textDim
    }

    Loader {
        id: content
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        anchors.margins: Theme.dpX(Theme.spacing)
        height: Theme.dpY(Theme.controlHeight)
        sourceComponent: root.isChoice ? choice : number
    }

    Component {
        id: choice
        QX8ComboBox {
            objectName: "choice"
            readonly property string valueText: backend.deviceSvValue
            processingObjectName: root.processingObjectName
            stateVariableName: root.stateVariableName
            Accessible.name: DisplayNames.spokenValue(root.label, displayText)
        }
    }

    Component {
        id: number
        Item {
            readonly property string valueText: readout.text
            readonly property string shownText: readout.shownText
            readonly property real number: readout.waiting ? NaN : Number(readout.parts[0])
            implicitWidth: readout.implicitWidth + readout.anchors.leftMargin
                           + readout.anchors.rightMargin
                           + (root.nudgeable ? down.width + up.width : 0)

            QX8CustomButton {
                id: down
                objectName: "nudgeDown"
                anchors.left: parent.left
                width: height
                height: parent.height
                visible: root.nudgeable
                buttonType: QX8Button.Nudge
                bumpDirection: -1
                uncheckedText: "\u2212"
                fontSize: Theme.fontValue
                // Bound only where it can step, so that a plain read-out subscribes once.
                processingObjectName: root.nudgeable ? root.processingObjectName : ""
                stateVariableName: root.stateVariableName
                Accessible.name: DisplayNames.spoken(root.label, text)
            }
            QX8CustomLabel {
                id: readout
                objectName: "readout"
                anchors.left: root.nudgeable ? down.right : parent.left
                anchors.right: root.nudgeable ? up.left : parent.right
                anchors.verticalCenter: parent.verticalCenter
                anchors.leftMargin: Theme.dpX(Theme.spacingSmall)
                anchors.rightMargin: Theme.dpX(Theme.spacingSmall)
                horizontalAlignment: Text.AlignHCenter
                fontSize: Theme.fontValueLarge
                unitLabel: root.unitLabel
                processingObjectName: root.processingObjectName
                stateVariableName: root.stateVariableName
            }
            QX8CustomButton {
                id: up
                objectName: "nudgeUp"
                anchors.right: parent.right
                width: height
                height: parent.height
                visible: root.nudgeable
                buttonType: QX8Button.Nudge
                bumpDirection: 1
                uncheckedText: "+"
                fontSize: Theme.fontValue
                processingObjectName: root.nudgeable ? root.processingObjectName : ""
                stateVariableName: root.stateVariableName
                Accessible.name: DisplayNames.spoken(root.label, text)
            }
        }
    }
}
