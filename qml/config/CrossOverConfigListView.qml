import QtQuick 2.15

// The crossover types the crossover cell may take (those whose outputs fit below its row), each
// with the loudspeakers it feeds; the current one checked. A pick rebuilds the crossover.
CustomListView {
    id: root

    property var configModel
    property int row
    readonly property var listInfo: configModel ? configModel.cfgXoverListCnt(row) : ({})
    current: listInfo.curIdx !== undefined ? listInfo.curIdx : -1

    model: listInfo.count || 0

    delegate: ConfigChoice {
        readonly property var info: root.configModel.getCfgXoverInfo(index)
        objectName: "crossoverChoice_" + index
        width: ListView.view.width
        text: info.cfgName || ""
        detail: info.inpName + " in \u2192 " + String(info.outName).split("+").join(", ")
        checked: index === root.current
        onClicked: if (!checked) root.configModel.setCrossoverConfig(root.row, info.cfgName)

        CrossoverRepresentBuilder {
            code: info.code || 0
        }
    }
}
