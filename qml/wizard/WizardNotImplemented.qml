import QtQuick 2.15

// A wizard state the application has no page for: the user is sent to the device's front panel;
// Back and Next still reach the device.
WizardPageFrame {
    objectName: "wizardNotImplementedPage"

    title: "Wizard Menu"
    showBack: wizardScreen.wizardState !== "Inactive"
    onBackClicked: wizardScreen.sendEvent("Previous")
    onNextClicked: wizardScreen.sendEvent("Next")

    Text {
        objectName: "notImplementedText"
        anchors.centerIn: parent
        width: parent.width * 0.7
        text: "This state is not implemented in app. Please refer to the front panel of the hardware for more info."
        textFormat: Text.PlainText
        wrapMode: Text.WordWrap
        horizontalAlignment: Text.AlignHCenter
        color: Theme.text
        font.pixelSize: rootQML.dpY(Theme.fontValue)
    }
}
