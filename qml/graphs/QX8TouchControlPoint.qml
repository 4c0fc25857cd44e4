import QtQuick 2.15

// A round handle on a graph. It follows the device through its position; a drag reports the
// handle's centre in the parent's coordinates, and the page writes the values from it.
Item {
    id: root

    property int index: 0
    // What the handle reads: its band's number unless the graph names it otherwise.
    property string label: String(index + 1)
    property color color: Theme.text
    property real diameter: Theme.dpX(24)
    property bool showNumber: true
    property bool selected: false
    property bool dragging: false

    signal dragged(int index, real centreX, real centreY)
    signal pressed(int index)

    width: diameter
    height: diameter
    // A band selector to a screen reader, checked while its band is the selected one.
    Accessible.role: Accessible.Button
    Accessible.name: "Band " + label + " handle"
    Accessible.checkable: true
    Accessible.checked: selected

    // The selected handle is larger, ringed and above the others.
    scale: selected ? 1.3 : 1
    z: selected ? 1 : 0

    Rectangle {
        anchors.fill: parent
        radius: width / 2
        color: root.color
        opacity: 0.85
        border.width: root.selected ? 3 : 1
        border.color: Theme.text
    }

    Text {
        anchors.centerIn: parent
        visible: root.showNumber
        text: root.label
        color: Theme.textOnLight
        font.pixelSize: root.diameter * 0.5
    }

    // A press moves nothing; once the finger has travelled the platform's drag distance the
    // handle follows it exactly, its centre keeping the offset of the press.
    MouseArea {
        id: area
        property point grip
        anchors.fill: parent
        preventStealing: true
        onPressed: {
            grip = Qt.point(mouse.x, mouse.y)
            root.pressed(root.index)
        }
        onPositionChanged: {
            if (!root.dragging && Math.abs(mouse.x - grip.x) < Qt.styleHints.startDragDistance
                    && Math.abs(mouse.y - grip.y) < Qt.styleHints.startDragDistance)
                return
            var p = mapToItem(root.parent, mouse.x, mouse.y)
            root.dragging = true
            root.x = p.x - grip.x
            root.y = p.y - grip.y
            root.dragged(root.index, root.x + root.width / 2, root.y + root.height / 2)
        }
        onReleased: root.dragging = false
        onCanceled: root.dragging = false
    }
}
