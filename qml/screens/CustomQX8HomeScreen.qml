import QtQuick 2.15
import ButtonImageResolver 1.0

// The processor's fixed signal chain, every block a button to its page. Across the top the input
// stage: inputs, mixer, input delay, feedback suppression, dynamics, sub-harmonic synthesis,
// graphic EQ (one stereo block or left and right) and room EQ. Below, the crossover feeding the
// band groups the preset uses (high, mid, low), each with its EQ, limiter and delay and its
// outputs as a left/right pair or one mono line; beside them the analyser and the generator.
// What is stereo and which groups show come from the home-screen model.
Item {
    id: root

    property var model: null
    // The chain grows with the window: blocks keep their shape and fill the room there is.
    readonly property real zoom: Math.max(1, Math.min(width / Theme.dpX(992),
                                                      height / Theme.dpY(612)))
    readonly property real blockWidth: Theme.dpX(88) * zoom
    readonly property real blockHeight: Theme.dpY(84) * zoom
    readonly property bool stereoInput: model ? model.stereoInput : true
    readonly property bool dualMono: model ? model.isDualMono : false
    readonly property string mixerObject: stereoInput ? "StereoMixer" : "MonoMixer"
    readonly property var groups: visibleGroups()
    readonly property real inputGap: (width - 10 * blockWidth) / 9

    function visibleGroups() {
        if (!model)
            return []
        var shown = []
        if (model.highVisible)
            shown.push({ "word": "High", "stereo": model.stereoOutputHigh })
        if (model.midVisible)
            shown.push({ "word": "Mid", "stereo": model.stereoOutputMid })
        if (model.lowVisible)
            shown.push({ "word": "Low", "stereo": model.stereoOutputLow })
        return shown
    }

    ButtonImageResolver {
        id: imageTables
    }

    // The input stage, left to right.
    Row {
        id: inputStage
        anchors.left: parent.left
        anchors.top: parent.top

        ChainBlock {
            zoom: root.zoom
            resolver: imageTables
            blockType: "INR"
            param: "InputRouter"
            caption: "Inputs"
            processingObjectName: "InputRouter"
        }
        ChainWire {
            anchors.verticalCenter: parent.verticalCenter
            width: root.inputGap
            stereo: root.stereoInput
        }
        ChainBlock {
            zoom: root.zoom
            resolver: imageTables
            blockType: "MIX"
            payload: root.mixerObject
            processingObjectName: root.mixerObject
        }
        ChainWire {
            anchors.verticalCenter: parent.verticalCenter
            width: root.inputGap
            stereo: root.stereoInput
        }
        ChainBlock {
            zoom: root.zoom
            resolver: imageTables
            blockType: "DLY"
            param: "InputDelay"
            payload: "Input:None"
            processingObjectName: "InputDelay"
        }
        Repeater {
            model: [{ "type": "Nuq", "object": "Nuq" }, { "type": "AGC", "object": "AGC" },
                    { "type": "GAT", "object": "Gate", "image": "yoxlGate" },
                    { "type": "CMP", "object": "Compressor" },
                    { "type": "SUB", "object": "SubharmonicSynth" }]
            Row {
                ChainWire {
                    anchors.verticalCenter: parent.verticalCenter
                    width: root.inputGap
                    stereo: root.stereoInput
                }
                ChainBlock {
                    zoom: root.zoom
                    resolver: imageTables
                    blockType: modelData.type
                    imageKey: modelData.image || modelData.type
                    processingObjectName: modelData.object
                }
            }
        }
        ChainWire {
            anchors.verticalCenter: parent.verticalCenter
            width: root.inputGap
            stereo: root.stereoInput
        }
        // One stereo graphic EQ, or a left and a right one.
        Column {
            spacing: Theme.dpY(4)
            // A count, not a list: the model's repeated announcements of the same layout then
            // leave the blocks (and their subscriptions) alone.
            Repeater {
                model: root.dualMono ? 2 : 1
                ChainBlock {
                    readonly property string geqObject: root.dualMono
                                                        ? (index === 0 ? "LeftGEQ" : "RightGEQ")
                                                        : "StereoGEQ"
                    zoom: root.zoom
                    width: root.blockWidth
                    height: root.dualMono ? (root.blockHeight - Theme.dpY(4)) / 2 : root.blockHeight
                    resolver: imageTables
                    blockType: "GEQ"
                    imageKey: root.dualMono ? "" : "GEQ"
                    caption: root.dualMono ? (index === 0 ? "Left GEQ" : "Right GEQ") : ""
                    payload: geqObject
                    processingObjectName: geqObject
                }
            }
        }
        ChainWire {
            anchors.verticalCenter: parent.verticalCenter
            width: root.inputGap
            stereo: root.stereoInput
        }
        ChainBlock {
            id: roomEq
            zoom: root.zoom
            resolver: imageTables
            blockType: "AEQ"
            stage: "mid"
            processingObjectName: "RoomEQ"
        }
    }

    // From the room EQ down and back to the crossover at the start of the second row.
    ChainWire {
        id: drop
        x: inputStage.width - root.blockWidth / 2 - width / 2
        y: inputStage.height
        height: Theme.dpY(Theme.margin) * root.zoom
        vertical: true
        stereo: root.stereoInput
    }
    ChainWire {
        id: back
        x: root.blockWidth / 2
        y: drop.y + drop.height - height / 2
        width: drop.x + drop.width / 2 - x
        stereo: root.stereoInput
    }
    ChainWire {
        x: root.blockWidth / 2 - width / 2
        y: back.y + back.height / 2
        height: crossover.y - y
        vertical: true
        stereo: root.stereoInput
    }

    ChainBlock {
        id: crossover
        zoom: root.zoom
        anchors.left: parent.left
        anchors.top: inputStage.bottom
        anchors.topMargin: Theme.dpY(Theme.margin * 3) * root.zoom
        height: Math.max(root.blockHeight, groupColumn.height)
        resolver: imageTables
        blockType: "Crossover"
        imageKey: "XOV"
        caption: imageTables.buttonText("out:SpandrellCrossover")
        payload: "Low"
        processingObjectName: "Crossover"
        // Its page reads the bands the model leaves in the settings once it knows them.
        enabled: root.groups.length > 0
    }

    Text {
        anchors.left: crossover.right
        anchors.leftMargin: Theme.dpX(Theme.margin * 2)
        anchors.verticalCenter: crossover.verticalCenter
        visible: root.groups.length === 0
        text: "Waiting for the device's crossover bands\u2026"
        color: Theme.textDim
        font.pixelSize: Theme.dpY(Theme.fontBody)
    }

    // The band groups, each from the crossover to its outputs.
    Column {
        id: groupColumn
        anchors.left: crossover.right
        anchors.top: crossover.top
        spacing: Theme.dpY(Theme.margin) * root.zoom

        Repeater {
            model: root.groups
            Row {
                id: group
                readonly property string word: modelData.word
                readonly property bool stereo: modelData.stereo

                ChainWire {
                    anchors.verticalCenter: parent.verticalCenter
                    width: Theme.dpX(Theme.margin * 3) * root.zoom
                    stereo: group.stereo
                }
                Text {
                    anchors.verticalCenter: parent.verticalCenter
                    width: Theme.dpX(48) * root.zoom
                    text: group.word.toUpperCase()
                    color: Theme.textDim
                    font.pixelSize: Theme.dpY(Theme.fontSmall)
                    font.bold: true
                    horizontalAlignment: Text.AlignHCenter
                }
                ChainWire {
                    anchors.verticalCenter: parent.verticalCenter
                    width: Theme.dpX(Theme.margin) * root.zoom
                    stereo: group.stereo
                }
                ChainBlock {
                    zoom: root.zoom
                    resolver: imageTables
                    blockType: "PEQ"
                    place: group.word.toUpperCase()
                    stage: "out"
                    payload: group.word
                    processingObjectName: group.word + "PEQ"
                }
                ChainWire {
                    anchors.verticalCenter: parent.verticalCenter
                    width: Theme.dpX(Theme.margin * 2) * root.zoom
                    stereo: group.stereo
                }
                ChainBlock {
                    zoom: root.zoom
                    resolver: imageTables
                    blockType: "LMT"
                    place: group.word.toUpperCase()
                    stage: "out"
                    payload: group.word
                    processingObjectName: group.word + "Limiter"
                }
                ChainWire {
                    anchors.verticalCenter: parent.verticalCenter
                    width: Theme.dpX(Theme.margin * 2) * root.zoom
                    stereo: group.stereo
                }
                ChainBlock {
                    zoom: root.zoom
                    resolver: imageTables
                    blockType: "DLY"
                    param: "Delay"
                    place: group.word.toUpperCase()
                    stage: "out"
                    payload: group.word
                    processingObjectName: group.word + "Delay"
                }
                ChainWire {
                    anchors.verticalCenter: parent.verticalCenter
                    width: Theme.dpX(Theme.margin * 3) * root.zoom
                    stereo: group.stereo
                    labels: group.stereo ? ["L", "R"] : ["M"]
                }
            }
        }
    }

    // The analyser and the signal generator stand beside the chain.
    Column {
        anchors.right: parent.right
        anchors.top: crossover.top
        spacing: Theme.dpY(Theme.margin) * root.zoom

        ChainBlock {
            zoom: root.zoom
            resolver: imageTables
            blockType: "RTA"
            stage: "rta"
            imageKey: "RTA"
        }
        ChainBlock {
            zoom: root.zoom
            resolver: imageTables
            blockType: "SIG"
            param: "SIGGEN"
            imageKey: ""
            caption: imageTables.buttonText("in:SIG")
        }
    }
}
