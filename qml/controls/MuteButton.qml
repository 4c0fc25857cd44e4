import QtQuick 2.15
import QX8Button 1.0

// The mute toggle of one variable.
QX8CustomButton {
    objectName: "mute"
    buttonType: QX8Button.SV
    accent: Theme.stateAlert
    checkedText: "MUTED"
    uncheckedText: "MUTE"
}
