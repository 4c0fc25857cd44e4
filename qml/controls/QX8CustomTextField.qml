import QtQuick 2.15
import QtQml 2.15
import QtQuick.Controls 2.15
import QX8TextField 1.0

// An editable value of one variable in one unit; what the user types is written when editing
// finishes (once per edit), with the unit appended.
TextField {
    id: root

    property string processingObjectName
    property string stateVariableName
    property string unit
    property var textFieldValidator: null
    readonly property alias backend: backend
    property bool editedByUser: false

    validator: textFieldValidator
    selectByMouse: true

    QX8TextField {
        id: backend
        entityName: "TextField"
        unit: root.unit
        poName: root.processingObjectName
        svName: root.stateVariableName
    }

    Binding {
        target: root
        property: "text"
        value: backend.labelValue
        when: !root.activeFocus
        restoreMode: Binding.RestoreNone
    }

    onTextEdited: editedByUser = true
    onEditingFinished: {
        if (!editedByUser)
            return
        editedByUser = false
        backend.labelValue = text
    }
    Component.onCompleted: backend.componentCompleted()
}
