import QtQuick 2.15
import QX8Button 1.0

// A labelled slider of one numeric variable with nudge buttons on both sides, its range ends
// below and the device's value text in the middle (currentValue).
Column {
    id: root

    property string processingObjectName
    property string stateVariableName
    property alias poClassName: nudgeUp.poClassName
    property alias svClassName: nudgeUp.svClassName
    property string title
    property string minLabel
    property string maxLabel
    property bool nudgeButtonsVisibility: true
    property bool ratioSlider: false
    readonly property string currentValue: valueText.text
    readonly property alias slider: slider
    readonly property alias nudgeDown: nudgeDown
    readonly property alias nudgeUp: nudgeUp

    spacing: Theme.spacingSmall

    Text {
        text: root.title
        color: Theme.text
        font.pixelSize: Theme.fontLabel
    }
    Row {
        spacing: Theme.spacingSmall
        QX8CustomButton {
            id: nudgeDown
            visible: root.nudgeButtonsVisibility
            buttonType: QX8Button.Nudge
            bumpDirection: -1
            uncheckedText: "-"
            processingObjectName: root.processingObjectName
            stateVariableName: root.stateVariableName
            poClassName: nudgeUp.poClassName
            svClassName: nudgeUp.svClassName
        }
        QX8CustomSlider {
            id: slider
            width: 240
            processingObjectName: root.processingObjectName
            stateVariableName: root.stateVariableName
            ratioSlider: root.ratioSlider
        }
        QX8CustomButton {
            id: nudgeUp
            visible: root.nudgeButtonsVisibility
            buttonType: QX8Button.Nudge
            bumpDirection: 1
            uncheckedText: "+"
            processingObjectName: root.processingObjectName
            stateVariableName: root.stateVariableName
        }
    }
    Row {
        spacing: 2 * Theme.margin
        Text {
            text: root.minLabel
            color: Theme.textDim
            font.pixelSize: Theme.fontSmall
        }
        QX8CustomLabel {
            id: valueText
            processingObjectName: root.processingObjectName
            stateVariableName: root.stateVariableName
        }
        Text {
            text: root.maxLabel
            color: Theme.textDim
            font.pixelSize: Theme.fontSmall
        }
    }
}
