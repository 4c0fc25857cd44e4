import QtQuick 2.15

// Utilities: the application (version, analytics opt-in, application update), the device (name,
// address, firmware and its update) and, on devices with one, the digital-audio card. In
// validation mode the heading offers to clear both update caches. The strips share the screen's
// one message dialog through showDialog().
Rectangle {
    id: rootUtilities
    objectName: "utilitiesPage"
    color: viewLoader.validationMode ? Theme.backgroundValidation
                                     : viewLoader.offlineMode ? Theme.backgroundOffline : Theme.background
    Accessible.role: Accessible.Pane
    Accessible.name: heading.text

    property bool firmwareUploadInProgress: false
    property alias menuBarEnabled: menu.enabled
    property alias contentEnabled: content.enabled
    readonly property alias dialogNickName: messageDialog.nickName

    signal dialogAccepted()
    signal dialogRejected()

    function showDialog(nickName, message, warning, info, question, confirm) {
        messageDialog.nickName = nickName;
        messageDialog.message = message;
        messageDialog.showWarning = warning;
        messageDialog.showOk = info || warning || question;
        messageDialog.okText = question ? "Yes" : "OK";
        messageDialog.showCancel = question || confirm;
        messageDialog.cancelText = question ? "No" : "Cancel";
        messageDialog.open();
    }

    MenuBar {
        id: menu
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: parent.top
        currentScreen: "Utilities"
    }

    Item {
        id: content
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: menu.bottom
        anchors.bottom: parent.bottom
        anchors.margins: rootQML.dpX(Theme.margin)

        CustomHeading {
            id: heading
            anchors.left: parent.left
            anchors.right: parent.right
            anchors.top: parent.top
            text: "UTILITIES"

            CustomButton {
                objectName: "clearCacheButton"
                text: "CLEAR CACHE"
                visible: viewLoader.validationMode
                enabled: applicationUpdater.isIdle && firmwareUpdater.isIdle
                onClicked: {
                    applicationUpdater.clearCache();
                    firmwareUpdater.clearCache();
                }
            }
        }

        Text {
            id: warning
            objectName: "firmwareWarning"
            anchors.left: parent.left
            anchors.right: parent.right
            anchors.top: heading.bottom
            anchors.topMargin: rootQML.dpY(Theme.spacing)
            visible: firmwareStrip.progressShown
            text: "Please do not disconnect or change any device settings until firmware " +
                  "update is complete."
            color: Theme.stateWarning
            font.pixelSize: rootQML.dpY(Theme.fontBody)
            wrapMode: Text.WordWrap
        }

        Flickable {
            anchors.left: parent.left
            anchors.right: parent.right
            anchors.top: warning.visible ? warning.bottom : heading.bottom
            anchors.bottom: parent.bottom
            anchors.topMargin: rootQML.dpY(Theme.margin)
            contentHeight: strips.height
            clip: true

            Grid {
                id: strips
                width: parent.width
                columns: 2
                spacing: rootQML.dpX(Theme.margin)

                readonly property real stripWidth: (width - spacing) / 2

                ApplicationStrip {
                    width: strips.stripWidth
                    utilities: rootUtilities
                }

                CustomFirmwareStrip {
                    id: firmwareStrip
                    width: strips.stripWidth
                    utilities: rootUtilities
                }

                // Only a device with the card has its variables.
                Loader {
                    width: strips.stripWidth
                    active: rootQML.strDeviceType === "Dante"
                    visible: active
                    sourceComponent: DanteStrip {}
                }

                Loader {
                    width: strips.stripWidth
                    active: rootQML.strDeviceType === "OrvelLink"
                    visible: active
                    sourceComponent: OrvelLinkStrip {}
                }
            }
        }
    }

    QX8CustomDialog {
        id: messageDialog
        objectName: "utilitiesDialog"

        property string nickName: ""

        onAccepted: rootUtilities.dialogAccepted()
        onRejected: rootUtilities.dialogRejected()
    }
}
