import QtQuick 2.15

// A screen whose controls are still to come: its background (tinted by the application's
// modes), the menu bar and its title.
Rectangle {
    id: page
    objectName: "placeholderPage"
    color: viewLoader.validationMode ? "#1f3323" : viewLoader.offlineMode ? "#33311f" : "#262626"

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
        color: "white"
        font.pixelSize: rootQML.dpY(32)
    }
}
