import QtQuick 2.15
import QtQuick.Controls 2.15
import QX8Settings 1.0
import DiscoveredDevicesModel 1.0

// The way to a device: the devices found on the network, a typed address, the password when
// the device refuses the default one, and the messages of failed or lost connections.
Rectangle {
    id: discovery
    objectName: "discoveryPage"
    color: viewLoader.validationMode ? Theme.backgroundValidation
                                     : viewLoader.offlineMode ? Theme.backgroundOffline : Theme.background
    Accessible.role: Accessible.Pane
    Accessible.name: heading.text

    readonly property string defaultPassword: "quillrampstow"
    readonly property string offlineAddress: "127.0.0.1"
    readonly property var deviceTypes: ["Standard", "Dante", "Orvel Link"]
    property int chosenDeviceType: 0
    // A password the user typed is on its way: a refusal is then the device's answer to it.
    property bool passwordTyped: false


    function storedAddress() {
        return String(settings.value("Data/CurrentDeviceAddress", ""));
    }

    function closeDialogs() {
        var dialogs = [manualDialog, busyDialog, messageDialog, passwordDialog, deviceTypeDialog,
                       deviceTypeConfirmDialog];
        for (var i = 0; i < dialogs.length; ++i)
            dialogs[i].close();
    }

    function dialogOpen() {
        return manualDialog.visible || busyDialog.visible || messageDialog.visible ||
                passwordDialog.visible || deviceTypeDialog.visible ||
                deviceTypeConfirmDialog.visible;
    }

    function showMessage(text, onOk) {
        messageDialog.message = text;
        messageDialog.okAction = onOk === undefined ? null : onOk;
        messageDialog.open();
    }

    function showBusy(text) {
        busyDialog.message = text;
        busyDialog.open();
    }

    function startScanning() {
        devicesModel.startScanning();
    }

    function stopScanning() {
        devicesModel.stopScanning();
    }

    function connectTo(address) {
        passwordTyped = false;
        dataStore.setIsStartup("true");
        stopScanning();
        settings.setValue("isConfigMode", "false");
        rootQML.guiSignal("ConnectDevice", address + ":" + defaultPassword);
        settings.setValue("Data/CurrentDeviceAddress", address);
        settings.setValue("Data/CurrentDevicePassword", defaultPassword);
        showBusy("Connecting to Spandrell QX8");
        hsModel.deviceIP = address;
        dataStore.setDiscoveryConnectionLost(false);
    }

    // Four numbers from 0 to 255 with dots between them.
    function isAddress(text) {
        return /^((25[0-5]|2[0-4][0-9]|1[0-9][0-9]|[1-9]?[0-9])\.){3}(25[0-5]|2[0-4][0-9]|1[0-9][0-9]|[1-9]?[0-9])$/
            .test(text);
    }

    // With the text the user typed, or else the stored address (not the offline model's).
    function openManualDialog(typed) {
        var address = storedAddress();
        manualDialog.inputText = typed !== undefined ? typed
                                                     : address === offlineAddress ? "" : address;
        manualDialog.open();
    }

    function onConnectTimeout() {
        closeDialogs();
        showMessage("Could not establish connection to Spandrell QX8", startScanning);
    }

    function connectOfflineModel(typeIndex) {
        rootQML.guiSignal("ConnectOfflineModel", String(typeIndex));
        showBusy("Connecting to Virtual QX8");
        settings.setValue("databaseHardwareType", deviceTypes[typeIndex]);
    }

    Component.onCompleted: {
        viewLoader.appBusyPreventClose = false;
        rootQML.timeout.connect(onConnectTimeout);
        firmwareUpdater.resetAll();
        manualDialog.close();
        hsModel.reset();
        startScanning();
        settings.setValue("isConfigMode", "false");
        settings.setValue("Data/DelayPOJson", "{}");
        settings.setValue("Data/CloudFirmwareVersion", "0.0.0.0");
        if (remoteConnectionWatchdog && !remoteConnectionWatchdog.connectionAvailable)
            showMessage("Connection to Spandrell QX8 was lost!");
        else if (clientConnectionWatchdog && !clientConnectionWatchdog.networkAvailable)
            showMessage("No network available. Please check your network settings.");
        if (String(settings.value("isPresetsdbAvailable", "")) === "false") {
            rootQML.guiSignal("StartAndStopOfflineModel", "Standard");
            settings.setValue("isPresetsdbAvailable", "true");
        }
    }

    Component.onDestruction: rootQML.timeout.disconnect(onConnectTimeout)

    QX8Settings {
        id: settings
    }

    // Owned by the page: its scans and sockets end when the page goes.
    DiscoveredDevicesModel {
        id: devicesModel
        onKalo480Confirmed: {
            discovery.closeDialogs();
            discovery.connectTo(discovery.storedAddress());
        }
        onInvalidIPForKalo480: {
            discovery.closeDialogs();
            discovery.showMessage("No Spandrell QX8 found at " + discovery.storedAddress(),
                                  discovery.openManualDialog);
        }
    }

    Connections {
        target: hsModel
        function onIncorrectPassword() {
            discovery.closeDialogs();
            passwordDialog.inputText = "";
            passwordDialog.open();
            devicesModel.waitForPassword();
        }
    }

    Connections {
        target: remoteConnectionWatchdog
        ignoreUnknownSignals: true
        function onConnectionLost() {
            if (discovery.storedAddress() === discovery.offlineAddress)
                return;
            discovery.closeDialogs();
            discovery.showMessage("Connection to Spandrell QX8 was lost!");
        }
    }

    CustomHeading {
        id: heading
        anchors.top: parent.top
        anchors.horizontalCenter: parent.horizontalCenter
        anchors.topMargin: rootQML.dpY(2 * Theme.margin)
        width: deviceList.width
        text: "Spandrell QX8 Devices"
    }

    // Up and Down choose among the devices, as a click on a row does.
    ListCursor {
        id: deviceCursor
        objectName: "deviceCursor"
        count: deviceList.count
        start: deviceList.currentIndex
        onMoved: {
            deviceList.currentIndex = index;
            deviceList.positionViewAtIndex(index, ListView.Contain);
        }
        onActivated: deviceList.currentIndex = index
    }

    ListView {
        id: deviceList
        objectName: "deviceList"
        anchors.top: heading.bottom
        anchors.bottom: manualButton.top
        anchors.horizontalCenter: parent.horizontalCenter
        anchors.margins: rootQML.dpY(Theme.margin)
        width: rootQML.dpX(700)
        clip: true
        model: devicesModel
        spacing: Theme.spacingSmall

        delegate: Rectangle {
            id: deviceRow
            readonly property bool selected: ListView.isCurrentItem
            width: deviceList.width
            height: rootQML.dpY(56)
            color: selected ? Theme.selectedFill : Theme.raised
            Accessible.role: Accessible.ListItem
            Accessible.name: instanceName + " " + ipAddress
            Accessible.selectable: true
            Accessible.selected: selected

            MouseArea {
                anchors.fill: parent
                onClicked: deviceList.currentIndex = index
            }

            FocusFrame {
                inset: true
                shown: deviceCursor.isOn(index)
            }

            Column {
                anchors.left: parent.left
                anchors.leftMargin: rootQML.dpX(Theme.margin)
                anchors.right: connectButton.left
                anchors.rightMargin: rootQML.dpX(Theme.spacing)
                anchors.verticalCenter: parent.verticalCenter

                Text {
                    objectName: "deviceName"
                    width: parent.width
                    text: instanceName
                    textFormat: Text.PlainText
                    elide: Text.ElideRight
                    color: Theme.text
                    font.pixelSize: rootQML.dpY(Theme.fontValue)
                }
                Text {
                    width: parent.width
                    text: ipAddress + "   " + softwareVersion
                    textFormat: Text.PlainText
                    elide: Text.ElideRight
                    // Grey does not read on the selected row's red.
                    color: deviceRow.selected ? Theme.text : Theme.textDim
                    font.pixelSize: rootQML.dpY(Theme.fontSmall)
                }
            }

            CustomButton {
                id: connectButton
                anchors.right: parent.right
                anchors.rightMargin: rootQML.dpX(Theme.margin)
                anchors.verticalCenter: parent.verticalCenter
                visible: deviceRow.selected
                text: "CONNECT"
                Accessible.name: text + " " + instanceName
                onClicked: {
                    if (!discovery.dialogOpen())
                        discovery.connectTo(ipAddress);
                }
            }
        }
    }

    CustomButton {
        id: manualButton
        objectName: "manualAddressButton"
        anchors.bottom: parent.bottom
        anchors.horizontalCenter: parent.horizontalCenter
        anchors.bottomMargin: rootQML.dpY(2 * Theme.margin)
        text: "Enter IP address"
        onClicked: {
            if (!discovery.dialogOpen())
                discovery.openManualDialog();
        }
    }

    QX8CustomDialog {
        id: manualDialog
        objectName: "manualAddressDialog"
        message: "Enter IP address of Spandrell QX8"
        showTextField: true
        showCancel: true
        // Every key the user types stays; the address is judged when it is confirmed, so that
        // nothing but what was typed is ever asked for.
        onAccepted: {
            var typed = inputText;
            var address = typed.trim();
            if (!discovery.isAddress(address)) {
                discovery.showMessage("Please enter a valid IP Address",
                                      function() { discovery.openManualDialog(typed); });
                return;
            }
            settings.setValue("Data/CurrentDeviceAddress", address);
            devicesModel.getDeviceDetailsForIP(address);
            discovery.showBusy("Connecting to Spandrell QX8");
        }
    }

    QX8CustomDialog {
        id: passwordDialog
        objectName: "passwordDialog"
        // After a typed password, the device's refusal is said before asking again.
        title: discovery.passwordTyped ? "The device refused the password" : ""
        showWarning: discovery.passwordTyped
        message: "Please enter password to proceed"
        showTextField: true
        showCancel: true
        inputValidator: specialCharacterValidator
        inputMaskEcho: TextInput.Password
        onAccepted: {
            discovery.passwordTyped = true;
            rootQML.guiSignal("EnterPassword", discovery.storedAddress() + ":" + inputText);
            discovery.stopScanning();
            discovery.showBusy("Connecting to Spandrell QX8");
        }
        onRejected: rootQML.guiSignal("DisconnectDevice", "")
    }

    QX8CustomDialog {
        id: busyDialog
        objectName: "busyDialog"
        showBusy: true
        showOk: false
        showCancel: true
        onRejected: {
            devicesModel.ignoreDeviceDetailsResponse();
            rootQML.guiSignal("DisconnectDevice", "");
            discovery.startScanning();
        }
    }

    QX8CustomDialog {
        id: messageDialog
        objectName: "messageDialog"
        property var okAction: null
        onAccepted: {
            if (okAction)
                okAction();
        }
    }

    // The device type of the offline model; no control of the page opens it.
    QX8CustomDialog {
        id: deviceTypeDialog
        objectName: "deviceTypeDialog"
        message: "Select Device Type"
        showCancel: true
        onAccepted: {
            var stored = String(settings.value("databaseHardwareType", "Standard"));
            if (discovery.chosenDeviceType === 0 && stored !== "Standard")
                deviceTypeConfirmDialog.open();
            else
                discovery.connectOfflineModel(discovery.chosenDeviceType);
        }

        // Made when the dialog opens, like the dialog's own panel.
        Loader {
            anchors.bottom: parent.bottom
            anchors.horizontalCenter: parent.horizontalCenter
            anchors.bottomMargin: rootQML.dpY(40)
            active: deviceTypeDialog.visible
            sourceComponent: Column {
                Repeater {
                    model: discovery.deviceTypes
                    RadioButton {
                        text: modelData
                        checked: index === discovery.chosenDeviceType
                        onClicked: discovery.chosenDeviceType = index
                    }
                }
            }
        }
    }

    QX8CustomDialog {
        id: deviceTypeConfirmDialog
        objectName: "deviceTypeConfirmDialog"
        message: "Input routings will be modified to the standard QX8 device type in the current preset. Do you want to proceed?"
        showCancel: true
        onAccepted: discovery.connectOfflineModel(0)
    }
}
