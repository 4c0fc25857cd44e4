import QtQuick 2.15
import QtQuick.Controls 2.15
import QX8Settings 1.0

// A check box for one flag of the application's settings, stored as "true" or "false": it shows
// the stored flag when created and stores each change the user makes.
CheckBox {
    id: box

    property string settingsKey: ""
    // The flag while the key is absent.
    property bool defaultChecked: false

    leftPadding: 0

    Component.onCompleted: {
        checked = String(settings.value(settingsKey, defaultChecked ? "true" : "false")) === "true";
    }
    onToggled: settings.setValue(settingsKey, checked ? "true" : "false")

    contentItem: Text {
        leftPadding: box.indicator.width + box.spacing
        verticalAlignment: Text.AlignVCenter
        text: box.text
        color: box.enabled ? Theme.text : Theme.textDim
        font.pixelSize: rootQML.dpY(Theme.fontBody)
    }

    QX8Settings {
        id: settings
    }
}
