import QtQuick 2.15
import QtQuick.Controls 2.15 as Controls
import TuningFileListModel 1.0
import BrandListModel 1.0

// Tuning files: brands on the left, one row per (brand, series) group with its state on the
// device and the action chosen for it; Apply and Cancel for the chosen actions, the cloud
// update and the reset to the factory set. A waiting dialog covers the window while the
// tuning service works; each operation ends with what it did, or with why it failed.
Rectangle {
    id: page
    objectName: "manageTuningsPage"
    color: viewLoader.validationMode ? Theme.backgroundValidation
                                     : viewLoader.offlineMode ? Theme.backgroundOffline : Theme.background
    Accessible.role: Accessible.Pane
    Accessible.name: heading.text

    property string selectedBrand: "Show All"
    // The error text of the running or last operation: its end does not replace it, and an empty
    // list says it.
    property string failure: ""

    function stateColor(state) {
        if (state === "Loaded")
            return Theme.stateOn;
        if (state === "Has Update")
            return Theme.stateWarning;
        return Theme.textDim;
    }

    function showWaiting(text) {
        waitingDialog.message = text;
        if (!waitingDialog.visible)
            waitingDialog.open();
    }

    function begin(text) {
        failure = "";
        showWaiting(text);
    }

    function showMessage(text) {
        waitingDialog.close();
        messageDialog.message = text;
        messageDialog.open();
    }

    Component.onCompleted: {
        begin("Initializing...");
        tuningModel.initializeModel();
    }

    BrandListModel {
        id: brandModel
    }

    TuningFileListModel {
        id: tuningModel
        onBrandList: brandModel.onBrandList(brandList)
        onProgressMessage: page.showWaiting(message)
        onInitialized: {
            waitingDialog.close();
            if (success)
                tuningModel.parseAndSetEnableApplyCancel();
            else if (page.failure === "")
                page.showMessage("Operation failed.");
        }
        onResultMessage: {
            if (page.failure === "")
                page.showMessage(message);
        }
        onModelReset: waitingDialog.close()
        onError: {
            page.failure = errorString;
            page.showMessage(errorString);
        }
    }

    MenuBar {
        id: menu
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: parent.top
        currentScreen: "ManageTunings"
    }

    CustomHeading {
        id: heading
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: menu.bottom
        anchors.margins: rootQML.dpX(Theme.margin)
        text: "MANAGE TUNINGS"

        CustomButton {
            objectName: "cloudButton"
            text: "Update from cloud"
            onClicked: {
                page.begin("Checking for updates...");
                tuningModel.updateFromCloud();
            }
        }
        CustomButton {
            objectName: "resetButton"
            text: "Reset"
            onClicked: resetDialog.open()
        }
    }

    Rectangle {
        id: brandPanel
        anchors.left: parent.left
        anchors.top: heading.bottom
        anchors.bottom: footer.top
        anchors.margins: rootQML.dpX(Theme.margin)
        width: rootQML.dpX(200)
        color: Theme.panel

        ListCursor {
            id: brandCursor
            objectName: "brandCursor"
            count: brandList.count
            onMoved: brandList.positionViewAtIndex(index, ListView.Contain)
            onActivated: brandList.itemAtIndex(index).choose()
        }

        ListView {
            id: brandList
            objectName: "brandList"
            anchors.fill: parent
            anchors.margins: rootQML.dpX(Theme.spacing)
            clip: true
            model: brandModel
            spacing: Theme.spacingSmall

            delegate: Rectangle {
                id: brandRow
                objectName: "brandRow"
                width: brandList.width
                height: rootQML.dpY(36)
                color: model.display === page.selectedBrand ? Theme.selectedFill : Theme.raised
                Accessible.role: Accessible.ListItem
                Accessible.name: model.display
                Accessible.selectable: true
                Accessible.selected: model.display === page.selectedBrand

                Text {
                    anchors.fill: parent
                    anchors.leftMargin: rootQML.dpX(Theme.spacing)
                    verticalAlignment: Text.AlignVCenter
                    text: model.display
                    textFormat: Text.PlainText
                    elide: Text.ElideRight
                    color: Theme.text
                    font.pixelSize: rootQML.dpY(Theme.fontBody)
                }

                function choose() {
                    page.selectedBrand = model.display;
                    tuningModel.filterBy(model.display);
                }

                MouseArea {
                    anchors.fill: parent
                    onClicked: brandRow.choose()
                }

                FocusFrame {
                    inset: true
                    shown: brandCursor.isOn(index)
                }
            }
        }
    }

    Rectangle {
        anchors.left: brandPanel.right
        anchors.right: parent.right
        anchors.top: heading.bottom
        anchors.bottom: footer.top
        anchors.margins: rootQML.dpX(Theme.margin)
        color: Theme.panel

        Text {
            objectName: "emptyListText"
            anchors.fill: parent
            anchors.margins: rootQML.dpX(Theme.margin)
            visible: tuningList.count === 0 && page.failure !== "" && !waitingDialog.visible
            text: page.failure
            textFormat: Text.PlainText
            wrapMode: Text.WordWrap
            horizontalAlignment: Text.AlignHCenter
            verticalAlignment: Text.AlignVCenter
            color: Theme.textDim
            font.pixelSize: rootQML.dpY(Theme.fontBody)
        }

        // The rows take the keyboard one at a time: the cursor's row, whose buttons follow it in
        // the order of Tab.
        ListCursor {
            id: tuningCursor
            objectName: "tuningCursor"
            count: tuningList.count
            onMoved: tuningList.positionViewAtIndex(index, ListView.Contain)
            onActivated: tuningList.itemAtIndex(index).addRemove.clickByKey()
        }

        ListView {
            id: tuningList
            objectName: "tuningList"
            anchors.fill: parent
            anchors.margins: rootQML.dpX(Theme.spacing)
            clip: true
            model: tuningModel
            // Rows are made as they scroll into view, never ahead in the background: a relist
            // empties the model, and a row still being made then could not be cancelled.
            cacheBuffer: 0
            Controls.ScrollBar.vertical: Controls.ScrollBar {}

            delegate: Rectangle {
                id: row
                objectName: "tuningRow"
                width: tuningList.width
                height: filterRole ? rootQML.dpY(44) : 0
                visible: filterRole
                color: index % 2 ? Theme.raised : Theme.panel

                property string chosen: actionRole
                readonly property bool cursorOn: index === tuningCursor.index
                readonly property alias addRemove: addRemoveButton

                function choose(action) {
                    actionRole = chosen === action ? "No Change" : action;
                }

                Text {
                    id: typeText
                    anchors.left: parent.left
                    anchors.leftMargin: rootQML.dpX(Theme.spacing)
                    anchors.verticalCenter: parent.verticalCenter
                    width: rootQML.dpX(44)
                    text: typeRole
                    color: Theme.textDim
                    font.pixelSize: rootQML.dpY(Theme.fontSmall)
                }
                Text {
                    objectName: "brandSeries"
                    anchors.left: typeText.right
                    anchors.right: stateText.left
                    anchors.verticalCenter: parent.verticalCenter
                    text: brandSeriesRole
                    textFormat: Text.PlainText
                    elide: Text.ElideRight
                    color: Theme.text
                    font.pixelSize: rootQML.dpY(Theme.fontBody)
                }
                Text {
                    id: stateText
                    anchors.right: actionText.left
                    anchors.verticalCenter: parent.verticalCenter
                    width: rootQML.dpX(110)
                    text: stateRole
                    color: page.stateColor(stateRole)
                    font.pixelSize: rootQML.dpY(Theme.fontLabel)
                }
                Text {
                    id: actionText
                    anchors.right: buttons.left
                    anchors.verticalCenter: parent.verticalCenter
                    width: rootQML.dpX(110)
                    text: row.chosen === "No Change" ? "" : row.chosen
                    color: Theme.stateWarning
                    font.pixelSize: rootQML.dpY(Theme.fontLabel)
                }
                // A fixed width and right-to-left, so the columns line up with or without Update.
                Row {
                    id: buttons
                    width: rootQML.dpX(184)
                    layoutDirection: Qt.RightToLeft
                    anchors.right: parent.right
                    anchors.rightMargin: rootQML.dpX(Theme.spacing)
                    anchors.verticalCenter: parent.verticalCenter
                    spacing: rootQML.dpX(Theme.spacingSmall)

                    CustomButton {
                        id: addRemoveButton
                        objectName: "addRemoveButton"
                        focusPolicy: row.cursorOn ? Qt.TabFocus : Qt.NoFocus
                        width: rootQML.dpX(90)
                        text: addRemoveRole
                        checked: row.chosen === "Will Add" || row.chosen === "Will Remove"
                        onClicked: row.choose(addRemoveRole === "Add" ? "Will Add" : "Will Remove")
                        Accessible.name: text + " " + brandSeriesRole
                    }
                    CustomButton {
                        objectName: "updateButton"
                        focusPolicy: row.cursorOn ? Qt.TabFocus : Qt.NoFocus
                        width: rootQML.dpX(90)
                        visible: updateRole !== ""
                        text: updateRole
                        checked: row.chosen === "Will Update"
                        onClicked: row.choose("Will Update")
                        Accessible.name: text + " " + brandSeriesRole
                    }
                }

                FocusFrame {
                    inset: true
                    shown: tuningCursor.isOn(index)
                }
            }
        }
    }

    Row {
        id: footer
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        anchors.margins: rootQML.dpX(Theme.margin)
        spacing: rootQML.dpX(Theme.spacing)

        CustomButton {
            objectName: "cancelButton"
            text: "Cancel"
            enabled: tuningModel.enableApplyCancel
            onClicked: tuningModel.discardChanges()
        }
        CustomButton {
            objectName: "applyButton"
            look: CustomButton.Main
            text: "Apply"
            enabled: tuningModel.enableApplyCancel
            onClicked: {
                page.begin("Applying Changes...0%");
                tuningModel.applyChanges();
            }
        }
    }

    // Over the whole window, menu bar included: nothing else may start meanwhile.
    QX8CustomDialog {
        id: waitingDialog
        objectName: "waitingDialog"
        parent: rootQML
        showBusy: true
        showOk: false
    }

    QX8CustomDialog {
        id: messageDialog
        objectName: "messageDialog"
        parent: rootQML
    }

    QX8CustomDialog {
        id: resetDialog
        objectName: "resetDialog"
        parent: rootQML
        message: "Reset all tunings to the factory set, here and on the Spandrell QX8?"
        showCancel: true
        onAccepted: {
            page.begin("Resetting local tunings...");
            tuningModel.resetTunings();
        }
    }
}
