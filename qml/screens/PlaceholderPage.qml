import QtQuick 2.15

// A screen whose controls are still to come: the frame and its title.
ScreenPage {
    id: page
    objectName: "placeholderPage"

    property string title: ""

    Text {
        objectName: "pageTitle"
        anchors.centerIn: parent
        text: page.title
        color: Theme.text
        font.pixelSize: Theme.dpY(Theme.fontTitle)
    }
}
