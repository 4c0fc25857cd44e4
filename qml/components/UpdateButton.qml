import QtQuick 2.15
import QtQuick.Controls 2.15

// The update button of a Utilities strip: grey with dark text while it offers a check, green with
// light text while a download or an installation waits. The strips set its text as the updater's
// state changes. Tab reaches it, a click leaves the focus where it was; focused, Space or Enter
// presses it.
Button {
    id: button

    property bool offersAction: false

    focusPolicy: Qt.TabFocus
    Keys.onReturnPressed: clicked()
    Keys.onEnterPressed: clicked()
    Accessible.name: text

    function offerCheck(label) {
        text = label;
        offersAction = false;
    }

    function offerAction(label) {
        text = label;
        offersAction = true;
    }

    contentItem: Text {
        text: button.text
        color: button.offersAction ? Theme.text : Theme.textOnLight
        opacity: button.enabled ? 1 : 0.5
        font.pixelSize: rootQML.dpY(Theme.fontBody)
        horizontalAlignment: Text.AlignHCenter
        verticalAlignment: Text.AlignVCenter
        elide: Text.ElideRight
    }

    background: Rectangle {
        implicitWidth: rootQML.dpX(180)
        implicitHeight: rootQML.dpY(36)
        radius: Theme.radius
        color: button.offersAction ? Theme.updateAction
                                   : button.down || button.checked ? Theme.updateIdlePressed
                                                                   : Theme.updateIdle
    }

    FocusFrame {}
}
