import QtQuick 2.15
import QtQuick.Controls 2.15 as T
import QtQuick.Window 2.15
import ButtonImageResolver 1.0
import "ConfigGrid.js" as ConfigGrid

// The configurable home screen: the device configuration's signal chain as a grid of its
// processing objects (the home-screen model's cells). Outside configuration mode a click on a
// block opens its page, which the block tells which object it shows (the application data store
// learns the object, its channel and, for an output, its name); a block pressed and held offers
// its settings for copy and paste; each output shows the clip light of the limiter that feeds
// it. While the device reports itself busy (a configuration or preset being loaded) the blocks
// open nothing and the clip lights are off. The configuration switch (shown while the settings
// key "ExtraFeaturesReady" is "true") enters configuration mode, in which a click selects a cell
// and the overlay beside the grid changes it, applies the changes or discards them. The mode is
// the root's rootCfgMode, kept in the settings key "isConfigMode"; the selected cell is kept in
// "Data/ConfigData", so both outlast the page reloads that every edit causes.
Item {
    id: root

    property var configModel: hsModel
    property var copyPaste: editCopyPaste
    readonly property bool configMode: rootQML.rootCfgMode
    property var selection: null
    property var heldCell: null
    property string notice
    property bool deviceBusy: false
    // The limiter of each output, as the data store has them from the model's limiter list.
    property var limiters: currentLimiters()
    readonly property int outputCount: 6

    // Configuration mode: the working configuration starts from the device's.
    function enterConfigMode() {
        settings.setValue("isConfigMode", "true")
        configModel.enteringConfigMode()
        rootQML.cfgModeChangedSig(true)
    }

    function leaveConfigMode() {
        settings.setValue("isConfigMode", "false")
        rootQML.cfgModeChangedSig(false)
    }

    function currentLimiters() {
        var names = []
        for (var output = 0; output < outputCount; ++output)
            names.push(dataStore.getLimiterAt(output))
        return names
    }

    // As the fixed chain's block does, after telling the data store what was opened: the object,
    // its channel (grid word, a blank, first row and row count) and an output's name.
    function open(grid, row, span, cell, item) {
        if (deviceBusy)
            return
        dataStore.setPOName(cell.name)
        dataStore.setChannelName(grid + " " + row + span)
        dataStore.setChannelIndex(row)
        dataStore.setIsStartup("false")
        if (cell.className === "yoxlKalo480Output")
            dataStore.setOutputName(String(row + 1), item.captionText)
        item.openPage()
    }

    function select(grid, column, row, span, cell) {
        selection = { "grid": grid, "column": column, "row": row, "span": span, "cell": cell }
        settings.setValue("Data/ConfigData", ConfigGrid.selectionText(grid, column, row))
    }

    // The selection kept in the settings, found again in the redrawn grid.
    function restoreSelection() {
        var kept = ConfigGrid.parseSelection(settings.value("Data/ConfigData", ""))
        if (!kept)
            return
        var columns = kept.grid === "in" ? chain.inputColumns
                    : kept.grid === "out" ? chain.outputColumns : chain.analyserColumns
        var cells = columns[kept.column] || []
        for (var i = 0; i < cells.length; ++i) {
            if (cells[i].row === kept.row) {
                selection = { "grid": kept.grid, "column": kept.column, "row": kept.row,
                              "span": cells[i].span, "cell": cells[i].cell }
                return
            }
        }
    }

    function hasSettings(cell) {
        return cell && cell.info !== undefined && imageTables.toggleSVName(cell.info) !== ""
    }

    // Settings are held (`copy`) and were copied from an object of the cell's type and class.
    function canPaste(cell) {
        return copyPaste.copy && hasSettings(cell) && copyPaste.copiedPO() === cell.type
               && copyPaste.copiedPOClassName() === cell.className
    }

    function copyCell(cell) {
        copyPaste.copyPO(cell.name, cell.type, cell.className)
    }

    function pasteCell(cell) {
        copyPaste.pastePO(cell.name, cell.type)
    }

    function showNotice(text) {
        notice = text
        noticeTimer.restart()
    }

    Component.onCompleted: {
        dataStore.listenForBusyEvents()
        deviceBusy = dataStore.deviceBusy()
        if (configMode)
            restoreSelection()
    }

    ButtonImageResolver {
        id: imageTables
    }

    Connections {
        target: root.configModel
        // The device has taken the configuration: the grid is drawn again from it, outside
        // configuration mode (the model has left it).
        function onReconfigResponseReceived() {
            root.configModel.refreshConfig()
        }
        // Not applied: the changes stay for another try, in configuration mode.
        function onApplyFailed(reason) {
            root.enterConfigMode()
        }
        // The root has passed the list on to the data store already: it connected first.
        function onLimiterListChanged() {
            root.limiters = root.currentLimiters()
        }
    }

    Connections {
        target: dataStore
        function onDeviceBusyStateChanged(busy) {
            root.deviceBusy = busy
        }
    }

    Connections {
        target: root.copyPaste
        function onCopyChanged(copy) {
            if (copy)
                root.showNotice("Settings Copied")
        }
        function onPasteChanged(paste) {
            if (paste)
                root.showNotice("Settings Pasted")
        }
        function onError(message) {
            root.showNotice(message)
        }
    }

    Timer {
        id: noticeTimer
        interval: 1000
        onTriggered: {
            root.notice = ""
            root.copyPaste.paste = false
        }
    }

    CustomHeading {
        id: heading
        anchors.left: parent.left
        anchors.right: parent.right
        text: root.configMode ? "CONFIGURATION" : "SIGNAL CHAIN"

        Text {
            objectName: "busyNotice"
            anchors.verticalCenter: parent.verticalCenter
            visible: root.deviceBusy
            text: "The processor is busy\u2026"
            color: Theme.stateWarning
            font.pixelSize: Theme.dpY(Theme.fontBody)
        }

        CustomButton {
            objectName: "configureButton"
            visible: !root.configMode && settings.value("ExtraFeaturesReady", "false") === "true"
            text: "Configure"
            toolTipText: "Change the processor's signal chain"
            onClicked: root.enterConfigMode()
        }
    }

    CustomDynamicHomeScreen {
        id: chain
        objectName: "configGrid"
        anchors.left: parent.left
        anchors.right: root.configMode ? overlay.left : parent.right
        anchors.rightMargin: root.configMode ? Theme.dpX(Theme.margin) : 0
        anchors.top: heading.bottom
        anchors.bottom: parent.bottom
        anchors.topMargin: Theme.dpY(Theme.margin)
        model: root.configModel
        editing: root.configMode
        selection: root.selection
        limiters: root.configMode || root.deviceBusy ? [] : root.limiters

        onCellClicked: {
            if (root.configMode)
                root.select(grid, column, row, span, cell)
            else
                root.open(grid, row, span, cell, item)
        }
        onCellHeld: {
            if (root.configMode || !root.hasSettings(cell))
                return
            root.heldCell = cell
            var under = item.mapToItem(root, 0, item.height)
            copyPasteMenu.x = Math.min(under.x, root.width - copyPasteMenu.width)
            copyPasteMenu.y = Math.min(under.y, root.height - copyPasteMenu.height)
            copyPasteMenu.open()
        }
    }

    ConfigOverlay {
        id: overlay
        objectName: "configOverlay"
        visible: root.configMode
        anchors.right: parent.right
        anchors.top: heading.bottom
        anchors.bottom: parent.bottom
        anchors.topMargin: Theme.dpY(Theme.margin)
        // A third of a wide window, so that the lists keep their names whole there.
        width: Math.max(Theme.dpX(340), parent.width / 3)
        configModel: root.configModel
        selection: root.selection
        canCopy: root.selection !== null && root.hasSettings(root.selection.cell)
        canPaste: root.selection !== null && root.canPaste(root.selection.cell)
        onCopyRequested: root.copyCell(root.selection.cell)
        onPasteRequested: root.pasteCell(root.selection.cell)
        onCloseRequested: root.leaveConfigMode()
    }

    // Copy and paste of a block's settings, under the block pressed and held. Open, it holds the
    // keyboard focus (Escape closes it) and then gives it back to where it was.
    T.Popup {
        id: copyPasteMenu
        objectName: "copyPasteMenu"
        padding: Theme.dpX(Theme.spacing)
        focus: true
        onAboutToShow: focusBefore.remember(Window.activeFocusItem)
        onClosed: focusBefore.giveBack()
        FocusReturn {
            id: focusBefore
        }
        background: Rectangle {
            color: Theme.raised
            border.color: Theme.border
            radius: Theme.radius
        }
        contentItem: Row {
            spacing: Theme.dpX(Theme.spacing)

            CustomButton {
                objectName: "copyItem"
                text: "Copy"
                onClicked: {
                    copyPasteMenu.close()
                    root.copyCell(root.heldCell)
                }
            }
            CustomButton {
                objectName: "pasteItem"
                text: "Paste"
                enabled: root.heldCell !== null && root.canPaste(root.heldCell)
                onClicked: {
                    copyPasteMenu.close()
                    root.pasteCell(root.heldCell)
                }
            }
        }
    }

    Rectangle {
        objectName: "notice"
        anchors.horizontalCenter: chain.horizontalCenter
        anchors.bottom: parent.bottom
        anchors.bottomMargin: Theme.dpY(Theme.margin)
        visible: root.notice !== ""
        width: noticeText.implicitWidth + Theme.dpX(2 * Theme.margin)
        height: noticeText.implicitHeight + Theme.dpY(Theme.spacing * 2)
        radius: Theme.radius
        color: Theme.raised
        border.color: Theme.border

        Text {
            id: noticeText
            anchors.centerIn: parent
            text: root.notice
            textFormat: Text.PlainText
            color: Theme.text
            font.pixelSize: Theme.dpY(Theme.fontBody)
        }
    }
}
