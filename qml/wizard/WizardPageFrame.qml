import QtQuick 2.15

// What every wizard page shares: its title on top (unless the screen's heading says it already),
// its content in the middle, Back and Next (the main action) at the bottom right. A field being
// edited ends its edit before either acts; one that refuses what it holds keeps the step, and
// Back still goes back.
Item {
    id: frame

    property string title: ""
    property bool titleShown: true
    property bool showBack: true
    property bool showNext: true
    property bool nextEnabled: true
    property string backText: "Back"
    property string nextText: "Next"
    default property alias content: body.data

    signal backClicked()
    signal nextClicked()

    Accessible.role: Accessible.Pane
    Accessible.name: title

    Text {
        id: titleText
        objectName: "wizardPageTitle"
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: parent.top
        height: visible ? implicitHeight : 0
        visible: frame.titleShown
        text: frame.title
        textFormat: Text.PlainText
        elide: Text.ElideRight
        color: Theme.text
        font.pixelSize: rootQML.dpY(Theme.fontHeading)
    }

    Item {
        id: body
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: titleText.bottom
        anchors.bottom: buttons.top
        anchors.topMargin: rootQML.dpY(Theme.spacing)
        anchors.bottomMargin: rootQML.dpY(Theme.spacing)
    }

    Row {
        id: buttons
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        spacing: rootQML.dpX(Theme.spacing)

        CustomButton {
            objectName: "wizardBackButton"
            visible: frame.showBack
            width: Math.max(implicitWidth, rootQML.dpX(100))
            height: rootQML.dpY(40)
            text: frame.backText
            fontSize: Theme.fontBody
            onClicked: frame.backClicked()
        }
        CustomButton {
            objectName: "wizardNextButton"
            visible: frame.showNext
            enabled: frame.nextEnabled
            width: Math.max(implicitWidth, rootQML.dpX(100))
            height: rootQML.dpY(40)
            look: CustomButton.Main
            text: frame.nextText
            fontSize: Theme.fontBody
            onClicked: {
                if (editRefusal === "")
                    frame.nextClicked()
            }
        }
    }
}
