import QtQuick 2.15
import "qrc:/qml/"

// The analytics and settings-transfer strips as the Utilities screen would hold them, with the
// root's GUI signal and a stand-in for the screen loader's sync signals.
Rectangle {
    id: rootQML
    width: 1024
    height: 600
    color: Theme.background

    signal guiSignal(string param, string payload)

    function dpX(value) {
        return value;
    }
    function dpY(value) {
        return value;
    }

    QtObject {
        id: viewLoader
        objectName: "viewLoader"
        signal syncProgress(real progress)
        signal syncFinished()
        signal syncError(string errorString)
    }

    Column {
        x: Theme.margin
        y: Theme.margin
        width: parent.width - 2 * Theme.margin
        spacing: Theme.margin

        ApplicationStrip {
            width: parent.width
        }
        ShareAnalytics {
            width: parent.width
        }
        TransferSettingsStrip {
            width: parent.width
        }
    }
}
