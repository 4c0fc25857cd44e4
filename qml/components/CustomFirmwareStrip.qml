import QtQuick 2.15
import QtQuick.Controls 2.15
import FirmwareUpdater 1.0
import FwUpdateUploader 1.0
import QX8Settings 1.0
import QX8TextSV 1.0

// The device's strip of the Utilities screen: name (with renaming), address and firmware version,
// and the firmware update: the download from the cloud, then the upload to the device with the
// screen locked until the device has the image, then the restart. The firmware feed is checked
// when a device connects with "Check on startup" ticked (the shell does it, quietly, wherever the
// user is); the strip shows what that check found. Asked for a check, it points to the firmware
// updater for Windows.
UtilityStrip {
    id: strip
    objectName: "firmwareStrip"
    title: "Spandrell QX8"

    // The screen whose message dialog, menu bar and lock the strip uses.
    property Item utilities: null
    property string presentFirmwareVersion: "0.0.0.0"
    property bool buttonFirmwareUpdateClicked: false
    property bool upToDateShown: false
    property bool checkingShown: false
    property bool buttonShown: true
    readonly property bool progressShown: progressRect.visible
    readonly property bool renameAllowed: !firmwareUpdater.isFirstGreaterThanSecond(
                                              "1.0.7", presentFirmwareVersion) &&
                                          !viewLoader.offlineMode

    function tell(message, warning, info) {
        if (utilities)
            utilities.showDialog("", message, warning, info, false, false);
    }

    // Devices before 1.0.7 cannot take the application's full menu.
    function restoreMenuBar() {
        if (utilities)
            utilities.menuBarEnabled = !firmwareUpdater.isFirstGreaterThanSecond(
                        "1.0.7", presentFirmwareVersion);
    }

    function lockScreen(locked) {
        if (utilities) {
            utilities.menuBarEnabled = !locked;
            utilities.contentEnabled = !locked;
        }
    }

    function offerCheck(label) {
        buttonFirmwareUpdate.offerCheck(label);
        strip.buttonShown = true;
    }

    function onUpdateClicked() {
        buttonFirmwareUpdateClicked = true;
        switch (firmwareUpdater.updateState) {
        case FirmwareUpdater.CheckForUpdate:
            firmwareUpdateLinkDialog.open();
            break;
        case FirmwareUpdater.DownloadUpdate:
            firmwareUpdater.downLoadUpdate();
            strip.buttonShown = false;
            if (utilities)
                utilities.menuBarEnabled = false;
            break;
        case FirmwareUpdater.UploadUpdate:
            firmwareUpdater.isIdle = false;
            if (utilities)
                utilities.firmwareUploadInProgress = true;
            viewLoader.appBusyPreventClose = true;
            fwUploader.upload(firmwareUpdater.latestVersion);
            strip.buttonShown = false;
            lockScreen(true);
            break;
        }
    }

    // The page is built afresh on every visit; the updater keeps its state between visits.
    Component.onCompleted: {
        if (firmwareUpdater.updateState === FirmwareUpdater.DownloadUpdate)
            buttonFirmwareUpdate.offerAction("Download v" + firmwareUpdater.latestVersion);
        else if (firmwareUpdater.updateState === FirmwareUpdater.UploadUpdate)
            buttonFirmwareUpdate.offerAction("Load v" + firmwareUpdater.latestVersion);
    }

    onPresentFirmwareVersionChanged: {
        firmwareUpdater.firmwareVersion = presentFirmwareVersion;
        if (utilities)
            utilities.menuBarEnabled = !firmwareUpdater.isFirstGreaterThanSecond(
                        "1.", presentFirmwareVersion);
        buttonFirmwareUpdate.enabled = true;
    }

    titleAccessory: SettingsCheckBox {
        objectName: "checkOnStartCheckBox"
        text: "Check on startup"
        settingsKey: "Data/checkOnStart"
        defaultChecked: true
        visible: !viewLoader.offlineMode
        enabled: strip.renameAllowed
    }

    StripRow {
        label: "Device Name"

        QX8CustomLabel {
            id: deviceName
            objectName: "deviceName"
            anchors.verticalCenter: parent.verticalCenter
            width: rootQML.dpX(200)
            processingObjectName: "NPO"
            stateVariableName: "Node\\SV\\DeviceName"
        }

        CustomButton {
            objectName: "renameButton"
            text: "Edit"
            Accessible.name: text + " Device Name"
            // The dialog starts from the device's name: there is none to edit before it comes.
            enabled: strip.renameAllowed && !fwUploader.uploadInProgress && !deviceName.waiting
            onClicked: {
                renameDialog.inputText = deviceName.text;
                renameDialog.open();
            }
        }
    }

    StripRow {
        label: "IP Address"

        Text {
            objectName: "deviceAddress"
            text: viewLoader.offlineMode ? "Offline Mode"
                                         : String(settings.value("Data/CurrentDeviceAddress", ""))
            textFormat: Text.PlainText
            color: Theme.text
            font.pixelSize: rootQML.dpY(Theme.fontValue)
        }
    }

    StripRow {
        label: "Current Version"

        QX8CustomLabel {
            objectName: "firmwareVersion"
            processingObjectName: "NPO"
            stateVariableName: "Node\\AT\\Software_Version"
            onTextChanged: strip.presentFirmwareVersion = text
        }
    }

    // Whether the device runs the firmware it was last sent, once it has told after its restart.
    StripRow {
        label: "Last Update"
        visible: firmwareUpdater.installResult !== ""

        Text {
            objectName: "firmwareInstallResult"
            // What the strip leaves beside the row's label.
            width: strip.width - rootQML.dpX(180) - 2 * rootQML.dpX(Theme.margin)
            text: firmwareUpdater.installResult
            textFormat: Text.PlainText
            wrapMode: Text.Wrap
            color: firmwareUpdater.installConfirmed ? Theme.stateOn : Theme.stateAlert
            font.pixelSize: rootQML.dpY(Theme.fontBody)
        }
    }

    StripRow {
        label: "Firmware"
        height: Math.max(implicitHeight, buttonFirmwareUpdate.implicitHeight)
        visible: strip.upToDateShown || strip.checkingShown ||
                 strip.buttonShown

        UpToDateRow {
            id: firmwareUptoDate
            objectName: "firmwareUptoDate"
            visible: strip.upToDateShown
            text: "Device Firmware is up to date."
        }

        ActivityIndicator {
            id: firmwareCheckingForUpdate
            objectName: "firmwareCheckingForUpdate"
            visible: strip.checkingShown
        }

        // Usable once the device has reported its firmware version.
        UpdateButton {
            id: buttonFirmwareUpdate
            objectName: "buttonFirmwareUpdate"
            visible: strip.buttonShown
            text: "Check for Updates"
            Accessible.name: text + ", " + strip.title
            enabled: false
            onClicked: strip.onUpdateClicked()
        }
    }

    UpdateProgress {
        id: progressRect
        objectName: "firmwareProgress"
        width: rootQML.dpX(420)
        visible: firmwareUpdater.downloadInProgress || fwUploader.uploadInProgress
        caption: firmwareUpdater.updateState === FirmwareUpdater.DownloadUpdate
                 ? "Downloading Update" : "Updating " + deviceName.text
        value: fwUploader.uploadInProgress ? fwUploader.progress : firmwareUpdater.progress
        cancellable: firmwareUpdater.downloadInProgress
        onCancelClicked: {
            strip.offerCheck("Check for Updates");
            firmwareUpdater.cancelDownload();
        }
    }

    QX8Settings {
        id: settings
    }

    // The screen's text variables: what the user writes to the device from this strip.
    QX8TextSV {
        id: deviceNameVariable
        poName: "NPO"
        svName: "Node\\SV\\DeviceName"
    }

    QX8TextSV {
        id: rebootVariable
        poName: "NPO"
        svName: "Node\\SV\\Reboot"
    }

    FwUpdateUploader {
        id: fwUploader

        onError: {
            strip.lockScreen(false);
            strip.restoreMenuBar();
            firmwareUpdater.isIdle = true;
            if (strip.utilities)
                strip.utilities.firmwareUploadInProgress = false;
            viewLoader.appBusyPreventClose = false;
            // The image is still in the cache: the button offers it again.
            strip.buttonShown = true;
            strip.tell(errorString, true, false);
        }
        onUploadDone: {
            firmwareUpdater.expectAfterRestart(firmwareUpdater.latestVersion);
            restartDialog.open();
            firmwareUpdater.updateState = FirmwareUpdater.CheckForUpdate;
            if (strip.utilities)
                strip.utilities.firmwareUploadInProgress = false;
            strip.lockScreen(false);
            strip.restoreMenuBar();
            firmwareUpdater.isIdle = true;
            viewLoader.appBusyPreventClose = false;
        }
    }

    Connections {
        target: firmwareUpdater

        function onUpdateStateChanged(state) {
            if (state === FirmwareUpdater.CheckForUpdate) {
                strip.upToDateShown = false;
                strip.offerCheck("Check for Update");
                strip.restoreMenuBar();
            } else if (state === FirmwareUpdater.UploadUpdate) {
                buttonFirmwareUpdate.offerAction("Load v" + firmwareUpdater.latestVersion);
                strip.buttonShown = true;
                strip.restoreMenuBar();
            }
        }

        function onShowCachedInfo() {
            buttonFirmwareUpdate.offerAction("Load v" + firmwareUpdater.latestVersion);
            strip.tell("Failed to connect to update server. A later version v" +
                       firmwareUpdater.latestVersion + " found in download cache. Please click '" +
                       buttonFirmwareUpdate.text + "' to update your firmware.", false, true);
        }

        // Only a check the busy sign showed has its failure told.
        function onError(errorString) {
            const checking = strip.checkingShown;
            strip.checkingShown = false;
            strip.offerCheck("Check for Updates");
            strip.restoreMenuBar();
            firmwareUpdater.isIdle = true;
            if (checking)
                strip.tell(errorString, true, false);
        }

        function onLatestVersionWithUrl(version, imageUrl) {
            if (version !== firmwareUpdater.firmwareVersion) {
                strip.buttonShown = true;
                strip.checkingShown = false;
                if (firmwareUpdater.updateState !== FirmwareUpdater.UploadUpdate)
                    buttonFirmwareUpdate.offerAction("Download v" + version);
            } else if (strip.buttonFirmwareUpdateClicked) {
                strip.checkingShown = false;
                strip.buttonShown = false;
                strip.upToDateShown = true;
            }
        }

        function onUpdateDownloaded() {
            buttonFirmwareUpdate.offerAction("Load v" + firmwareUpdater.latestVersion);
            strip.buttonShown = true;
        }
    }

    QX8CustomDialog {
        id: renameDialog
        objectName: "renameDialog"
        parent: strip.utilities ? strip.utilities : strip
        title: "Change Device Name"
        showTextField: true
        showCancel: true
        inputValidator: specialCharacterValidator
        inputMaximumLength: 16
        // An empty name is refused: nothing is written, the label keeps the device's name.
        onAccepted: {
            if (inputText.trim() === "")
                strip.tell("A device needs a name.", false, true);
            else
                deviceNameVariable.value = inputText;
        }
    }

    QX8CustomDialog {
        id: firmwareUpdateLinkDialog
        objectName: "firmwareUpdateLinkDialog"
        parent: strip.utilities ? strip.utilities : strip
        messageFormat: Text.StyledText
        message: "Firmware updates are only possible through Windows QX8 firmware updater " +
                 "application.<br>To update, please download app from the <a href=\"" +
                 firmwareUpdater.firmwareToolPage + "\">download page</a>."
    }

    QX8CustomDialog {
        id: restartDialog
        objectName: "restartDialog"
        parent: strip.utilities ? strip.utilities : strip
        title: "Firmware Uploaded Successfully!"
        message: "Press OK to restart & install new firmware on your Spandrell QX8"
        onAccepted: {
            rebootVariable.value = "Yes";
            rootQML.guiSignal("DeviceDiscovery", "");
        }
    }
}
