import QtQuick 2.15

// The start-up splash over the page loader, until the user asks to search for devices.
Rectangle {
    id: splash
    objectName: "startUpSplash"
    color: Theme.background

    readonly property string demoVideoUrl: "https://velmor.com/spandrell-qx8/demo"

    signal searchRequested()

    Accessible.role: Accessible.Pane
    Accessible.name: titleText.text

    // Swallows clicks meant for the page below.
    MouseArea {
        anchors.fill: parent
        Accessible.ignored: true
    }

    Image {
        anchors.top: parent.top
        anchors.bottom: parent.bottom
        anchors.horizontalCenter: parent.horizontalCenter
        source: "/images/Splash_Screen.png"
        asynchronous: true
        fillMode: Image.PreserveAspectFit
    }

    Item {
        width: 350
        height: 180
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        anchors.margins: Theme.margin

        Column {
            anchors.fill: parent
            spacing: Theme.spacing

            Text {
                id: titleText
                text: "Spandrell QX8 Control"
                color: Theme.brand
                font.pixelSize: Theme.fontHeading
                font.bold: true
            }

            Text {
                width: parent.width
                text: "You must connect your Spandrell QX8 to enter the control app."
                color: Theme.text
                font.pixelSize: Theme.fontBody
                wrapMode: Text.WordWrap
            }

            Rectangle {
                objectName: "searchForDevicesButton"
                width: 280
                height: 50
                color: searchArea.pressed ? Theme.brandPressed : Theme.brand
                radius: Theme.radius
                Accessible.role: Accessible.Button
                Accessible.name: searchText.text

                Text {
                    id: searchText
                    anchors.centerIn: parent
                    text: "Search For Devices"
                    color: Theme.text
                    font.pixelSize: Theme.fontValue
                }

                MouseArea {
                    id: searchArea
                    anchors.fill: parent
                    onClicked: splash.searchRequested()
                }
            }
        }
    }

    Row {
        anchors.left: parent.left
        anchors.bottom: parent.bottom
        anchors.margins: Theme.margin
        spacing: Theme.spacing

        Image {
            source: "/images/Url_Image.png"
            width: 32
            height: 32
        }

        Text {
            anchors.verticalCenter: parent.verticalCenter
            text: "Watch App Demo"
            color: Theme.text
            font.pixelSize: Theme.fontBody
            font.underline: true
            Accessible.role: Accessible.Link
            Accessible.name: text

            MouseArea {
                anchors.fill: parent
                onClicked: Qt.openUrlExternally(splash.demoVideoUrl)
            }
        }
    }
}
