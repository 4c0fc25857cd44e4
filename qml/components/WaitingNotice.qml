import QtQuick 2.15

// One dimmed line saying that what belongs here waits for the device (a page while the device
// lists its preset, a graph until its values have come).
Text {
    objectName: "waitingNotice"
    text: "Waiting for the device"
    textFormat: Text.PlainText
    color: Theme.textFaint
    font.pixelSize: Theme.dpY(Theme.fontBody)
}
