import QtQuick 2.15
import QX8Button 1.0
import DeviceModelProvider 1.0
import "DisplayNames.js" as DisplayNames

// A labelled slider of one numeric variable with nudge buttons on both sides, the ends of its
// range below (from the device model unless the page names them) and the device's value in the
// middle (currentValue).
Column {
    id: root

    property string processingObjectName
    property string stateVariableName
    property alias poClassName: nudgeUp.poClassName
    property alias svClassName: nudgeUp.svClassName
    property string title
    property string minLabel: rangeEnd(DeviceModelProvider.minimum(processingObjectName,
                                                                   stateVariableName))
    property string maxLabel: rangeEnd(DeviceModelProvider.maximum(processingObjectName,
                                                                   stateVariableName))
    property bool nudgeButtonsVisibility: true
    property bool ratioSlider: false
    // What a screen reader calls the slider: its title, or what the page asks where it shows none.
    property string accessibleName: title
    readonly property string currentValue: valueText.text
    readonly property alias slider: slider
    readonly property alias nudgeDown: nudgeDown
    readonly property alias nudgeUp: nudgeUp

    function rangeEnd(limit) {
        if (limit === undefined)
            return ""
        return limit + DeviceModelProvider.unit(processingObjectName, stateVariableName)
    }

    spacing: Theme.dpY(Theme.spacingSmall)

    Text {
        text: DisplayNames.caption(root.title)
        textFormat: Text.PlainText
        color: Theme.textDim
        font.pixelSize: Theme.dpY(Theme.fontSmall)
    }
    Row {
        spacing: Theme.dpX(Theme.spacingSmall)
        QX8CustomButton {
            id: nudgeDown
            visible: root.nudgeButtonsVisibility
            buttonType: QX8Button.Nudge
            bumpDirection: -1
            uncheckedText: "\u2212"
            fontSize: Theme.fontValue
            processingObjectName: root.nudgeButtonsVisibility ? root.processingObjectName : ""
            stateVariableName: root.stateVariableName
            poClassName: nudgeUp.poClassName
            svClassName: nudgeUp.svClassName
            Accessible.name: DisplayNames.spoken(root.accessibleName, text)
        }
        QX8CustomSlider {
            id: slider
            width: Theme.dpX(240)
            processingObjectName: root.processingObjectName
            stateVariableName: root.stateVariableName
            ratioSlider: root.ratioSlider
            Accessible.name: DisplayNames.spokenValue(root.accessibleName, valueText.shownText)
        }
        QX8CustomButton {
            id: nudgeUp
            visible: root.nudgeButtonsVisibility
            buttonType: QX8Button.Nudge
            bumpDirection: 1
            uncheckedText: "+"
            fontSize: Theme.fontValue
            processingObjectName: root.nudgeButtonsVisibility ? root.processingObjectName : ""
            stateVariableName: root.stateVariableName
            Accessible.name: DisplayNames.spoken(root.accessibleName, text)
        }
    }
    Item {
        width: parent.width
        height: valueText.height
        Text {
            anchors.left: parent.left
            anchors.verticalCenter: parent.verticalCenter
            text: root.minLabel
            textFormat: Text.PlainText
            color: Theme.textDim
            font.pixelSize: Theme.dpY(Theme.fontSmall)
        }
        QX8CustomLabel {
            id: valueText
            objectName: "readout"
            anchors.horizontalCenter: parent.horizontalCenter
            processingObjectName: root.processingObjectName
            stateVariableName: root.stateVariableName
        }
        Text {
            anchors.right: parent.right
            anchors.verticalCenter: parent.verticalCenter
            text: root.maxLabel
            textFormat: Text.PlainText
            color: Theme.textDim
            font.pixelSize: Theme.dpY(Theme.fontSmall)
        }
    }
}
