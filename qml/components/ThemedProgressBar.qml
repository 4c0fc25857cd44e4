import QtQuick 2.15
import QtQuick.Controls 2.15 as T

// The house progress bar: a slim dark track filled green as the work goes on.
T.ProgressBar {
    id: root

    from: 0
    to: 100

    background: Rectangle {
        implicitHeight: Theme.dpY(Theme.spacing)
        color: Theme.progressTrack
        radius: Theme.radius
    }
    contentItem: Item {
        Rectangle {
            width: root.visualPosition * parent.width
            height: parent.height
            color: Theme.progressFill
            radius: Theme.radius
        }
    }
}
