import QtQuick 2.15
import QtQuick.Controls 2.15 as T
import CrossoverBandInfoProvider 1.0
import DeviceModelProvider 1.0

// The crossover: each band's response with handles at its high-pass and low-pass frequencies,
// the band selector, and the selected band's filter types and frequencies, gain, phase and
// polarity. Which crossover: the one a block of the configurable home screen opened, whose bands
// and their names the configuration gives, or else the fixed chain's, whose bands the home
// screen found on the device; its band buttons are named after the groups they feed (High, Mid,
// Low), a band that feeds none after its number.
ScreenPage {
    id: page
    objectName: "crossoverPage"
    currentScreen: "Crossover"
    shownObjects: opened.objectsOr(DeviceModelProvider.objects("CrossOver.qml", ""))
    title: "CROSSOVER"

    readonly property string crossover: shownObjects.length > 0 ? shownObjects[0] : ""
    readonly property bool configured: opened.name !== ""
    readonly property var configuredBands: configured ? bandsOf(opened.attributes()) : null
    readonly property bool layoutKnown: configured || fixedBands.known
    readonly property int waysCount: Math.max(1, Math.round(configured ? configuredBands.ways
                                                                        : fixedBands.ways))
    readonly property int subsCount: configured ? configuredBands.subs : fixedBands.subs
    readonly property int bandCount: waysCount + subsCount
    readonly property var bandNames: namesOf(bandCount)
    property int currentBand: 0

    // The bands of a configured crossover: its ways, and one sub band for its subs.
    function bandsOf(attributes) {
        var subs = (attributes.NumSubCabinets || 0) + (attributes.MonoSub || 0)
        return { "ways": attributes.NumBands || 1, "subs": subs > 0 ? 1 : 0 }
    }
    function bandPrefix(band) {
        return band < waysCount ? "Band_" + (band + 1) + "_" : "MonoSub_"
    }
    // The names the configuration or the groups give the bands, else their numbers (the mono
    // sub: "SUB").
    function namesOf(count) {
        var groups = configured ? [] : fixedBands.groupsOfBands(waysCount, subsCount)
        var names = []
        for (var band = 0; band < count; ++band) {
            var given = configured ? bandInfo.getBandName(band + 1)
                                   : (groups[band] || "").toUpperCase()
            names.push(given !== "Band" && given !== "" ? given
                       : band >= waysCount ? "SUB" : "BAND " + (band + 1))
        }
        return names
    }
    function bandName(band) {
        return band < bandNames.length ? bandNames[band] : ""
    }
    function bandColors() {
        var colors = []
        for (var band = 0; band < Math.max(3, bandCount); ++band)
            colors.push(Theme.bandColors[band % Theme.bandColors.length])
        return colors
    }

    CrossoverBandInfoProvider {
        id: bandInfo
    }
    ConfiguredObject {
        id: opened
        classNames: ["Kalo480Crossover", "SpandrellCrossover"]
    }

    CrossoverBands {
        id: fixedBands
    }

    CustomHeading {
        id: heading
        anchors.left: parent.left
        anchors.right: parent.right
        text: page.title

        Text {
            objectName: "crossoverBands"
            anchors.verticalCenter: parent.verticalCenter
            text: page.layoutKnown ? fixedBands.summaryOf(page.waysCount, page.subsCount)
                                   : "Bands not known: open the home screen first"
            color: Theme.textDim
            font.pixelSize: Theme.dpY(Theme.fontBody)
        }
    }

    // Made once the band layout is known: the graph binds its bands when it completes.
    Loader {
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: heading.bottom
        anchors.bottom: parent.bottom
        anchors.topMargin: Theme.dpY(Theme.spacing)
        active: page.layoutKnown && page.availableObjects.length > 0
        sourceComponent: Item {
            QX8GraphCrossover {
                id: graph
                anchors.left: parent.left
                anchors.right: parent.right
                anchors.top: parent.top
                anchors.bottom: bandRow.top
                anchors.bottomMargin: Theme.dpY(Theme.spacing)
                poName: page.crossover
                waysCount: page.waysCount
                subsCount: page.subsCount
                bandColors: page.bandColors()
                onCurrentBandIndexChanged: page.currentBand = currentBandIndex
            }
            // A pick on the band row moves the graph's selection too (a handle's press sets it
            // there itself).
            Binding {
                target: graph
                property: "currentBandIndex"
                value: page.currentBand
            }

            Row {
                id: bandRow
                anchors.left: parent.left
                anchors.bottom: cells.top
                anchors.bottomMargin: Theme.dpY(Theme.spacing)
                spacing: Theme.dpX(Theme.spacingSmall)

                // Only the arrows' way along the bands: the page says which is chosen.
                T.ButtonGroup {
                    id: bandButtons
                    exclusive: false
                }

                Repeater {
                    model: page.bandCount
                    CustomButton {
                        objectName: "band_" + (index + 1)
                        T.ButtonGroup.group: bandButtons
                        width: Math.max(Theme.dpX(96), implicitWidth)
                        text: page.bandName(index)
                        accent: graph.colorOf(index)
                        lightAccent: true
                        checked: index === page.currentBand
                        onClicked: page.currentBand = index
                    }
                }
            }

            // The selected band's cells, made anew for each band.
            Item {
                id: cells
                anchors.left: parent.left
                anchors.right: parent.right
                anchors.bottom: parent.bottom
                height: 2 * Theme.dpY(76) + Theme.dpY(Theme.spacing)

                Repeater {
                    model: [page.currentBand]
                    Grid {
                        id: grid
                        readonly property string prefix: page.bandPrefix(modelData)
                        readonly property real cellWidth: (cells.width - 3 * columnSpacing) / 4
                        columns: 4
                        columnSpacing: Theme.dpX(Theme.spacing)
                        rowSpacing: Theme.dpY(Theme.spacing)

                        Repeater {
                            model: [{ "label": "High-pass type", "variable": "HPType" },
                                    { "label": "High-pass", "variable": "HPFrequency" },
                                    { "label": "Low-pass type", "variable": "LPType" },
                                    { "label": "Low-pass", "variable": "LPFrequency" },
                                    { "label": "Gain", "variable": "Gain" },
                                    { "label": "Phase", "variable": "Phase" },
                                    { "label": "Polarity", "variable": "Polarity" }]
                            CustomLabelValuePair {
                                width: grid.cellWidth
                                label: page.bandName(page.currentBand) + "  " + modelData.label
                                processingObjectName: page.crossover
                                stateVariableName: grid.prefix + modelData.variable
                            }
                        }
                    }
                }
            }
        }
    }
}
