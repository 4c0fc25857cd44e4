import QtQml 2.15
import QtQuick 2.15

// Keeps the keyboard's place on a page that builds itself again under it. An edit of the
// configurable home screen rebuilds its panel and then reloads the whole page: the control that
// held the keyboard focus is gone, and the focus would fall to nothing, so that the next Tab
// starts again at the top of the window. The control standing where the lost one stood, as many
// Tab steps from the page's start, takes the focus instead.
QtObject {
    id: keeper

    property Item page: null
    property url pageSource
    property var window: null

    // The control last focused by the keyboard, its place in the page's tab order, and the page.
    property Item held: null
    property int place: -1
    property url heldSource

    readonly property int mostSteps: 2000

    property Connections watch: Connections {
        target: keeper.window
        function onActiveFocusItemChanged() {
            keeper.follow();
        }
    }

    function follow() {
        var focused = window ? window.activeFocusItem : null;
        var at = cameByKeyboard(focused) ? placeOf(focused) : -1;
        if (at >= 0) {
            held = focused;
            place = at;
            heldSource = pageSource;
        } else if (place >= 0) {
            // Once the rebuild is over, the lost control's place is known to be empty.
            Qt.callLater(keeper.giveBackIfLost);
        }
    }

    function giveBackIfLost() {
        var focused = window ? window.activeFocusItem : null;
        var lost = !held || !held.visible || !isInside(held, page);
        var nowhere = !focused || !focused.activeFocusOnTab;
        if (lost && nowhere && pageSource === heldSource) {
            var item = itemAt(place);
            if (item)
                item.forceActiveFocus(Qt.TabFocusReason);
        } else if (!lost) {
            // The focus went elsewhere on purpose (a click, a dialog): nothing to keep.
            place = -1;
        }
    }

    // Controls tell how they got the focus; the house's other items take it by the keyboard only.
    function cameByKeyboard(item) {
        return item && item.activeFocusOnTab
               && (item.focusReason === undefined || item.focusReason === Qt.TabFocusReason
                   || item.focusReason === Qt.BacktabFocusReason);
    }

    // Tab steps from the page's start to `item`; -1 when it is not in the page's tab order.
    function placeOf(item) {
        var next = page;
        for (var step = 0; next && step < mostSteps; ++step) {
            next = next.nextItemInFocusChain(true);
            if (!next || !isInside(next, page))
                return -1;
            if (next === item)
                return step;
        }
        return -1;
    }

    function itemAt(steps) {
        var next = page;
        for (var step = 0; next && step <= steps; ++step) {
            next = next.nextItemInFocusChain(true);
            if (next && !isInside(next, page))
                return null;
        }
        return next;
    }

    function isInside(item, ancestor) {
        for (var up = item; up && ancestor; up = up.parent) {
            if (up === ancestor)
                return true;
        }
        return false;
    }
}
