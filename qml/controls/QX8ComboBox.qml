import QtQuick 2.15
import QtQml 2.15
import QtQuick.Controls 2.15 as T
import CustomComboBox 1.0
import DeviceModelProvider 1.0

// A choice among the entries of one variable (from the device model). It shows the device's
// choice and writes an entry when the user picks one; the pick shows, dimmed, until the device has
// answered every pick. Until the device has reported its choice it shows a dimmed dash and takes
// no pick (the user would choose without seeing what the device holds, and its answer would
// overturn the choice). A page may show an entry under another name (shownNames, one per entry).
// Tab reaches it and a click leaves the focus where it was; focused, Enter or Space opens its
// list, the arrows move in it and Enter picks, as a click would.
T.ComboBox {
    id: root

    property string processingObjectName
    property string stateVariableName
    readonly property alias backend: backend
    readonly property bool waiting: !backend.hasDeviceValue
    property var shownNames: model
    // True from the Enter that opened the list until its release.
    property bool openedByKey: false

    function shownName(entry) {
        var index = model.indexOf(entry)
        return index >= 0 && index < shownNames.length ? shownNames[index] : entry
    }

    model: DeviceModelProvider.entries(processingObjectName, stateVariableName)
    displayText: waiting ? "\u2013" : shownName(backend.deviceSvValue)
    implicitWidth: Theme.dpX(150)
    implicitHeight: Theme.dpY(Theme.controlHeight)
    leftPadding: Theme.dpX(Theme.spacing)
    rightPadding: Theme.dpX(Theme.spacing) + indicator.width
    focusPolicy: Qt.TabFocus
    enabled: !waiting

    onActivated: backend.setValueWithoutFeedback(textAt(index))

    // Enter opens the list; the box's own handling would take the same key's release as a pick.
    Keys.onPressed: {
        var enter = event.key === Qt.Key_Return || event.key === Qt.Key_Enter
        event.accepted = enter && !popup.visible
        if (event.accepted) {
            openedByKey = true
            popup.open()
        }
    }
    Keys.onReleased: {
        var enter = event.key === Qt.Key_Return || event.key === Qt.Key_Enter
        event.accepted = enter && openedByKey
        if (enter)
            openedByKey = false
    }

    // The device's choice, also after the user's pick has set the index itself.
    Binding {
        target: root
        property: "currentIndex"
        value: root.model.indexOf(backend.deviceSvValue)
        restoreMode: Binding.RestoreNone
    }

    CustomComboBox {
        id: backend
        poName: root.processingObjectName
        svName: root.stateVariableName
    }

    contentItem: Text {
        text: root.displayText
        textFormat: Text.PlainText
        elide: Text.ElideRight
        verticalAlignment: Text.AlignVCenter
        font.pixelSize: Theme.dpY(Theme.fontBody)
        color: root.waiting ? Theme.textFaint : backend.pending ? Theme.textDim : Theme.text
    }

    indicator: Text {
        x: root.width - width - Theme.dpX(Theme.spacing)
        anchors.verticalCenter: parent.verticalCenter
        text: "\u25be"
        font.pixelSize: Theme.dpY(Theme.fontBody)
        color: root.enabled ? Theme.textDim : Theme.textFaint
    }

    background: Rectangle {
        radius: Theme.radius
        color: root.pressed ? Theme.raisedSelected : Theme.raised
        border.color: root.hovered ? Theme.textDim : Theme.border
    }

    FocusFrame {}

    delegate: T.ItemDelegate {
        id: entry
        width: root.width
        height: Theme.dpY(Theme.controlHeight)
        highlighted: root.highlightedIndex === index
        contentItem: Text {
            text: root.shownName(modelData)
            textFormat: Text.PlainText
            elide: Text.ElideRight
            verticalAlignment: Text.AlignVCenter
            font.pixelSize: Theme.dpY(Theme.fontBody)
            font.bold: index === root.currentIndex
            color: Theme.text
        }
        background: Rectangle {
            color: index === root.currentIndex ? Theme.selectedFill
                   : entry.highlighted ? Theme.raisedSelected : Theme.raised
        }
    }

    popup: T.Popup {
        y: root.height
        width: root.width
        implicitHeight: Math.min(contentItem.implicitHeight, Theme.dpY(320))
        padding: 1
        contentItem: ListView {
            clip: true
            implicitHeight: contentHeight
            model: root.popup.visible ? root.delegateModel : null
            currentIndex: root.highlightedIndex
            boundsBehavior: Flickable.StopAtBounds
            T.ScrollBar.vertical: ScrollBar {}
        }
        background: Rectangle {
            color: Theme.raised
            border.color: Theme.border
        }
    }

    Component.onCompleted: backend.componentCompleted()
}
