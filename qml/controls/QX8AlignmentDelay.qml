import QtQuick 2.15
import DeviceModelProvider 1.0

// One delay in every unit the device writes it in at once (milliseconds, feet, metres); the
// first unit has the nudge buttons, whose steps the keys take in every unit's field.
Row {
    id: root

    property string processingObjectName
    property string stateVariableName: "Amount"
    property string delayName
    readonly property var units: DeviceModelProvider.displayUnits(processingObjectName,
                                                                  stateVariableName)
    readonly property alias items: unitItems
    // The first unit's "+".
    readonly property Item stepper: unitItems.count > 0 ? unitItems.itemAt(0).ownStepper : null
    // The amount in the first unit (milliseconds); NaN until the device has reported it.
    readonly property real amount: {
        var first = unitItems.count > 0 ? unitItems.itemAt(0) : null
        return first && first.textField.backend.hasDeviceValue
               ? parseFloat(first.textField.backend.labelValue) : NaN
    }

    spacing: Theme.dpX(Theme.margin * 2)

    Repeater {
        id: unitItems
        model: root.units
        CustomDelayItem {
            processingObjectName: root.processingObjectName
            stateVariableName: root.stateVariableName
            unit: modelData
            delayName: root.delayName
            nudgeable: index === 0
            stepper: nudgeable ? ownStepper : root.stepper
        }
    }
}
