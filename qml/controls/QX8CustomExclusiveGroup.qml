import QtQuick 2.15
import QtQuick.Controls 2.15
import QX8ExclusiveGroup 1.0

// An exclusive choice bound to one text variable. Member buttons register their value word
// and join xGroup; a member's click writes its word (select); a device value equal to a
// registered word is announced by selectedButtonChanged, as is a selection on its way to the
// device (backend.pending until the device has answered it).
Item {
    id: root

    property string processingObjectName
    property string stateVariableName
    property ButtonGroup xGroup: ButtonGroup {}
    property var buttonValues: []
    readonly property alias backend: backend

    signal selectedButtonChanged(string value)

    function addButtonToList(value) {
        buttonValues.push(value)
    }

    function select(value) {
        backend.selectedValue = value
    }

    QX8ExclusiveGroup {
        id: backend
        poName: root.processingObjectName
        svName: root.stateVariableName
        onSelectedValueChanged: {
            if (root.buttonValues.indexOf(backend.selectedValue) >= 0)
                root.selectedButtonChanged(backend.selectedValue)
        }
    }

    Component.onCompleted: backend.componentCompleted()
}
