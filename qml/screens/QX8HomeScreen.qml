import QtQuick 2.15
import QX8HomeScreenModel 1.0

// The home screen: the processor's signal chain, every block a button to its page.
ScreenPage {
    id: page
    objectName: "homePage"
    currentScreen: "HomeScreen"

    QX8HomeScreenModel {
        id: chainModel
    }

    CustomHeading {
        id: heading
        anchors.left: parent.left
        anchors.right: parent.right
        text: "SIGNAL CHAIN"
    }

    CustomQX8HomeScreen {
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: heading.bottom
        anchors.bottom: parent.bottom
        anchors.topMargin: Theme.dpY(Theme.margin)
        model: chainModel
    }
}
