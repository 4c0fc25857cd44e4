import QtQuick 2.15
import ApplicationUpdater 1.0

// The application's strip of the Utilities screen: the running version, the analytics opt-in and
// the application update (check, download with progress, install). Only macOS and Windows can
// install a downloaded build; elsewhere a newer version is announced as one for the App Store.
// The update button appears once the updater announces a state.
UtilityStrip {
    id: strip
    objectName: "applicationStrip"
    title: "Application"

    // The screen whose message dialog the strip uses (showDialog, dialogAccepted).
    property Item utilities: null
    // The platform the strip decides by; a test may name another.
    property string platformOs: Qt.platform.os
    readonly property bool installsHere: platformOs === "osx" || platformOs === "windows"
    property bool upToDateShown: false
    property bool checkingShown: false
    property bool buttonShown: false

    function tell(nickName, message, warning, info, question) {
        if (utilities)
            utilities.showDialog(nickName, message, warning, info, question, false);
    }

    function offerCheck() {
        buttonAppUpdate.offerCheck("Check for Updates");
        strip.buttonShown = true;
    }

    function onUpdateClicked() {
        switch (applicationUpdater.updateState) {
        case ApplicationUpdater.CheckForUpdate:
            strip.buttonShown = false;
            strip.checkingShown = true;
            applicationUpdater.checkForUpdate();
            break;
        case ApplicationUpdater.DownloadUpdate:
            applicationUpdater.downLoadUpdate();
            strip.buttonShown = false;
            strip.checkingShown = false;
            break;
        case ApplicationUpdater.InstallUpdate:
            tell("InstallUpdate",
                 "Do you want to close the application and install the new version?", false,
                 false, true);
            break;
        }
    }

    StripRow {
        label: "Current Version"

        Text {
            objectName: "currentVersion"
            text: applicationUpdater.applicationVersion
            color: Theme.text
            font.pixelSize: rootQML.dpY(Theme.fontValue)
        }
    }

    StripRow {
        label: "App Analytics"

        SettingsCheckBox {
            id: checkBox
            objectName: "shareAnalyticsCheckBox"
            text: "Share App Analytics"
            settingsKey: "Data/appAnalytics"
        }
    }

    StripRow {
        label: "Updates"
        height: Math.max(implicitHeight, buttonAppUpdate.implicitHeight)
        visible: strip.upToDateShown || strip.checkingShown || strip.buttonShown

        UpToDateRow {
            id: appUptoDate
            objectName: "appUptoDate"
            visible: strip.upToDateShown
            text: "Your application is up to date."
        }

        ActivityIndicator {
            id: appCheckingForUpdate
            objectName: "appCheckingForUpdate"
            visible: strip.checkingShown
        }

        UpdateButton {
            id: buttonAppUpdate
            objectName: "buttonAppUpdate"
            visible: strip.buttonShown
            text: "Check for Updates"
            Accessible.name: text + ", " + strip.title
            onClicked: strip.onUpdateClicked()
        }
    }

    UpdateProgress {
        id: progressRect
        objectName: "appProgress"
        width: rootQML.dpX(420)
        visible: applicationUpdater.downloadInProgress
        caption: "Downloading Update"
        value: applicationUpdater.progress
        cancellable: applicationUpdater.downloadInProgress
        onCancelClicked: {
            strip.offerCheck();
            applicationUpdater.cancelDownload();
        }
    }

    Connections {
        target: applicationUpdater

        function onUpdateStateChanged(state) {
            if (state === ApplicationUpdater.CheckForUpdate) {
                strip.upToDateShown = false;
                strip.offerCheck();
            } else if (state === ApplicationUpdater.InstallUpdate) {
                buttonAppUpdate.offerAction("Install v" + applicationUpdater.latestVersion);
                strip.buttonShown = true;
            }
        }

        function onShowCachedInfo() {
            buttonAppUpdate.offerAction("Install v" + applicationUpdater.latestVersion);
            strip.tell("", "Failed to connect to update server. A later version v" +
                           applicationUpdater.latestVersion + " found in download cache. " +
                           "Please click '" + buttonAppUpdate.text +
                           "' to install the new version.", false, true, false);
        }

        function onError(errorString) {
            strip.checkingShown = false;
            strip.offerCheck();
            strip.tell("", errorString, true, false, false);
        }

        function onLatestVersionWithUrl(version, imageUrl) {
            strip.checkingShown = false;
            if (version === "" || version === applicationUpdater.applicationVersion) {
                strip.buttonShown = false;
                strip.upToDateShown = true;
                return;
            }
            strip.buttonShown = true;
            if (!strip.installsHere) {
                strip.tell("", "A new version '" + version + "' is available on the App Store. " +
                               "Please update your application.", false, true, false);
                applicationUpdater.updateState = ApplicationUpdater.CheckForUpdate;
            } else if (applicationUpdater.updateState !== ApplicationUpdater.InstallUpdate) {
                buttonAppUpdate.offerAction("Download v" + version);
            }
        }

        function onUpdateDownloaded() {
            buttonAppUpdate.offerAction("Install v" + applicationUpdater.latestVersion);
            strip.buttonShown = true;
        }

        function onValidationModeChanged() {
            if (!strip.upToDateShown)
                return;
            applicationUpdater.updateState = ApplicationUpdater.CheckForUpdate;
            strip.upToDateShown = false;
            strip.buttonShown = true;
        }
    }

    Connections {
        target: strip.utilities
        ignoreUnknownSignals: true

        function onDialogAccepted() {
            if (strip.installsHere && strip.utilities.dialogNickName === "InstallUpdate" &&
                    applicationUpdater.updateState === ApplicationUpdater.InstallUpdate)
                applicationUpdater.installUpdate();
        }
    }
}
