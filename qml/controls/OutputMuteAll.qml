import QtQuick 2.15
import QX8Button 1.0

// Mutes every listed output variable of one processing object with one click.
QX8CustomButton {
    id: root

    property var muteVariables: []

    buttonType: QX8Button.SingleShot
    uncheckedText: "MUTE ALL"
    onButtonClicked: backend.setMultipleSV(muteVariables.join(","))
}
