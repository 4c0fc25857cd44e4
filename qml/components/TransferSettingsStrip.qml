import QtQuick 2.15
import QtQuick.Controls 2.15

// Sends the application's settings to the device or takes them from it (GUI signals "SendDB"
// and "ReceiveDB") and follows the transfer through the screen loader's sync signals, progress
// in percent. Not shown on the Utilities screen.
UtilityStrip {
    id: strip
    objectName: "transferSettingsStrip"
    title: "Transfer Settings"

    property bool transferring: false
    property bool failed: false
    property string status: ""

    function start(param) {
        transferring = true;
        failed = false;
        status = "";
        progressBar.value = 0;
        rootQML.guiSignal(param, "");
    }

    Connections {
        target: viewLoader
        function onSyncProgress(progress) {
            progressBar.value = progress;
        }
        function onSyncFinished() {
            strip.transferring = false;
            strip.status = "Settings transferred.";
        }
        function onSyncError(errorString) {
            strip.transferring = false;
            strip.failed = true;
            strip.status = errorString;
        }
    }

    Row {
        id: buttons
        spacing: rootQML.dpX(Theme.spacing)

        CustomButton {
            objectName: "sendSettingsButton"
            text: "Send to Device"
            enabled: !strip.transferring
            onClicked: strip.start("SendDB")
        }

        CustomButton {
            objectName: "receiveSettingsButton"
            text: "Receive from Device"
            enabled: !strip.transferring
            onClicked: strip.start("ReceiveDB")
        }
    }

    ThemedProgressBar {
        id: progressBar
        objectName: "transferProgress"
        width: buttons.width
        visible: strip.transferring
    }

    Text {
        objectName: "transferStatus"
        width: buttons.width
        visible: text !== ""
        text: strip.status
        textFormat: Text.PlainText
        wrapMode: Text.Wrap
        color: strip.failed ? Theme.stateAlert : Theme.text
        font.pixelSize: rootQML.dpY(Theme.fontBody)
    }
}
