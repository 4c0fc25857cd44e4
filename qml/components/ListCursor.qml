import QtQuick 2.15

// The keyboard's way into a list of rows: the whole list is one stop of Tab, placed where the
// list stands among the page's controls. Up and Down move a cursor over the rows (Page Up and Page
// Down by `pageRows`, Home and End to the ends), starting on the list's own choice (`start`);
// Space or Enter work the row under it as a click does (`activated`). The rows frame themselves
// where it stands (`isOn`), and the list brings that row into view (`moved`). A click on a row
// leaves the focus where it was.
Item {
    id: cursor

    property int count: 0
    property int index: 0
    // The row to start on when the list takes the focus; -1 keeps where the cursor was.
    property int start: -1
    property int pageRows: 10
    // Whether a row can be taken (a list may hide some, or hold some that take no click yet):
    // the cursor passes over the others, and Space or Enter leave them be.
    property var canTake: function(row) {
        return true
    }

    signal moved(int index)
    signal activated(int index)

    function isOn(row) {
        return activeFocus && row === index
    }
    // To `row`, or past rows it cannot take to the next one beyond it; with none there, to the
    // last one before it.
    function moveTo(row) {
        var target = Math.max(0, Math.min(count - 1, row))
        var ahead = target > index ? 1 : -1
        var next = target
        while (next >= 0 && next < count && !canTake(next))
            next += ahead
        if (next < 0 || next >= count) {
            next = target
            while (next !== index && !canTake(next))
                next -= ahead
        }
        if (next === index)
            return
        index = next
        moved(index)
    }

    activeFocusOnTab: count > 0
    width: 0
    height: 0

    onActiveFocusChanged: {
        if (!activeFocus)
            return
        if (start >= 0)
            index = start
        index = Math.max(0, Math.min(count - 1, index))
        moved(index)
    }

    Keys.onPressed: {
        switch (event.key) {
        case Qt.Key_Up:
            moveTo(index - 1)
            break
        case Qt.Key_Down:
            moveTo(index + 1)
            break
        case Qt.Key_PageUp:
            moveTo(index - pageRows)
            break
        case Qt.Key_PageDown:
            moveTo(index + pageRows)
            break
        case Qt.Key_Home:
            moveTo(0)
            break
        case Qt.Key_End:
            moveTo(count - 1)
            break
        case Qt.Key_Space:
        case Qt.Key_Return:
        case Qt.Key_Enter:
            if (!event.isAutoRepeat && canTake(index))
                activated(index)
            break
        default:
            event.accepted = false
        }
    }
}
