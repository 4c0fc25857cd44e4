import QtQuick 2.15
import QtQuick.Controls 2.15 as T

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

            CustomButton {
                objectName: "searchForDevicesButton"
                width: 280
                height: 50
                look: CustomButton.Main
                text: "Search For Devices"
                fontSize: Theme.fontValue
                onClicked: splash.searchRequested()
            }
        }
    }

    // A link: reached by Tab, followed by Space or Enter as by a click.
    T.AbstractButton {
        id: demoLink
        objectName: "watchDemoLink"
        anchors.left: parent.left
        anchors.bottom: parent.bottom
        anchors.margins: Theme.margin
        focusPolicy: Qt.TabFocus
        Accessible.role: Accessible.Link
        Accessible.name: demoText.text

        contentItem: Row {
            spacing: Theme.spacing

            Image {
                source: "/images/Url_Image.png"
                width: 32
                height: 32
            }

            Text {
                id: demoText
                anchors.verticalCenter: parent.verticalCenter
                text: "Watch App Demo"
                color: Theme.text
                font.pixelSize: Theme.fontBody
                font.underline: true
            }
        }
        background: null

        onClicked: Qt.openUrlExternally(splash.demoVideoUrl)
        Keys.onReturnPressed: clicked()
        Keys.onEnterPressed: clicked()

        FocusFrame {}
    }
}
