import QtQuick 2.15
import QtQuick.Controls 2.15
import QX8Settings 1.0

// A check box for one flag of the application's settings, stored as "true" or "false": it shows
// the stored flag when created and stores each change the user makes. Tab reaches it, a click
// leaves the focus where it was; focused, Space or Enter ticks it as a click does.
CheckBox {
    id: box

    property string settingsKey: ""
    // The flag while the key is absent.
    property bool defaultChecked: false

    function toggleByKey() {
        toggle();
        toggled();
    }

    leftPadding: 0
    focusPolicy: Qt.TabFocus
    Keys.onReturnPressed: toggleByKey()
    Keys.onEnterPressed: toggleByKey()
    Accessible.name: text

    Component.onCompleted: {
        checked = String(settings.value(settingsKey, defaultChecked ? "true" : "false")) === "true";
    }
    onToggled: settings.setValue(settingsKey, checked ? "true" : "false")

    // Ticked, it is on: the house's on look.
    indicator: Rectangle {
        x: box.leftPadding
        y: (box.height - height) / 2
        implicitWidth: rootQML.dpX(24)
        implicitHeight: implicitWidth
        radius: Theme.radius
        color: box.checked ? Theme.onFill : Theme.offFill
        border.color: box.checked ? Theme.onFill : Theme.border
        opacity: box.enabled ? 1 : 0.45

        Text {
            anchors.centerIn: parent
            visible: box.checked
            text: "\u2713"
            color: Theme.onText
            font.pixelSize: rootQML.dpY(Theme.fontValue)
            font.bold: true
        }
    }

    contentItem: Text {
        leftPadding: box.indicator.width + box.spacing
        verticalAlignment: Text.AlignVCenter
        text: box.text
        color: box.enabled ? Theme.text : Theme.textDim
        font.pixelSize: rootQML.dpY(Theme.fontBody)
    }

    FocusFrame {}

    QX8Settings {
        id: settings
    }
}
