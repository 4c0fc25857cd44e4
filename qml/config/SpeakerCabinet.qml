import QtQuick 2.15

// A loudspeaker cabinet drawn from its drivers: `drivers` stacked from the smallest (the highs)
// at the top to the largest at the bottom; a sub cabinet is wider and holds one large cone.
Rectangle {
    id: root

    property int drivers: 1
    property bool sub: false
    readonly property real coneSpace: (height - Theme.dpY(Theme.spacingSmall)) / drivers

    implicitWidth: Theme.dpX(sub ? 34 : 22)
    implicitHeight: Theme.dpY(sub ? 30 : 44)
    radius: Theme.radius
    color: Theme.raised
    border.color: Theme.textDim

    Repeater {
        model: root.drivers
        Rectangle {
            // A single driver fills the cabinet; of several, each is larger than the one above.
            readonly property real share: root.drivers === 1 ? 0.8
                                                             : 0.45 + 0.4 * index / (root.drivers - 1)
            width: Math.min(root.width, root.coneSpace) * share
            height: width
            radius: width / 2
            x: (root.width - width) / 2
            y: Theme.dpY(Theme.spacingSmall) / 2 + index * root.coneSpace + (root.coneSpace - height) / 2
            color: Theme.panel
            border.color: Theme.text
            border.width: 1

            Rectangle {
                anchors.centerIn: parent
                width: parent.width / 3
                height: width
                radius: width / 2
                color: Theme.textDim
            }
        }
    }
}
