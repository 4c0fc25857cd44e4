import QtQuick 2.15
import "ConfigGrid.js" as ConfigGrid

// One cell of the configurable home screen: a processing object of the device configuration
// (its icon, dimmed while the device reports it off, and its caption from the button image
// tables; outputs show their names, routers their route, crossovers their type) or an empty
// slot. A cell covers as many rows as its object spans. In configuration mode the selected cell
// is filled and an empty slot offers itself for an insert; outside it, an object with settings
// of its own offers them for copy and paste on press and hold, and `openPage` asks for the
// object's page as the fixed chain's blocks do. An output shows the clip light of the limiter
// that feeds it (`limiterName`, none when empty).
Item {
    id: root

    property var cell: ({})
    property string stage
    property var resolver
    property bool selected: false
    property bool editing: false
    property string limiterName
    // Where the cell stands, which a screen reader says before its block's caption.
    property string place
    readonly property string poName: cell.name || ""
    readonly property bool empty: poName === "" || poName === "EMPTY"
    readonly property string className: cell.className || ""
    // An object the device keeps settings of: it has an on/off variable.
    readonly property bool hasSettings: !empty && resolver.toggleSVName(cell.info || "") !== ""
    readonly property string captionText: {
        if (className === "yoxlKalo480Output")
            return resolver.outputName(cell.data || "")
        if (className === "yoxlKalo480FixedRouter")
            return resolver.routerName(cell.data || "")
        if (cell.XOverType !== undefined)
            return cell.XOverType + "\nXOVER"
        if (className === "yoxlKalo480InputRouter")
            return "Inputs"
        return ""
    }

    signal clicked()
    signal pressAndHold()

    function openPage() {
        if (block.item)
            block.item.openPage()
    }

    CustomButton {
        anchors.fill: parent
        visible: root.empty
        enabled: root.editing
        text: root.editing ? "+" : ""
        toolTipText: root.editing ? "Empty: select it to insert a block" : ""
        Accessible.name: root.place + " empty"
        background: Rectangle {
            radius: Theme.radius
            color: root.selected ? Theme.selectedFill : "transparent"
            border.color: Theme.border
        }
        onClicked: root.clicked()
    }

    Loader {
        id: block
        anchors.fill: parent
        active: !root.empty
        sourceComponent: ChainBlock {
            resolver: root.resolver
            blockType: root.cell.info || ""
            stage: root.stage
            processingObjectName: root.poName
            param: ConfigGrid.pageWord(root.cell.info || "")
            payload: root.poName
            objectData: root.cell.data || ""
            imageKey: switchedOff && root.resolver.imagePath(root.className + ":Off") !== ""
                      ? root.className + ":Off" : root.className
            caption: root.captionText
            place: root.place
            opensPage: false
            checked: root.selected
            toolTipText: switchedOff ? "Switched off"
                                     : !root.editing && root.hasSettings
                                       ? "Press and hold to copy or paste its settings" : ""
            onClicked: root.clicked()
            onPressAndHold: root.pressAndHold()
            // The keyboard's press and hold: the context-menu key.
            Keys.onMenuPressed: root.pressAndHold()
        }
    }

    Loader {
        anchors.left: parent.left
        anchors.top: parent.top
        anchors.margins: Theme.dpX(5)
        active: root.limiterName !== ""
        sourceComponent: QX8CustomLED {
            objectName: "clipLight"
            processingObjectName: root.limiterName
            stateVariableName: "Clip"
        }
    }
}
