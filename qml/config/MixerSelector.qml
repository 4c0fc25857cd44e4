import QtQuick 2.15
import "ConfigGrid.js" as ConfigGrid

// One mixer type of a mixer cell: its picture (the mixer-type picture of a route, the mixer icon
// of a mixer) and its name. Checked, it is the cell's current type.
ConfigChoice {
    id: root

    property int builderColumn
    property var pictures    // a ConfigDataProvider (mixer-type pictures)
    property var resolver    // a ButtonImageResolver (the mixer icon)
    readonly property string pictureKey: ConfigGrid.mixerImageKey(builderColumn, text)

    Image {
        width: Theme.dpX(60)
        height: Theme.dpY(36)
        fillMode: Image.PreserveAspectFit
        asynchronous: true
        source: root.pictureKey !== "" ? root.pictures.routerImage(root.pictureKey)
                                       : root.resolver.imagePath("MIX")
    }
}
