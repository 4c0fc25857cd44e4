import QtQuick 2.15

// A screen whose controls are still to come: its background (tinted by the application's
// modes), the menu bar and its title.
Rectangle {
    id: page
    objectName: "placeholderPage"
    color: viewLoader.validationMode ? Theme.backgroundValidation
                                     : viewLoader.offlineMode ? Theme.backgroundOffline : Theme.background

    property string title: ""
    property alias currentScreen: menu.currentScreen

    MenuBar {
        id: menu
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: parent.top
    }

    Text {
        objectName: "pageTitle"
        anchors.centerIn: parent
        text: page.title
        color: Theme.text
        font.pixelSize: rootQML.dpY(Theme.fontTitle)
    }
}
