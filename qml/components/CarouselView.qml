import QtQuick 2.15

// Pages side by side, one in view: arrows at both ends and a dot per page below; a page can also
// be swiped. `model` and `delegate` as for a ListView; each page fills the view.
Item {
    id: root

    property alias model: pages.model
    property alias delegate: pages.delegate
    property alias currentIndex: pages.currentIndex
    readonly property int count: pages.count

    implicitHeight: Theme.dpY(240)

    ListView {
        id: pages
        anchors.left: back.right
        anchors.right: forward.left
        anchors.top: parent.top
        anchors.bottom: dots.top
        anchors.margins: Theme.dpX(Theme.spacingSmall)
        orientation: ListView.Horizontal
        snapMode: ListView.SnapOneItem
        highlightRangeMode: ListView.StrictlyEnforceRange
        highlightMoveDuration: 200
        boundsBehavior: Flickable.StopAtBounds
        clip: true
    }

    CustomButton {
        id: back
        anchors.left: parent.left
        anchors.verticalCenter: pages.verticalCenter
        text: "\u25c0"
        enabled: pages.currentIndex > 0
        onClicked: pages.decrementCurrentIndex()
    }

    CustomButton {
        id: forward
        anchors.right: parent.right
        anchors.verticalCenter: pages.verticalCenter
        text: "\u25b6"
        enabled: pages.currentIndex < pages.count - 1
        onClicked: pages.incrementCurrentIndex()
    }

    Row {
        id: dots
        anchors.horizontalCenter: parent.horizontalCenter
        anchors.bottom: parent.bottom
        spacing: Theme.dpX(Theme.spacing)
        height: Theme.dpY(12)

        Repeater {
            model: pages.count
            Rectangle {
                width: Theme.dpY(8)
                height: width
                radius: width / 2
                color: index === pages.currentIndex ? Theme.text : Theme.border
            }
        }
    }
}
