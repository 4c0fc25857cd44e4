import QtQuick 2.15
import ButtonImageResolver 1.0
import DeviceModelProvider 1.0
import "DisplayNames.js" as DisplayNames

// The delay of the input, in milliseconds, feet and metres, with its on/off.
ScreenPage {
    id: page
    objectName: "inputDelayPage"
    currentScreen: "InputDelay"
    shownObjects: DeviceModelProvider.objects("InputDelay.qml", "")

    ButtonImageResolver {
        id: resolver
    }

    CustomHeading {
        id: heading
        anchors.left: parent.left
        anchors.right: parent.right
        text: "INPUT DELAY"
    }

    Column {
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: heading.bottom
        anchors.topMargin: Theme.dpY(Theme.margin)
        spacing: Theme.dpY(Theme.spacing)

        Repeater {
            model: page.availableObjects
            CustomDelayStrip {
                width: parent.width
                delayName: DisplayNames.of(modelData)
                processingObjectName: modelData
                switchVariableName: resolver.toggleSVName("DLY")
                selected: true
            }
        }
    }
}
