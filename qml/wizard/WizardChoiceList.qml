import QtQuick 2.15

// The rows of a wizard list page: text and picture of each choice, and the speaker stack of a
// choice that carries a crossover code; the selected row in the brand colour. A click selects the
// row and reports it, and so do Space and Enter on the row the keyboard's cursor stands on.
// The cursor stands outside the view: a view hands the focus to its current row.
Item {
    id: list
    objectName: "wizardChoiceList"

    property alias model: view.model
    readonly property alias count: view.count
    property int selectedIndex: -1
    // The choices' pictures are drawn 120 x 90 design pixels: shown at that size, their labels
    // read at the size they were drawn for.
    readonly property real pictureHeight: rootQML.dpY(90)

    signal chosen(int index, string text, string value)

    ListCursor {
        id: cursor
        objectName: "wizardChoiceCursor"
        count: view.count
        start: list.selectedIndex
        canTake: function(row) {
            var item = view.itemAtIndex(row)
            return item === null || item.offered
        }
        onMoved: view.positionViewAtIndex(index, ListView.Contain)
        onActivated: view.itemAtIndex(index).choose()
    }

    ListView {
        id: view
        anchors.fill: parent
        clip: true
        spacing: rootQML.dpY(Theme.spacingSmall)

        delegate: Rectangle {
            id: row
            // The audio-bus wizard is offered only on a device that has the bus.
            readonly property bool offered:
                model.listViewElementText !== "RUN ORVEL LINK SETUP WIZARD"
                || rootQML.strDeviceType === "OrvelLink"
            readonly property bool drawn: picture.visible || stackSlot.visible

            objectName: "wizardChoiceRow"
            width: view.width
            height: !offered ? 0
                    : drawn ? list.pictureHeight + 2 * rootQML.dpY(Theme.spacingSmall)
                    : rootQML.dpY(52)
            visible: offered
            radius: Theme.radius
            color: index === list.selectedIndex ? Theme.selectedFill : Theme.raised
            Accessible.role: Accessible.ListItem
            Accessible.name: model.listViewElementText
            Accessible.selectable: true
            Accessible.selected: index === list.selectedIndex

            WizardPicture {
                id: picture
                objectName: "wizardChoicePicture"
                anchors.left: parent.left
                anchors.verticalCenter: parent.verticalCenter
                anchors.leftMargin: rootQML.dpY(Theme.spacingSmall)
                height: list.pictureHeight
                width: visible ? height * 4 / 3 : 0
                path: model.listViewElementImage
            }

            // One width for every stack, so that the texts line up.
            Item {
                id: stackSlot
                anchors.left: picture.right
                anchors.top: parent.top
                anchors.bottom: parent.bottom
                anchors.leftMargin: visible ? rootQML.dpX(Theme.margin) : 0
                width: visible ? rootQML.dpX(200) : 0
                visible: stack.layout !== null

                CrossoverRepresentBuilder {
                    id: stack
                    objectName: "wizardChoiceStack"
                    anchors.verticalCenter: parent.verticalCenter
                    code: model.listViewElementCrossoverCode
                }
            }

            Text {
                anchors.left: stackSlot.right
                anchors.right: parent.right
                anchors.verticalCenter: parent.verticalCenter
                anchors.leftMargin: rootQML.dpX(Theme.margin)
                anchors.rightMargin: rootQML.dpX(Theme.margin)
                text: model.listViewElementText
                textFormat: Text.PlainText
                elide: Text.ElideRight
                color: Theme.text
                font.pixelSize: rootQML.dpY(Theme.fontValue)
            }

            function choose() {
                list.selectedIndex = index;
                list.chosen(index, model.listViewElementText, model.listViewElementValue);
            }

            MouseArea {
                anchors.fill: parent
                onClicked: row.choose()
            }

            FocusFrame {
                inset: true
                shown: cursor.isOn(index)
            }
        }
    }
}
