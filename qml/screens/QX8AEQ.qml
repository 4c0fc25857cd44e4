import QtQuick 2.15
import DeviceModelProvider 1.0

// The automatic (room) EQ: its bands as on the parametric EQ, over the room response the device
// measured and the target curve it aims at.
ScreenPage {
    id: page
    objectName: "aeqPage"
    currentScreen: "AEQ"
    shownObjects: opened.objectsOr(DeviceModelProvider.objects("QX8AEQ.qml", ""))

    ConfiguredObject {
        id: opened
        blockTypes: ["AEQ"]
    }

    Repeater {
        model: page.availableObjects
        QX8CommonEQ {
            width: page.body.width
            height: page.body.height
            processingObjectName: modelData
            blockType: "AEQ"
            overlays: true
        }
    }
}
