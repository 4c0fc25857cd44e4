import QtQuick 2.15
import QtQuick.Controls 2.15 as T
import "ConfigGrid.js" as ConfigGrid

// The configuration panel beside the grid in configuration mode: for the selected cell what it
// may be changed to (input routing, mixer type, crossover type with its loudspeakers, output
// names, or the blocks it may hold and the rows it covers), copy and paste of its settings, and
// apply or discard of the changes with the device's progress while it rebuilds. Every edit goes
// to the home-screen model; refusals and failures show in the panel's last line. A name being
// typed counts as a change: Apply and Discard take it in first, and a name refused leaves
// nothing to apply, so Apply is grey again before its click would act.
Rectangle {
    id: root

    property var configModel: null
    property var selection: null // {grid, column, row, span, cell}
    property bool canCopy: false
    property bool canPaste: false
    property string message
    readonly property string kind: selection ? ConfigGrid.editorKind(selection.grid,
                                                                      selection.column) : ""
    readonly property int builderColumn: selection ? ConfigGrid.builderColumn(selection.grid,
                                                                              selection.column) : -1
    readonly property bool applying: viewLoader.appBusyPreventClose
    readonly property bool pending: (configModel ? configModel.enCfgApply : false)
                                    || (editor.item !== null && editor.item.nameTyped === true)
    readonly property real progress: Math.max(0, Math.min(1, Number(tsvProgress.value) || 0))

    signal copyRequested()
    signal pasteRequested()
    signal closeRequested()

    color: Theme.panel
    radius: Theme.radius
    border.color: Theme.border

    Connections {
        target: root.configModel
        function onEditRefused(reason) {
            root.message = "Not changed: " + reason
        }
        function onApplyFailed(reason) {
            root.message = reason
        }
    }

    Column {
        id: header
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: parent.top
        anchors.margins: Theme.dpX(Theme.spacing)
        spacing: Theme.dpY(Theme.spacingSmall)

        Text {
            objectName: "overlayTitle"
            width: parent.width
            text: root.selection ? ConfigGrid.caption(root.selection.grid, root.selection.column)
                                   + (root.kind === ConfigGrid.InputRouter ? ""
                                                                            : " \u00b7 ROW " + (root.selection.row + 1))
                                 : "CONFIGURATION"
            textFormat: Text.PlainText
            elide: Text.ElideRight
            color: Theme.text
            font.pixelSize: Theme.dpY(Theme.fontValue)
            font.bold: true
        }

        Row {
            visible: root.canCopy || root.canPaste
            spacing: Theme.dpX(Theme.spacing)

            CustomButton {
                objectName: "overlayCopy"
                text: "Copy settings"
                enabled: root.canCopy && !root.applying
                onClicked: root.copyRequested()
            }
            CustomButton {
                objectName: "overlayPaste"
                text: "Paste settings"
                enabled: root.canPaste && !root.applying
                onClicked: root.pasteRequested()
            }
        }
    }

    Flickable {
        id: area
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: header.bottom
        anchors.bottom: footer.top
        anchors.margins: Theme.dpX(Theme.spacing)
        clip: true
        enabled: !root.applying
        // The lists scroll themselves; the other editors scroll here.
        readonly property bool editorIsList: root.kind === ConfigGrid.Crossover
                                             || root.kind === ConfigGrid.Mixer
        interactive: !editorIsList
        contentHeight: editor.item ? editor.item.height : 0
        boundsBehavior: Flickable.StopAtBounds
        readonly property bool overflows: interactive && contentHeight > height

        T.ScrollBar.vertical: ScrollBar {
            policy: area.overflows ? T.ScrollBar.AlwaysOn : T.ScrollBar.AlwaysOff
        }

        Loader {
            id: editor
            // Clear of the scroll bar when there is one.
            width: area.width - (area.overflows ? Theme.dpX(Theme.spacing + 2) : 0)
            height: area.editorIsList ? area.height : (item ? item.implicitHeight : 0)
            sourceComponent: {
                switch (root.kind) {
                case ConfigGrid.InputRouter:
                    return routerEditor
                case ConfigGrid.Mixer:
                    return mixerEditor
                case ConfigGrid.Crossover:
                    return crossoverEditor
                case ConfigGrid.Output:
                    return outputEditor
                case ConfigGrid.Insert:
                    return insertEditor
                default:
                    return hint
                }
            }
        }
    }

    Component {
        id: hint
        Text {
            text: "Select a block of the chain to change it."
            textFormat: Text.PlainText
            wrapMode: Text.WordWrap
            color: Theme.textDim
            font.pixelSize: Theme.dpY(Theme.fontBody)
        }
    }

    Component {
        id: routerEditor
        InputRouterConfigListView {
            configModel: root.configModel
        }
    }

    Component {
        id: mixerEditor
        InputMIXConfigListView {
            configModel: root.configModel
            builderColumn: root.builderColumn
            row: root.selection.row
        }
    }

    Component {
        id: crossoverEditor
        CrossOverConfigListView {
            objectName: "crossoverList"
            configModel: root.configModel
            row: root.selection.row
        }
    }

    Component {
        id: outputEditor
        OutputConfigListView {
            configModel: root.configModel
            row: root.selection.row
            onRefusalChanged: if (refusal !== "") root.message = refusal
        }
    }

    Component {
        id: insertEditor
        LinkInsertDialog {
            configModel: root.configModel
            builderColumn: root.builderColumn
            row: root.selection.row
            span: root.selection.span
        }
    }

    Column {
        id: footer
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        anchors.margins: Theme.dpX(Theme.spacing)
        spacing: Theme.dpY(Theme.spacing)

        Text {
            objectName: "overlayMessage"
            width: parent.width
            visible: text !== ""
            text: root.applying ? "Applying the configuration\u2026 "
                                  + Math.round(root.progress * 100) + " %"
                                : root.message
            textFormat: Text.PlainText
            wrapMode: Text.WordWrap
            maximumLineCount: 3
            elide: Text.ElideRight
            color: root.applying ? Theme.text : Theme.stateAlert
            font.pixelSize: Theme.dpY(Theme.fontLabel)
        }

        Rectangle {
            width: parent.width
            height: Theme.dpY(6)
            visible: root.applying
            radius: height / 2
            color: Theme.raised

            Rectangle {
                objectName: "applyProgress"
                width: parent.width * root.progress
                height: parent.height
                radius: parent.radius
                color: Theme.stateOn
            }
        }

        Row {
            spacing: Theme.dpX(Theme.spacing)

            CustomButton {
                objectName: "applyButton"
                text: "Apply"
                look: CustomButton.Main
                enabled: root.pending && !root.applying
                toolTipText: "Send the changed configuration to the device"
                onClicked: {
                    root.message = ""
                    root.configModel.applyAllChanges()
                }
            }
            CustomButton {
                objectName: "discardButton"
                text: "Discard"
                enabled: root.pending && !root.applying
                toolTipText: "Return to the device's configuration"
                onClicked: root.configModel.discardAllChanges()
            }
            CustomButton {
                objectName: "closeButton"
                text: "Close"
                enabled: !root.pending && !root.applying
                toolTipText: root.pending ? "Apply or discard the changes first" : ""
                onClicked: root.closeRequested()
            }
        }
    }
}
