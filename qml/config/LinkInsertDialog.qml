import QtQuick 2.15

// What a processing cell may hold and how many rows it covers: the rows its block processes
// together, with linking the row below into the cell or unlinking its last row, each offered
// only where the configuration allows it; and the blocks the cell may take, its own checked
// (a pick puts that block in).
Column {
    id: root

    property var configModel
    property int builderColumn
    property int row
    property int span: 1
    readonly property int choices: configModel ? configModel.poListCnt(builderColumn, row) : 0
    readonly property int current: configModel ? configModel.getPoCfgIdx(builderColumn, row) : -1
    readonly property bool canLink: configModel ? configModel.linkTest(builderColumn, row, 1) : false
    readonly property bool canUnlink: configModel ? configModel.linkTest(builderColumn, row, -1)
                                                  : false

    spacing: Theme.dpY(Theme.spacing)

    Text {
        width: root.width
        text: root.span > 1 ? "PROCESSES ROWS " + (root.row + 1) + "\u2013" + (root.row + root.span)
                              + " TOGETHER"
                            : "PROCESSES ROW " + (root.row + 1) + " ALONE"
        textFormat: Text.PlainText
        color: Theme.textDim
        font.pixelSize: Theme.dpY(Theme.fontSmall)
        font.bold: true
    }

    Row {
        spacing: Theme.dpX(Theme.spacing)

        CustomButton {
            objectName: "linkButton"
            text: "Link row below"
            enabled: root.canLink
            toolTipText: "The block also takes the next row's signal"
            onClicked: root.configModel.link(root.builderColumn, root.row)
        }
        CustomButton {
            objectName: "unlinkButton"
            text: "Unlink last row"
            enabled: root.canUnlink
            onClicked: root.configModel.unlink(root.builderColumn, root.row)
        }
    }

    Text {
        width: root.width
        visible: root.choices > 0
        topPadding: Theme.dpY(Theme.spacing)
        text: "INSERT"
        textFormat: Text.PlainText
        color: Theme.textDim
        font.pixelSize: Theme.dpY(Theme.fontSmall)
        font.bold: true
    }

    Repeater {
        model: root.choices
        ConfigChoice {
            objectName: "insertChoice_" + index
            width: root.width
            implicitHeight: Theme.dpY(Theme.controlHeight)
            text: root.configModel.getPoName(index)
            checked: index === root.current
            onClicked: if (!checked) root.configModel.changePO(root.builderColumn, root.row, index)
        }
    }
}
