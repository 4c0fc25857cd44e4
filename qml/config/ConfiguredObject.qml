import QtQuick 2.15
import ConfigDataProvider 1.0

// The processing object of the device configuration that a block of the configurable home
// screen opened the page for. The block stores the object's description in "Data/CurrentPOData"
// (read once, when the page is made); the fixed chain's blocks store none. `name` is the object's
// name when it is of a kind the page shows (its type word, ".info", among `blockTypes`, or its
// class among `classNames`), otherwise empty: the page then shows its own objects.
ConfigDataProvider {
    property var blockTypes: []
    property var classNames: []
    readonly property string name: blockTypes.indexOf(value(".info")) >= 0
                                   || classNames.indexOf(value("ClassName")) >= 0
                                   ? value("POName") : ""

    // The objects the page shows: the opened one, or else the page's own.
    function objectsOr(ownObjects) {
        return name !== "" ? [name] : ownObjects
    }

    // The object's attributes as a JavaScript object (none: an empty one).
    function attributes() {
        var text = value("Attributes")
        return text !== "" && text.charAt(0) === "{" ? JSON.parse(text) : {}
    }
}
