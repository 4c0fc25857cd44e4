import QtQml 2.15
import QtQuick 2.15

// Where the keyboard focus was before an overlay (a dialog, a menu, the help picture) took it,
// and the way back there when the overlay closes: the item gets it again, if still shown and
// enabled, for the reason it had come (so a focus that came by the keyboard shows its ring).
QtObject {
    property Item item: null
    property int reason: Qt.OtherFocusReason

    function remember(focused) {
        item = focused
        reason = focused && focused.focusReason !== undefined ? focused.focusReason
                                                              : Qt.OtherFocusReason
    }
    function giveBack() {
        var before = item
        item = null
        if (before && before.visible && before.enabled)
            before.forceActiveFocus(reason)
    }
}
