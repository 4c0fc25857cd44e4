import QtQuick 2.15
import QtQuick.Controls 2.15 as T
import "DisplayNames.js" as DisplayNames

// A name that can be edited in place: shown as text; a click opens it for typing, Enter, Tab or
// the focus moving on confirms it (edited), Escape keeps the old name. Texts are plain and elide.
// Tab reaches the name and Space or Enter opens it; the keyboard's edit ends back on the name.
Item {
    id: root

    property string text
    property var validator: null
    property int maximumLength: 32
    property real fontSize: Theme.fontLabel
    readonly property bool editing: field.visible
    // Open with a name other than the one shown: leaving the field would change it.
    readonly property bool modified: editing && field.text !== text
    property bool editedByKeys: false
    // What the name is of, as a screen reader says it ("OUT 1 name").
    property string label

    signal edited(string text)

    implicitWidth: Theme.dpX(140)
    implicitHeight: Theme.dpY(Theme.controlHeight)
    activeFocusOnTab: !editing
    // At rest a button that opens the field, named by its label and the name shown; the field
    // open is the editable text. (An item that is no text input read as one would hold a reader
    // asking for the word at its end for good.)
    Accessible.role: Accessible.Button
    Accessible.name: DisplayNames.spokenValue(label, text)

    function startEditing() {
        field.text = root.text
        field.visible = true
        field.forceActiveFocus()
        field.selectAll()
    }

    // Hidden, the field would keep the focus and take the keys.
    function leaveField() {
        field.visible = false
        if (field.activeFocus && editedByKeys)
            root.forceActiveFocus(Qt.TabFocusReason)
        else if (field.activeFocus)
            field.focus = false
        editedByKeys = false
    }

    // The name goes out while the field is still open, so that `modified` turns false only
    // after what it changes has taken its place.
    function finishEditing() {
        if (!field.visible)
            return
        if (field.text !== root.text)
            root.edited(field.text)
        leaveField()
    }

    // Tab leaves the field as it leaves any other, even where nothing else takes the focus.
    function leave(forward) {
        var next = field.nextItemInFocusChain(forward)
        if (next && next !== field)
            next.forceActiveFocus(forward ? Qt.TabFocusReason : Qt.BacktabFocusReason)
        else
            finishEditing()
    }

    Keys.onPressed: {
        event.accepted = event.key === Qt.Key_Space || event.key === Qt.Key_Return
                         || event.key === Qt.Key_Enter
        if (!event.accepted)
            return
        editedByKeys = true
        startEditing()
    }

    FocusFrame {
        shown: root.activeFocus
    }

    Text {
        anchors.fill: parent
        visible: !field.visible
        text: root.text
        textFormat: Text.PlainText
        elide: Text.ElideRight
        verticalAlignment: Text.AlignVCenter
        font.pixelSize: Theme.dpY(root.fontSize)
        color: Theme.text

        MouseArea {
            anchors.fill: parent
            onClicked: root.startEditing()
        }
    }

    T.TextField {
        id: field
        anchors.fill: parent
        visible: false
        validator: root.validator
        maximumLength: root.maximumLength
        selectByMouse: true
        verticalAlignment: Text.AlignVCenter
        font.pixelSize: Theme.dpY(root.fontSize)
        color: Theme.text
        selectionColor: Theme.brand
        leftPadding: Theme.dpX(Theme.spacingSmall)
        Accessible.name: root.label
        background: Rectangle {
            color: Theme.raised
            border.color: Theme.textDim
            radius: Theme.radius
        }
        onAccepted: root.finishEditing()
        // The focus moving on finishes the edit; once hidden, there is nothing left to finish.
        onActiveFocusChanged: if (!activeFocus) root.finishEditing()
        Keys.onEscapePressed: root.leaveField()
        Keys.onTabPressed: root.leave(true)
        Keys.onBacktabPressed: root.leave(false)
    }
}
