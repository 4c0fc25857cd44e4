import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Window 2.15

// The common modal dialog: an optional title and warning sign, a message, an optional text field,
// an optional busy animation, and OK (the main action) and Cancel buttons. Covers its parent and swallows clicks
// behind it while shown. A message in Text.StyledText may hold links; they open in the browser.
// Its panel is made when it first opens: a page holds dialogs it may never show, and they cost it
// nothing. Open, it holds the keyboard focus (its field's, when it has one) and gives it back to
// where it was when it closes; Enter presses OK (in the field, Enter is the field's accept),
// Escape presses Cancel, or OK when that is the only way out; Tab goes round its field and
// buttons only.
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
        if (!visible)
            focusBefore.remember(Window.activeFocusItem);
        panel.active = true;
        visible = true;
        if (showTextField)
            panel.item.focusInput();
        else
            panel.item.forceActiveFocus();
    }

    function close() {
        visible = false;
    }

    function holdsFocus() {
        for (var item = Window.activeFocusItem; item; item = item.parent) {
            if (item === dialog)
                return true;
        }
        return false;
    }

    // Only while the focus is still the dialog's: another dialog opened over it keeps its own.
    onVisibleChanged: {
        if (visible || !holdsFocus())
            return;
        var focused = Window.activeFocusItem;
        focusBefore.giveBack();
        // Hidden, it would still take the keys.
        if (holdsFocus())
            focused.focus = false;
    }

    FocusReturn {
        id: focusBefore
    }

    Loader {
        id: panel
        anchors.fill: parent
        active: false
        sourceComponent: Item {
            readonly property bool inputAcceptable: input.acceptableInput

            // What the field holds is selected: what is typed replaces it, as in any rename.
            function focusInput() {
                input.forceActiveFocus();
                input.selectAll();
            }

            KeyNavigation.tab: input
            KeyNavigation.backtab: cancelButton
            Keys.onPressed: {
                if (event.key === Qt.Key_Return || event.key === Qt.Key_Enter) {
                    if (!input.activeFocus && okButton.visible)
                        okButton.clickByKey();
                } else if (event.key === Qt.Key_Escape) {
                    if (cancelButton.visible)
                        cancelButton.clickByKey();
                    else if (okButton.visible)
                        okButton.clickByKey();
                } else {
                    return;
                }
                event.accepted = true;
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
                        KeyNavigation.tab: okButton
                        KeyNavigation.backtab: cancelButton

                        FocusFrame {
                            shown: input.activeFocus
                                   && (input.focusReason === Qt.TabFocusReason
                                       || input.focusReason === Qt.BacktabFocusReason)
                        }
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
                            KeyNavigation.tab: cancelButton
                            KeyNavigation.backtab: input
                            onClicked: {
                                dialog.close();
                                dialog.accepted();
                            }
                        }

                        CustomButton {
                            id: cancelButton
                            objectName: "dialogCancelButton"
                            KeyNavigation.tab: input
                            KeyNavigation.backtab: okButton
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
