import QtQuick 2.15
import QX8Button 1.0
import "DisplayNames.js" as DisplayNames

// The on/off of a processing object: green "ON" while the device reports it on, "OFF" otherwise;
// a click asks the device for the other state. `switchedOff` lets a page dim what is bypassed.
QX8CustomButton {
    readonly property bool switchedOff: backend.hasDeviceValue && !backend.activeState

    buttonType: QX8Button.SV
    checkedText: "ON"
    uncheckedText: "OFF"
    look: CustomButton.Toggle
    implicitWidth: Theme.dpX(64)
    toolTipText: checked ? "Processing is on: click to bypass" : "Bypassed: click to switch on"
    // Said with the object it switches, as the heading beside it reads.
    Accessible.name: DisplayNames.spoken(DisplayNames.heading(processingObjectName), text)
}
