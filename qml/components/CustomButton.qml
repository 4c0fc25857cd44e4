import QtQuick 2.15
import QtQuick.Controls 2.15 as T
import QtQuick.Window 2.15
import "DisplayNames.js" as DisplayNames
import "FieldEdit.js" as FieldEdit

// The house button: a raised, outlined face with its text, in one of the looks of Theme. A
// choice, checked (the selected item), is filled with its accent, brand red unless the page gives
// another (a band colour), its text dark on a light accent; a toggle, checked (on), is green with
// dark text and grey text while off; the main action of a page or dialog is filled while it may
// be taken. A state written that the device has not confirmed yet (`pending`) dims the face, its
// look kept. A tool tip shows toolTipText while the pointer rests on it. A field being edited ends
// its edit before the button acts, as if the user had left it by Tab; `editRefusal` then says why
// the field refused what it held, so that an action that must not go on past it can wait. Tab
// reaches it, a click leaves the focus where it was; focused, Space or Enter works it as a click
// does, and in a button group (an exclusive choice) the arrows move the choice to the next member.
T.Button {
    id: root

    enum Look { Choice, Toggle, Main }

    property int look: CustomButton.Choice
    property color accent: Theme.selectedFill
    property bool lightAccent: false
    property string toolTipText: ""
    property real fontSize: Theme.fontLabel
    property bool pending: false
    readonly property real faceOpacity: pending ? 0.55 : 1
    readonly property bool filled: look === CustomButton.Main ? enabled : checked
    property string editRefusal: ""

    // As wide as its text in bold, so that turning filled moves nothing beside it.
    implicitWidth: Math.max(Theme.dpX(Theme.controlHeight),
                            Math.max(implicitContentWidth, boldText.implicitWidth) + leftPadding
                            + rightPadding)
    implicitHeight: Theme.dpY(Theme.controlHeight)
    leftPadding: Theme.dpX(Theme.spacing + Theme.spacingSmall)
    rightPadding: leftPadding
    topPadding: Theme.dpY(Theme.spacingSmall)
    bottomPadding: topPadding
    hoverEnabled: true
    focusPolicy: Qt.TabFocus
    // Disabled, the whole button fades, so that its look (a selected page, say) still reads.
    opacity: enabled ? 1 : 0.45
    Accessible.name: DisplayNames.spoken(text)

    // A click takes no focus from the field. Not on the press: a field's edit may rebuild the
    // page, and a button made again between press and release would never see its click.
    onReleased: editRefusal = FieldEdit.end(Window.window)

    function fillColor() {
        switch (look) {
        case CustomButton.Toggle:
            return checked ? Theme.onFill : Theme.offFill
        case CustomButton.Main:
            return !enabled ? Theme.offFill : down ? Theme.mainPressed : Theme.mainFill
        default:
            return checked ? accent : down ? Theme.raisedSelected : Theme.raised
        }
    }
    function textColor() {
        switch (look) {
        case CustomButton.Toggle:
            return checked ? Theme.onText : Theme.offText
        case CustomButton.Main:
            return Theme.mainText
        default:
            return checked && lightAccent ? Theme.textOnLight : Theme.selectedText
        }
    }

    // What a click does, for a key: a checkable button changes its state first (a checked member
    // of an exclusive group stays checked), then the click.
    function clickByKey() {
        var group = T.ButtonGroup.group
        if (checkable && !(checked && group && group.exclusive)) {
            toggle()
            toggled()
        }
        clicked()
    }
    // What Enter does; a button that acts on the press instead of the click says otherwise.
    function pressByKey() {
        clickByKey()
    }
    // What an arrow or page key does; true when it used the key.
    function arrowKey(key) {
        return moveChoice(key)
    }
    // In a button group the arrows move the choice to the next shown and enabled member, focused
    // and clicked as a click on it would; past the ends there is nothing to move to.
    function moveChoice(key) {
        var group = T.ButtonGroup.group
        var delta = key === Qt.Key_Left || key === Qt.Key_Up ? -1
                  : key === Qt.Key_Right || key === Qt.Key_Down ? 1 : 0
        if (!group || delta === 0)
            return false
        var members = group.buttons
        var at = -1
        for (var i = 0; i < members.length; ++i) {
            if (members[i] === root)
                at = i
        }
        for (var next = at + delta; at >= 0 && next >= 0 && next < members.length; next += delta) {
            if (members[next].visible && members[next].enabled) {
                members[next].forceActiveFocus(Qt.TabFocusReason)
                members[next].pressByKey()
                break
            }
        }
        return true
    }

    contentItem: Text {
        text: root.text
        textFormat: Text.PlainText
        elide: Text.ElideRight
        horizontalAlignment: Text.AlignHCenter
        verticalAlignment: Text.AlignVCenter
        font.pixelSize: Theme.dpY(root.fontSize)
        font.bold: root.filled
        color: root.textColor()
        opacity: root.faceOpacity
    }

    Text {
        id: boldText
        visible: false
        text: root.text
        textFormat: Text.PlainText
        font.pixelSize: Theme.dpY(root.fontSize)
        font.bold: true
    }

    background: Rectangle {
        radius: Theme.radius
        color: root.fillColor()
        border.color: root.filled ? color
                                  : root.hovered && root.enabled ? Theme.textDim : Theme.border
        opacity: root.faceOpacity
    }

    Keys.onPressed: {
        if (event.key === Qt.Key_Return || event.key === Qt.Key_Enter) {
            if (!event.isAutoRepeat)
                pressByKey()
            event.accepted = true
        } else {
            event.accepted = arrowKey(event.key)
        }
    }

    FocusFrame {}

    ToolTip {
        text: root.toolTipText
        visible: root.hovered && root.toolTipText !== ""
    }
}
