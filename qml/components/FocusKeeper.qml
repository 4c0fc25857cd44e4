import QtQml 2.15
import QtQuick 2.15

// Keeps the keyboard's place on a page that builds itself again under it. An edit of the
// configurable home screen rebuilds its panel and then reloads the whole page; a wizard step
// brings its own page with its own Back and Next. The control that held the keyboard focus is
// gone, and the focus would fall to nothing, so that the next Tab starts again at the top of the
// window. Its successor takes the focus instead: the control of the same name, or, for one
// without a name, the control at its place in the tab order of a page with as many stops. A page
// that builds itself as the device answers is waited for a while.
QtObject {
    id: keeper

    property Item page: null
    property url pageSource
    property var window: null

    // The control last focused by the keyboard, and what finds its successor.
    property Item held: null
    property string heldName
    property int place: -1
    property int stopCount: 0
    property url heldSource

    property Connections watch: Connections {
        target: keeper.window
        function onActiveFocusItemChanged() {
            keeper.follow();
        }
    }

    property Timer retry: Timer {
        interval: 50
        repeat: true
        property int left: 0
        onTriggered: {
            if (--left <= 0 || keeper.giveBackIfLost())
                stop();
        }
    }

    function follow() {
        var focused = window ? window.activeFocusItem : null;
        var stops = cameByKeyboard(focused) ? tabStops() : [];
        var at = stops.indexOf(focused);
        if (at >= 0) {
            retry.stop();
            held = focused;
            heldName = focused.objectName;
            place = at;
            stopCount = stops.length;
            heldSource = pageSource;
        } else if (place >= 0) {
            // Once the rebuild is over, the lost control's successor is there to be found.
            Qt.callLater(keeper.startLooking);
        }
    }

    function startLooking() {
        if (!giveBackIfLost() && place >= 0) {
            retry.left = 40;
            retry.restart();
        }
    }

    // True when there is nothing (more) to give back.
    function giveBackIfLost() {
        var focused = window ? window.activeFocusItem : null;
        if (held && held.visible && isInside(held, page)) {
            // The focus went elsewhere on purpose (a click, a dialog): nothing to keep.
            place = -1;
            return true;
        }
        if ((focused && focused.activeFocusOnTab) || pageSource !== heldSource) {
            place = -1;
            return true;
        }
        var successor = successorIn(tabStops());
        if (!successor)
            return false;
        place = -1;
        successor.forceActiveFocus(Qt.TabFocusReason);
        return true;
    }

    function successorIn(stops) {
        if (heldName !== "") {
            for (var i = 0; i < stops.length; ++i) {
                if (stops[i].objectName === heldName)
                    return stops[i];
            }
            return null;
        }
        return stops.length === stopCount ? stops[place] : null;
    }

    // Controls tell how they got the focus; the house's other items take it by the keyboard only.
    function cameByKeyboard(item) {
        return item && item.activeFocusOnTab
               && (item.focusReason === undefined || item.focusReason === Qt.TabFocusReason
                   || item.focusReason === Qt.BacktabFocusReason);
    }

    // The page's controls in tab order.
    function tabStops() {
        var stops = [];
        var first = page ? page.nextItemInFocusChain(true) : null;
        for (var next = first; next && isInside(next, page) && (stops.length === 0 || next !== first);
             next = next.nextItemInFocusChain(true))
            stops.push(next);
        return stops;
    }

    function isInside(item, ancestor) {
        for (var up = item; up && ancestor; up = up.parent) {
            if (up === ancestor)
                return true;
        }
        return false;
    }
}
