import QtQuick 2.15
import QtQuick.Controls 2.15 as T

// The house list: clipped, stops at its ends, with the house scroll bar while it has more rows
// than it shows.
ListView {
    id: root

    clip: true
    boundsBehavior: Flickable.StopAtBounds
    spacing: Theme.dpY(2)

    T.ScrollBar.vertical: ScrollBar {
        policy: root.contentHeight > root.height ? T.ScrollBar.AlwaysOn : T.ScrollBar.AlwaysOff
    }
}
