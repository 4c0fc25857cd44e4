import QtQuick 2.15
import ButtonImageResolver 1.0
import ConfigDataProvider 1.0

// The mixer types a mixer cell may take (input mixer or mid mixer column), its current one
// checked; a pick changes the cell's mixer.
CustomListView {
    id: root

    property var configModel
    property int builderColumn
    property int row
    readonly property int choices: configModel ? configModel.poListCnt(builderColumn, row) : 0
    current: configModel ? configModel.getMixerCfgIdx(builderColumn, row) : -1

    model: choices

    ConfigDataProvider {
        id: mixerPictures
    }

    ButtonImageResolver {
        id: blockIcons
    }

    delegate: MixerSelector {
        objectName: "mixerChoice_" + index
        width: ListView.view.width
        text: root.configModel.getPoName(index)
        builderColumn: root.builderColumn
        pictures: mixerPictures
        resolver: blockIcons
        checked: index === root.current
        onClicked: if (!checked) root.configModel.setMixerConfig(root.builderColumn, root.row, index)
    }
}
