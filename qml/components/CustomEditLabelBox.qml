import QtQuick 2.15
import QtQuick.Controls 2.15 as T

// A name that can be edited in place: shown as text; a click opens it for typing, Enter, Tab or
// the focus moving on confirms it (edited), Escape keeps the old name. Texts are plain and elide.
Item {
    id: root

    property string text
    property var validator: null
    property int maximumLength: 32
    property real fontSize: Theme.fontLabel
    readonly property bool editing: field.visible
    // Open with a name other than the one shown: leaving the field would change it.
    readonly property bool modified: editing && field.text !== text

    signal edited(string text)

    implicitWidth: Theme.dpX(140)
    implicitHeight: Theme.dpY(Theme.controlHeight)
    // An editable text to a screen reader, the name shown its value; the page names it.
    Accessible.role: Accessible.EditableText

    function startEditing() {
        field.text = root.text
        field.visible = true
        field.forceActiveFocus()
        field.selectAll()
    }

    // The name goes out while the field is still open, so that `modified` turns false only
    // after what it changes has taken its place.
    function finishEditing() {
        if (!field.visible)
            return
        if (field.text !== root.text)
            root.edited(field.text)
        field.visible = false
    }

    // Tab leaves the field as it leaves any other, even where nothing else takes the focus.
    function leave(forward) {
        var next = field.nextItemInFocusChain(forward)
        if (next && next !== field)
            next.forceActiveFocus()
        else
            finishEditing()
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
        Accessible.name: root.Accessible.name
        background: Rectangle {
            color: Theme.raised
            border.color: Theme.textDim
            radius: Theme.radius
        }
        onAccepted: root.finishEditing()
        // Hidden, the field loses the focus too: the edit is finished once.
        onActiveFocusChanged: if (!activeFocus) root.finishEditing()
        Keys.onEscapePressed: visible = false
        Keys.onTabPressed: root.leave(true)
        Keys.onBacktabPressed: root.leave(false)
    }
}
