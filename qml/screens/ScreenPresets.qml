import QtQuick 2.15
import QtQuick.Controls 2.15 as Controls
import QX8TextSV 1.0
import DevicePresetModel 1.0
import FileSystemModel 1.0

// Presets: the device's 100 slots on the left (recall, store, rename, save to this computer),
// the preset files of this computer on the right (send into the chosen slot, copy, rename,
// delete). A waiting dialog covers the window while a transfer runs; every failure ends in a
// message.
Rectangle {
    id: page
    objectName: "presetsPage"
    color: viewLoader.validationMode ? Theme.backgroundValidation
                                     : viewLoader.offlineMode ? Theme.backgroundOffline : Theme.background
    Accessible.role: Accessible.Pane
    Accessible.name: heading.text

    readonly property int slotCount: 100
    property int selectedSlot: 0
    property string selectedSlotName: ""
    property string selectedFile: ""
    // The slot a fetch comes from, the name it saves under, and the bytes waiting for a name.
    property int fetchSlot: 0
    property string fetchName: ""
    property var fetchedData
    // The slot and name the file being read goes to.
    property int sendSlot: 0
    property string sendName: ""
    property string nameAction: ""
    property string confirmAction: ""

    function askName(action, message, proposal, validator) {
        nameAction = action;
        nameDialog.message = message;
        nameDialog.inputValidator = validator;
        nameDialog.inputText = proposal;
        nameDialog.open();
    }

    function confirm(action, message) {
        confirmAction = action;
        confirmDialog.message = message;
        confirmDialog.open();
    }

    function showMessage(text) {
        messageDialog.message = text;
        messageDialog.open();
    }

    // The device's error names the failed step; the FTP client's own name for that step, on the
    // line before the cause, would say it twice.
    function deviceMessage(error) {
        return error.replace(/^([^\n]*: )[^\n]*failed:\n/, "$1");
    }

    function showBusy(state, message) {
        if (!state) {
            waitingDialog.close();
            return;
        }
        waitingDialog.message = message;
        if (!waitingDialog.visible)
            waitingDialog.open();
    }

    // A name for a fetched preset: the slot's own when it is a free file name, else the user's.
    function saveFetched() {
        var wanted = fetchName;
        var usable = localModel.isValidFileName(wanted);
        if (usable && localModel.availablePresetName(wanted) === wanted) {
            localModel.addPresetToFileSystem(wanted, fetchedData);
            return;
        }
        var proposal = localModel.availablePresetName(usable ? wanted : "Preset " + fetchSlot);
        askName("saveFetched", "A preset file needs another name than \"" + wanted + "\". Save as:",
                proposal, specialCharacterValidator);
    }

    function askStoreName() {
        var slot = "preset " + selectedSlot;
        var replacing = selectedSlotName === "" ? "" : " \"" + selectedSlotName + "\"";
        askName("store", "Store the current settings " + (replacing === "" ? "as " : "over ") + slot
                + replacing + ", named:",
                selectedSlotName !== "" ? selectedSlotName : currentPreset.value,
                specialCharacterValidator);
    }

    function confirmSend() {
        var replacing = selectedSlotName === "" ? "" : ", replacing \"" + selectedSlotName + "\"";
        confirm("send",
                "Send \"" + selectedFile + "\" into preset " + selectedSlot + replacing + "?");
    }

    function takenLocally(name) {
        return localModel.availablePresetName(name) !== name;
    }

    function onNameGiven(name) {
        switch (nameAction) {
        case "store":
            deviceModel.store(String(selectedSlot), name);
            break;
        case "renameSlot":
            deviceModel.rename(String(selectedSlot), name);
            break;
        case "saveFetched":
            if (takenLocally(name))
                askName("saveFetched", "\"" + name + "\" exists already. Save as:",
                        localModel.availablePresetName(name), specialCharacterValidator);
            else
                localModel.addPresetToFileSystem(name, fetchedData);
            break;
        case "copyFile":
            if (takenLocally(name))
                showMessage("A preset named \"" + name + "\" already exists.");
            else
                localModel.copy(selectedFile, name);
            break;
        case "renameFile":
            if (takenLocally(name))
                showMessage("A preset named \"" + name + "\" already exists.");
            else
                localModel.rename(selectedFile, name);
            break;
        }
    }

    function onConfirmed() {
        switch (confirmAction) {
        case "recall":
            deviceModel.recall(String(selectedSlot), selectedSlotName);
            rootQML.lastPresetId = String(selectedSlot);
            break;
        case "send":
            sendSlot = selectedSlot;
            sendName = selectedFile;
            localModel.transfer(selectedFile);
            break;
        case "delete":
            localModel.deletePreset(selectedFile);
            break;
        }
    }

    Component.onCompleted: {
        rootQML.funcLastScreen("Preset");
        localModel.populateModel();
    }
    Component.onDestruction: rootQML.funcLastScreen("")

    DevicePresetModel {
        id: deviceModel
        onBusy: page.showBusy(state, msg)
        onError: page.showMessage(page.deviceMessage(errorString))
        onPresetAvailable: {
            page.fetchedData = presetData;
            page.saveFetched();
        }
    }

    FileSystemModel {
        id: localModel
        onBusy: page.showBusy(busy, msg)
        onError: page.showMessage(message)
        onPresetAvailable: deviceModel.transfer(String(page.sendSlot), page.sendName, configData)
        onIndexOfEditedPreset: {
            if (editedPresetNum >= 0)
                page.selectedFile = localModel.data(localModel.index(editedPresetNum, 0),
                                                    FileSystemModel.ModelPresetName);
        }
        onPresetDeleted: page.selectedFile = ""
    }

    QX8TextSV {
        id: currentPreset
        poName: "Presets"
        svName: "CurrentPreset"
    }

    MenuBar {
        id: menu
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: parent.top
        currentScreen: "Preset"
    }

    CustomHeading {
        id: heading
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: menu.bottom
        anchors.margins: rootQML.dpX(Theme.margin)
        text: "PRESETS"

        Text {
            anchors.verticalCenter: parent.verticalCenter
            text: "Current preset"
            color: Theme.textDim
            font.pixelSize: rootQML.dpY(Theme.fontLabel)
        }
        Text {
            objectName: "currentPresetName"
            anchors.verticalCenter: parent.verticalCenter
            width: Math.min(implicitWidth, rootQML.dpX(320))
            text: currentPreset.hasDeviceValue ? (currentPreset.value === "" ? "-"
                                                                              : currentPreset.value)
                                               : "\u2013"
            textFormat: Text.PlainText
            elide: Text.ElideRight
            color: currentPreset.hasDeviceValue ? Theme.text : Theme.textFaint
            font.pixelSize: rootQML.dpY(Theme.fontValue)
        }
    }

    PresetPanel {
        id: devicePanel
        anchors.left: parent.left
        anchors.top: heading.bottom
        anchors.bottom: parent.bottom
        anchors.margins: rootQML.dpX(Theme.margin)
        width: (parent.width - 3 * rootQML.dpX(Theme.margin)) / 2
        title: "ON THE SPANDRELL QX8"

        ListCursor {
            id: slotCursor
            objectName: "slotCursor"
            count: page.slotCount
            start: page.selectedSlot - 1
            canTake: function(row) {
                return slotRows.itemAt(row).enabled
            }
            pageRows: Math.max(1, Math.floor(slotList.height / rootQML.dpY(36)))
            onMoved: {
                var row = slotRows.itemAt(index)
                slotList.contentY = Math.max(Math.min(slotList.contentY, row.y),
                                             row.y + row.height - slotList.height)
            }
            onActivated: slotRows.itemAt(index).clicked()
        }

        Flickable {
            id: slotList
            objectName: "slotList"
            anchors.fill: parent
            clip: true
            contentHeight: slots.height
            Controls.ScrollBar.vertical: Controls.ScrollBar {}

            Column {
                id: slots
                width: slotList.width

                // Every slot stays alive, so each name variable is subscribed once for the page.
                Repeater {
                    id: slotRows
                    model: page.slotCount

                    PresetRow {
                        id: slotRow
                        readonly property alias backend: slotName
                        objectName: "slotRow" + number
                        width: slots.width
                        number: index + 1
                        name: slotName.value
                        known: slotName.hasDeviceValue
                        selected: page.selectedSlot === number
                        cursorOn: slotCursor.isOn(index)
                        onSelectedChanged: if (selected) page.selectedSlotName = name
                        onNameChanged: if (selected) page.selectedSlotName = name
                        onClicked: page.selectedSlot = number

                        QX8TextSV {
                            id: slotName
                            poName: "Presets"
                            svName: "Name_" + slotRow.number
                        }
                    }
                }
            }
        }

        buttons: [
            CustomButton {
                objectName: "recallButton"
                width: devicePanel.buttonWidth
                text: "Recall"
                enabled: page.selectedSlotName !== ""
                onClicked: page.confirm("recall", "Recall preset " + page.selectedSlot + " \""
                                        + page.selectedSlotName + "\"? The Spandrell QX8 takes its "
                                        + "settings at once.")
            },
            CustomButton {
                objectName: "storeButton"
                width: devicePanel.buttonWidth
                text: "Store..."
                enabled: page.selectedSlot > 0
                onClicked: page.askStoreName()
            },
            CustomButton {
                objectName: "renameSlotButton"
                width: devicePanel.buttonWidth
                text: "Rename..."
                enabled: page.selectedSlotName !== ""
                onClicked: page.askName("renameSlot",
                                        "New name of preset " + page.selectedSlot + ":",
                                        page.selectedSlotName, specialCharacterValidator)
            },
            CustomButton {
                objectName: "fetchButton"
                width: devicePanel.buttonWidth
                text: "Save to computer"
                enabled: page.selectedSlotName !== ""
                onClicked: {
                    page.fetchSlot = page.selectedSlot;
                    page.fetchName = page.selectedSlotName;
                    deviceModel.presetFetch(String(page.selectedSlot));
                }
            }
        ]
    }

    PresetPanel {
        id: localPanel
        anchors.right: parent.right
        anchors.top: heading.bottom
        anchors.bottom: parent.bottom
        anchors.margins: rootQML.dpX(Theme.margin)
        width: devicePanel.width
        title: "ON THIS COMPUTER"

        ListCursor {
            id: fileCursor
            objectName: "fileCursor"
            count: fileList.count
            pageRows: Math.max(1, Math.floor(fileList.height / rootQML.dpY(36)))
            onMoved: fileList.positionViewAtIndex(index, ListView.Contain)
            onActivated: fileList.itemAtIndex(index).clicked()
        }

        ListView {
            id: fileList
            objectName: "fileList"
            anchors.fill: parent
            clip: true
            model: localModel
            Controls.ScrollBar.vertical: Controls.ScrollBar {}

            delegate: PresetRow {
                objectName: "fileRow"
                width: fileList.width
                name: ModelPresetName
                selected: page.selectedFile === ModelPresetName
                cursorOn: fileCursor.isOn(index)
                onClicked: page.selectedFile = ModelPresetName
            }
        }

        Text {
            anchors.centerIn: parent
            visible: fileList.count === 0
            text: "No presets saved on this computer yet."
            color: Theme.textDim
            font.pixelSize: rootQML.dpY(Theme.fontBody)
        }

        buttons: [
            CustomButton {
                objectName: "sendButton"
                width: localPanel.buttonWidth
                text: page.selectedSlot > 0 ? "Send to preset " + page.selectedSlot : "Send to QX8"
                enabled: page.selectedFile !== "" && page.selectedSlot > 0
                onClicked: page.confirmSend()
            },
            CustomButton {
                objectName: "copyButton"
                width: localPanel.buttonWidth
                text: "Copy..."
                enabled: page.selectedFile !== ""
                onClicked: page.askName("copyFile", "Copy \"" + page.selectedFile + "\" as:",
                                        localModel.availablePresetName(page.selectedFile),
                                        specialCharacterValidator)
            },
            CustomButton {
                objectName: "renameFileButton"
                width: localPanel.buttonWidth
                text: "Rename..."
                enabled: page.selectedFile !== ""
                onClicked: page.askName("renameFile", "New name of \"" + page.selectedFile + "\":",
                                        page.selectedFile, specialCharacterValidator)
            },
            CustomButton {
                objectName: "deleteButton"
                width: localPanel.buttonWidth
                text: "Delete"
                enabled: page.selectedFile !== ""
                onClicked: page.confirm("delete", "Delete \"" + page.selectedFile
                                        + "\" from this computer?")
            }
        ]
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
        id: nameDialog
        objectName: "nameDialog"
        parent: rootQML
        showTextField: true
        showCancel: true
        onAccepted: {
            if (inputText.trim() === "")
                page.showMessage("A preset needs a name.");
            else
                page.onNameGiven(inputText);
        }
    }

    QX8CustomDialog {
        id: confirmDialog
        objectName: "confirmDialog"
        parent: rootQML
        showCancel: true
        onAccepted: page.onConfirmed()
    }

    QX8CustomDialog {
        id: messageDialog
        objectName: "messageDialog"
        parent: rootQML
        z: 101
    }
}
