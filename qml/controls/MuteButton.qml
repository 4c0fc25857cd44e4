import QtQuick 2.15
import QX8Button 1.0
import "DisplayNames.js" as DisplayNames

// The mute toggle of one variable.
QX8CustomButton {
    objectName: "mute"
    buttonType: QX8Button.SV
    accent: Theme.stateAlert
    checkedText: "MUTED"
    uncheckedText: "MUTE"

    // The channel it mutes, which a screen reader says after the button's word ("MUTE Output 3").
    property string channelName

    Accessible.name: DisplayNames.spoken(backend.hasDeviceValue ? text : uncheckedText, channelName)
}
