import QtQuick 2.15

// Shown instead of a wizard-menu action while the application works with the offline model.
WizardPageFrame {
    objectName: "wizardOfflinePage"

    showNext: false
    onBackClicked: wizardScreen.showPage("WizardListType.qml", "Wizard Menu", "Wizards")

    Text {
        objectName: "offlineNoticeText"
        anchors.centerIn: parent
        width: parent.width * 0.7
        text: "This operation can't be performed with Virtual QX8. Click the Back button to go to Wizard menu."
        textFormat: Text.PlainText
        wrapMode: Text.WordWrap
        horizontalAlignment: Text.AlignHCenter
        color: Theme.text
        font.pixelSize: rootQML.dpY(Theme.fontValue)
    }
}
