import QtQuick 2.15
import QtQuick.Controls 2.15

// The common modal dialog: an optional title and warning sign, a message, an optional text field,
// an optional busy animation, and OK (the main action) and Cancel buttons. Covers its parent and swallows clicks
// behind it while shown. A message in Text.StyledText may hold links; they open in the browser.
// Its panel is made when it first opens: a page holds dialogs it may never show, and they cost it
// nothing.
Item {
    id: dialog
    anchors.fill: parent
    visible: false
    z: 100
    Accessible.role: Accessible.Dialog
    Accessible.name: title !== "" ? title
                                  : messageFormat === Text.PlainText ? message
                                                                     : message.replace(/<[^>]*>/g, "")

    property string title: ""
    property string message: ""
    property int messageFormat: Text.PlainText
    property bool showWarning: false
    property bool showTextField: false
    property bool showBusy: false
    property bool showOk: true
    property bool showCancel: false
    property string okText: "OK"
    property string cancelText: "Cancel"
    property string inputText: ""
    readonly property bool inputAcceptable: panel.item !== null && panel.item.inputAcceptable
    property QtObject inputValidator: null
    property int inputMaximumLength: 32767
    property int inputMaskEcho: TextInput.Normal

    signal accepted()
    signal rejected()

    function open() {
        panel.active = true;
        visible = true;
        if (showTextField)
            panel.item.focusInput();
    }

    function close() {
        visible = false;
    }

    Loader {
        id: panel
        anchors.fill: parent
        active: false
        sourceComponent: Item {
            readonly property bool inputAcceptable: input.acceptableInput

            function focusInput() {
                input.forceActiveFocus();
            }

            Rectangle {
                anchors.fill: parent
                color: Theme.scrim

                MouseArea {
                    anchors.fill: parent
                    Accessible.ignored: true
                }
            }

            Rectangle {
                objectName: "dialogBox"
                width: Math.min(parent.width - 40, 460)
                height: content.implicitHeight + 2 * Theme.margin
                anchors.centerIn: parent
                color: Theme.raised
                border.color: Theme.border
                radius: Theme.radius

                Column {
                    id: content
                    anchors.fill: parent
                    anchors.margins: Theme.margin
                    spacing: Theme.margin

                    Text {
                        objectName: "dialogWarning"
                        anchors.horizontalCenter: parent.horizontalCenter
                        visible: dialog.showWarning
                        text: "\u26A0"
                        color: Theme.stateWarning
                        font.pixelSize: Theme.fontHeading
                    }

                    Text {
                        objectName: "dialogTitle"
                        width: parent.width
                        visible: dialog.title !== ""
                        text: dialog.title
                        textFormat: Text.PlainText
                        color: Theme.text
                        font.pixelSize: Theme.fontValue
                        font.bold: true
                        wrapMode: Text.WordWrap
                        horizontalAlignment: Text.AlignHCenter
                    }

                    Text {
                        objectName: "dialogMessage"
                        width: parent.width
                        text: dialog.message
                        textFormat: dialog.messageFormat
                        linkColor: Theme.stateOn
                        onLinkActivated: Qt.openUrlExternally(link)
                        color: Theme.text
                        font.pixelSize: Theme.fontValue
                        wrapMode: Text.WordWrap
                        horizontalAlignment: Text.AlignHCenter
                    }

                    ActivityIndicator {
                        objectName: "dialogBusy"
                        anchors.horizontalCenter: parent.horizontalCenter
                        visible: dialog.showBusy && dialog.visible
                    }

                    TextField {
                        id: input
                        objectName: "dialogTextField"
                        width: parent.width
                        visible: dialog.showTextField
                        selectByMouse: true
                        text: dialog.inputText
                        validator: dialog.inputValidator
                        maximumLength: dialog.inputMaximumLength
                        echoMode: dialog.inputMaskEcho
                        color: Theme.text
                        selectionColor: Theme.selectedFill
                        font.pixelSize: Theme.fontValue
                        background: Rectangle {
                            implicitHeight: Theme.dpY(Theme.controlHeight + Theme.spacing)
                            radius: Theme.radius
                            color: Theme.panel
                            border.color: input.activeFocus ? Theme.text : Theme.border
                        }
                        onTextChanged: dialog.inputText = text
                        // The question the field answers.
                        Accessible.name: dialog.message !== "" ? dialog.message : dialog.title
                        onAccepted: okButton.clicked()
                    }

                    Row {
                        anchors.horizontalCenter: parent.horizontalCenter
                        spacing: Theme.margin

                        CustomButton {
                            id: okButton
                            objectName: "dialogOkButton"
                            visible: dialog.showOk
                            width: Math.max(implicitWidth, Theme.dpX(96))
                            look: CustomButton.Main
                            fontSize: Theme.fontBody
                            text: dialog.okText
                            onClicked: {
                                dialog.close();
                                dialog.accepted();
                            }
                        }

                        CustomButton {
                            objectName: "dialogCancelButton"
                            visible: dialog.showCancel
                            width: Math.max(implicitWidth, Theme.dpX(96))
                            fontSize: Theme.fontBody
                            text: dialog.cancelText
                            onClicked: {
                                dialog.close();
                                dialog.rejected();
                            }
                        }
                    }
                }
            }
        }
    }
}
