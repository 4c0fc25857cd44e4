import QtQuick 2.15
import DeviceModelProvider 1.0
import "DisplayNames.js" as DisplayNames

// The real-time analyser: a bar per third-octave band, live from the device, with the source it
// listens to and its gain. Option-card sources show under the names the cards give them, which
// the page asks the device for when it opens.
ScreenPage {
    id: page
    objectName: "rtaPage"
    currentScreen: "RTA"
    shownObjects: DeviceModelProvider.objects("ScreenRTA.qml", "")
    title: "RTA"

    readonly property string analyserObject: "RTA"
    readonly property string routerObject: "RTARouter"
    readonly property var sources: DeviceModelProvider.entries(routerObject, "Source")
    property var sourceNames: namesOf(sources)

    // The last source is the option card's, whose name the home-screen model knows.
    function namesOf(entries) {
        if (entries.length === 0)
            return entries
        var names = entries.slice()
        names[names.length - 1] = hsModel.getInputRouterSourceNameForCardName(
                    entries[entries.length - 1])
        return names
    }

    InputSourceNames {}

    Connections {
        target: hsModel
        function onInputSourceNamesChanged() {
            page.sourceNames = page.namesOf(page.sources)
        }
    }

    Loader {
        width: page.body.width
        height: page.body.height
        active: page.availableObjects.length > 0
        sourceComponent: Component {
            Item {
                CustomHeading {
                    id: heading
                    anchors.left: parent.left
                    anchors.right: parent.right
                    anchors.top: parent.top
                    text: page.title

                    Text {
                        anchors.verticalCenter: parent.verticalCenter
                        text: "SOURCE"
                        color: Theme.textDim
                        font.pixelSize: Theme.dpY(Theme.fontSmall)
                    }
                    QX8ComboBox {
                        objectName: "sourceChoice"
                        implicitWidth: Theme.dpX(200)
                        processingObjectName: page.routerObject
                        stateVariableName: "Source"
                        shownNames: page.sourceNames
                        Accessible.name: DisplayNames.spokenValue("Source", displayText)
                    }
                }

                GraphRTA {
                    id: graph
                    anchors.left: parent.left
                    anchors.right: parent.right
                    anchors.top: heading.bottom
                    anchors.bottom: gain.top
                    anchors.topMargin: Theme.dpY(Theme.spacing)
                    anchors.bottomMargin: Theme.dpY(Theme.spacing)
                    poName: page.analyserObject
                }

                CustomLabelValuePair {
                    id: gain
                    anchors.left: parent.left
                    anchors.bottom: parent.bottom
                    width: Math.max(Theme.dpX(220), implicitWidth)
                    label: "Gain"
                    processingObjectName: page.analyserObject
                    stateVariableName: "Gain"
                }
                Text {
                    anchors.left: gain.right
                    anchors.right: parent.right
                    anchors.leftMargin: Theme.dpX(Theme.margin)
                    anchors.verticalCenter: gain.verticalCenter
                    horizontalAlignment: Text.AlignRight
                    text: "Third-octave bands, 20 Hz to 20 kHz"
                    elide: Text.ElideRight
                    color: Theme.textDim
                    font.pixelSize: Theme.dpY(Theme.fontSmall)
                }
            }
        }
    }
}
