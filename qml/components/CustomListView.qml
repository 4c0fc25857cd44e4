import QtQuick 2.15
import QtQuick.Controls 2.15 as T

// The house list: clipped, stops at its ends, with the house scroll bar while it has more rows
// than it shows. It keeps its `current` row in view, starting the view on a whole row: a row cut
// at the top edge reads as part of the title above the list.
ListView {
    id: root

    // The row to keep in view (a list's current choice); -1 for none.
    property int current: -1

    // Room under the last row, less than a row, so that the view's end also starts on a whole
    // row (the rows are as tall as the first).
    function endOnWholeRows() {
        var first = itemAtIndex(0)
        var overflow = contentHeight - height
        if (!first || overflow <= 0)
            return
        var pitch = first.height + spacing
        bottomMargin = Math.ceil(overflow / pitch) * pitch - overflow
    }
    function showCurrent() {
        endOnWholeRows()
        positionViewAtIndex(Math.max(0, current), ListView.Contain)
        var top = itemAt(0, contentY)
        if (!top || top.y >= contentY)
            return
        // On to the next row where the end allows (within rounding); the current row stays whole.
        var next = top.y + top.height + spacing
        if (next <= originY + contentHeight + bottomMargin - height + 1)
            contentY = next
    }

    clip: true
    boundsBehavior: Flickable.StopAtBounds
    spacing: Theme.dpY(2)

    T.ScrollBar.vertical: ScrollBar {
        policy: root.contentHeight > root.height ? T.ScrollBar.AlwaysOn : T.ScrollBar.AlwaysOff
    }

    // Until the user scrolls, the rows settling into their heights move the current one anew.
    property bool scrolledByUser: false
    function followCurrent() {
        if (!scrolledByUser)
            Qt.callLater(showCurrent)
    }

    onMovementStarted: scrolledByUser = true
    onCurrentChanged: Qt.callLater(showCurrent)
    onCountChanged: followCurrent()
    onHeightChanged: followCurrent()
    onContentHeightChanged: followCurrent()
    Component.onCompleted: Qt.callLater(showCurrent)
}
