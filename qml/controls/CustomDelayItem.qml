import QtQuick 2.15
import QX8Button 1.0
import "DisplayNames.js" as DisplayNames

// The delay amount in one unit, editable, its unit inside the field; with nudge buttons when
// nudgeable. Up and Down in the field step the amount with `stepper`: its own "+" when it has
// one, else the one the delay gives it.
Row {
    id: root

    property string processingObjectName
    property string stateVariableName: "Amount"
    property string unit: "ms"
    property bool nudgeable: false
    // The delay's name, which the field's is made of ("Mid Delay in ms").
    property string delayName
    readonly property string accessibleName: DisplayNames.spoken(delayName, "in", unit)
    readonly property alias textField: field
    readonly property Item ownStepper: nudgeable ? up : null
    property Item stepper: ownStepper

    spacing: Theme.dpX(Theme.spacingSmall)

    QX8CustomButton {
        id: down
        objectName: "nudgeDown"
        visible: root.nudgeable
        width: height
        height: field.height
        buttonType: QX8Button.Nudge
        bumpDirection: -1
        uncheckedText: "\u2212"
        fontSize: Theme.fontValue
        processingObjectName: root.nudgeable ? root.processingObjectName : ""
        stateVariableName: root.stateVariableName
        Accessible.name: DisplayNames.spoken(root.accessibleName, text)
    }
    QX8CustomTextField {
        id: field
        objectName: "amountField"
        width: Theme.dpX(132)
        height: Theme.dpY(40)
        font.pixelSize: Theme.dpY(Theme.fontValueLarge)
        processingObjectName: root.processingObjectName
        stateVariableName: root.stateVariableName
        unit: root.unit
        stepper: root.stepper
        Accessible.name: root.accessibleName
    }
    QX8CustomButton {
        id: up
        objectName: "nudgeUp"
        visible: root.nudgeable
        width: height
        height: field.height
        buttonType: QX8Button.Nudge
        bumpDirection: 1
        uncheckedText: "+"
        fontSize: Theme.fontValue
        processingObjectName: root.nudgeable ? root.processingObjectName : ""
        stateVariableName: root.stateVariableName
        Accessible.name: DisplayNames.spoken(root.accessibleName, text)
    }
}
