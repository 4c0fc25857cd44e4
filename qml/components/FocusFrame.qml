import QtQuick 2.15

// The ring round a control that has the keyboard focus, shown only when the focus came from the
// keyboard (Tab, Shift+Tab, an arrow key): a click leaves no ring behind. `inset` draws it
// inside the control's edge, where a clipping list would cut it off outside.
Rectangle {
    property Item control: parent
    property bool shown: control.visualFocus
    property bool inset: false
    readonly property real outset: inset ? 0 : Theme.focusFrameWidth + Theme.focusFrameGap

    anchors.fill: control
    anchors.margins: -outset
    visible: shown && control.enabled
    color: "transparent"
    border.color: Theme.focusFrame
    border.width: Theme.focusFrameWidth
    radius: Theme.radius + outset
    z: 1
}
