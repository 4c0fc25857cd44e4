import QtQuick 2.15
import ProcessingObjectList 1.0
import "DisplayNames.js" as DisplayNames

// The frame of every screen: its background (tinted by the application's modes), the menu bar,
// and the page's own content inside the margin below it. A page names the processing objects it
// shows (`shownObjects`); until the device has listed its preset's objects the content gives way
// to the page's heading (`title`) and a notice that it waits, and when the preset lacks one of
// them, to one line that says so.
Rectangle {
    id: page

    property alias currentScreen: menu.currentScreen
    property var shownObjects: []
    // The heading the page's content shows; the frame shows it while the objects are listed.
    property string title: shownObjects.length > 0 ? DisplayNames.heading(shownObjects[0]) : ""
    // The page's content waits for the device's list of the preset's objects.
    readonly property bool listing: shownObjects.length > 0
                                    && !(presetObjects.item && presetObjects.item.listed)
    readonly property string absentText: missingObject === ""
                                         ? "" : "The current preset has no "
                                                + DisplayNames.of(missingObject) + "."
    readonly property string missingObject: presetObjects.item
                                            ? firstMissing(presetObjects.item, shownObjects) : ""
    // The shown objects once the device has listed them all in its preset: what the page binds.
    // (Worked out from the list itself, never from missingObject, which may not have caught up.)
    readonly property var availableObjects: presetObjects.item && presetObjects.item.listed
                                            && firstMissing(presetObjects.item, shownObjects) === ""
                                            ? shownObjects : []
    // The objects the device's preset holds, once it has listed them (for pages that show some).
    readonly property var presetObjectNames: presetObjects.item ? presetObjects.item.names : []
    default property alias content: body.data
    readonly property alias body: body

    function firstMissing(list, objects) {
        if (!list.listed)
            return ""
        for (var i = 0; i < objects.length; ++i) {
            if (list.names.indexOf(objects[i]) < 0)
                return objects[i]
        }
        return ""
    }

    color: viewLoader.validationMode ? Theme.backgroundValidation
                                     : viewLoader.offlineMode ? Theme.backgroundOffline
                                                              : Theme.background
    Accessible.role: Accessible.Pane
    Accessible.name: title

    // A click on the page's bare ground takes the keyboard focus there, as on any desktop: a
    // field being edited loses it and ends its edit.
    MouseArea {
        anchors.fill: parent
        onPressed: page.forceActiveFocus()
        Accessible.ignored: true
    }

    // Asked only by pages that show processing objects.
    Loader {
        id: presetObjects
        active: page.shownObjects.length > 0
        sourceComponent: Component {
            ProcessingObjectList {}
        }
    }

    MenuBar {
        id: menu
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: parent.top
    }

    Item {
        id: body
        objectName: "pageBody"
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: menu.bottom
        anchors.bottom: parent.bottom
        anchors.margins: Theme.dpX(Theme.margin)
        visible: page.absentText === "" && !page.listing
    }

    // The page at once, not a blank one, while the device lists the preset (on a slow link, for
    // seconds).
    Item {
        anchors.fill: body
        visible: page.listing

        CustomHeading {
            id: listingHeading
            width: parent.width
            text: page.title
        }
        WaitingNotice {
            anchors.horizontalCenter: parent.horizontalCenter
            anchors.verticalCenter: parent.verticalCenter
            anchors.verticalCenterOffset: listingHeading.height / 2
        }
    }

    Text {
        objectName: "absentNotice"
        anchors.centerIn: body
        width: body.width
        visible: page.absentText !== ""
        text: page.absentText
        textFormat: Text.PlainText
        horizontalAlignment: Text.AlignHCenter
        elide: Text.ElideRight
        color: Theme.textDim
        font.pixelSize: Theme.dpY(Theme.fontBody)
    }
}
