import QtQuick 2.15
import ButtonImageResolver 1.0
import DeviceModelProvider 1.0

// The delay of the input, in milliseconds, feet and metres, with its on/off, and its timeline.
ScreenPage {
    id: page
    objectName: "inputDelayPage"
    currentScreen: "InputDelay"
    shownObjects: DeviceModelProvider.objects("InputDelay.qml", "")
    title: "INPUT DELAY"

    ButtonImageResolver {
        id: resolver
    }

    CustomHeading {
        id: heading
        anchors.left: parent.left
        anchors.right: parent.right
        text: page.title
    }

    DelayStrips {
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: heading.bottom
        anchors.bottom: parent.bottom
        anchors.topMargin: Theme.dpY(Theme.margin)
        objects: page.availableObjects
        ringedObjects: page.availableObjects
        switchVariableName: resolver.toggleSVName("DLY")
    }
}
