import QtQuick 2.15
import QtQml 2.15
import QtQuick.Controls 2.15 as T
import QX8TextField 1.0

// An editable value of one variable in one unit: the number white, the unit smaller and grey at
// the field's right end. What the user types is written when editing finishes (once per edit),
// with the unit appended.
T.TextField {
    id: root

    property string processingObjectName
    property string stateVariableName
    property string unit
    property var textFieldValidator: null
    readonly property alias backend: backend
    property bool editedByUser: false

    // The device's text as the field shows it: the unit stands apart.
    function withoutUnit(text) {
        return unit !== "" && text.endsWith(unit) ? text.slice(0, -unit.length) : text
    }

    validator: textFieldValidator
    selectByMouse: true
    implicitWidth: Theme.dpX(110)
    implicitHeight: Theme.dpY(Theme.controlHeight)
    leftPadding: Theme.dpX(Theme.spacing)
    rightPadding: unit !== "" ? unitText.width + 2 * leftPadding : leftPadding
    verticalAlignment: Text.AlignVCenter
    font.pixelSize: Theme.dpY(Theme.fontValue)
    color: backend.hasDeviceValue ? Theme.text : Theme.textFaint
    selectionColor: Theme.brand
    background: Rectangle {
        radius: Theme.radius
        color: Theme.raised
        border.color: root.activeFocus ? Theme.text : Theme.border
    }

    Text {
        anchors.verticalCenter: parent.verticalCenter
        x: root.leftPadding
        visible: !backend.hasDeviceValue && root.text === ""
        text: "\u2013"
        font: root.font
        color: Theme.textFaint
    }

    Text {
        id: unitText
        anchors.right: parent.right
        anchors.rightMargin: root.leftPadding
        anchors.verticalCenter: parent.verticalCenter
        anchors.verticalCenterOffset: (root.font.pixelSize - font.pixelSize) / 4
        text: root.unit
        textFormat: Text.PlainText
        font.pixelSize: Math.max(Theme.dpY(Theme.fontSmall), root.font.pixelSize * 0.6)
        color: Theme.textDim
    }

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
        value: root.withoutUnit(backend.labelValue)
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
