import QtQuick 2.15
import QtQuick.Controls 2.15

// The progress panel of a download or an upload: what runs, the percentage with two decimals, the
// bar, and a cancel button while the transfer can be cancelled.
Column {
    id: panel

    property alias caption: captionText.text
    property real value: 0
    property bool cancellable: false

    signal cancelClicked()

    spacing: rootQML.dpY(Theme.spacingSmall)

    Text {
        id: captionText
        width: parent.width
        color: Theme.text
        font.pixelSize: rootQML.dpY(Theme.fontBody)
        textFormat: Text.PlainText
        elide: Text.ElideRight
    }

    Row {
        spacing: rootQML.dpX(Theme.spacing)

        ThemedProgressBar {
            id: bar
            objectName: "progressBar"
            anchors.verticalCenter: parent.verticalCenter
            width: panel.width - percentText.width - cancelButton.width - 2 * parent.spacing
            value: panel.value
        }

        Text {
            id: percentText
            objectName: "progressPercent"
            anchors.verticalCenter: parent.verticalCenter
            width: rootQML.dpX(72)
            horizontalAlignment: Text.AlignRight
            text: panel.value.toFixed(2) + "%"
            color: Theme.text
            font.pixelSize: rootQML.dpY(Theme.fontBody)
            font.family: "Monospace"
        }

        Image {
            id: cancelButton
            objectName: "cancelButton"
            anchors.verticalCenter: parent.verticalCenter
            source: "/images/Close.png"
            width: rootQML.dpX(24)
            height: width
            fillMode: Image.PreserveAspectFit
            visible: panel.cancellable

            MouseArea {
                anchors.fill: parent
                onClicked: panel.cancelClicked()
            }

            Accessible.role: Accessible.Button
            Accessible.name: "Cancel " + panel.caption
        }
    }
}
