import QtQuick 2.15
import QX8Settings 1.0
import ButtonImageResolver 1.0
import DeviceModelProvider 1.0

// The alignment delays of the output band groups, each in milliseconds, feet and metres with its
// on/off; the group the user came for (High, Mid or Low) is ringed. Groups the home screen hides
// (the crossover has fewer bands) are left out, and the heading tells the crossover's bands. A
// delay that a block of the configurable home screen opened is shown alone. Below them, their
// timeline.
ScreenPage {
    id: page
    objectName: "delayPage"
    currentScreen: "Delay"
    shownObjects: opened.objectsOr(DeviceModelProvider.objects("ScreenDelay.qml", "")
                                   .filter(groupVisible))
    title: resolver.buttonText("out:DLY").toUpperCase()

    readonly property string chosenGroup: String(settings.value("Data/DelayType", ""))

    // "HighDelay" belongs to the High group, shown unless the home screen hid it.
    function groupOf(object) {
        return object.replace("Delay", "")
    }
    function groupVisible(object) {
        return fixedBands.groupShown(groupOf(object))
    }

    QX8Settings {
        id: settings
    }
    CrossoverBands {
        id: fixedBands
    }
    ConfiguredObject {
        id: opened
        blockTypes: ["DLY"]
    }
    ButtonImageResolver {
        id: resolver
    }

    CustomHeading {
        id: heading
        anchors.left: parent.left
        anchors.right: parent.right
        text: page.title

        Text {
            objectName: "crossoverBands"
            anchors.verticalCenter: parent.verticalCenter
            visible: opened.name === "" && fixedBands.known
            text: fixedBands.summaryOf(fixedBands.ways, fixedBands.subs)
            color: Theme.textDim
            font.pixelSize: Theme.dpY(Theme.fontBody)
        }
    }

    DelayStrips {
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: heading.bottom
        anchors.bottom: parent.bottom
        anchors.topMargin: Theme.dpY(Theme.margin)
        objects: page.availableObjects
        ringedObjects: page.availableObjects.filter(function(object) {
            return page.groupOf(object) === page.chosenGroup
        })
        switchVariableName: resolver.toggleSVName("DLY")
    }
}
