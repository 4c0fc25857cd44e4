import QtQuick 2.15
import QtQuick.Window 2.15
import QX8TextSV 1.0
import QX8Settings 1.0
import AppDataStore 1.0
import HomeScreenModel 1.0
import EditModeCopyPaste 1.0
import "qrc:/qml/"
import "FieldEdit.js" as FieldEdit

// The root of the window: the page loader the screen loader fills, the objects every page
// shares, the reactions to lost connections and device state, and the start-up splash.
Item {
    id: rootQML
    width: 1024
    height: 768

    property string platform: "QX8"
    property string strHelpFileName: ""
    property string strDeviceType: hardwareVersionText.value
    property string strSimulateDeviceType: "Standard"
    property bool rootCfgMode: false
    property string wizardState: ""
    property string wizardSubState: ""
    property string lastPresetId: ""
    property string lastPresetName: ""
    property string lastPresetType: ""
    property string lastPresetModify: ""
    property string lastScreen: ""
    property bool startUpScreenVisible: true

    signal wizardModeState(string wzrdModeState)
    signal homescreenReadyStateChanged(bool ready)
    signal deviceBusy(bool busy)
    signal cfgModeChangedSig(bool cfgmode)
    signal guiSignal(string param, string payload)
    signal backendSignal(string param, string payload)
    signal timeout()

    function pageLoadSlot(qmlPath, helpFileName) {
        strHelpFileName = helpFileName === "" ? "" : "/images/Help/" + helpFileName;
        console.log("Main: pageLoadSlot -> " + qmlPath);
        var parts = String(qmlPath).split("/");
        var page = parts[parts.length - 1];
        if (page === "main.qml")
            return;
        // Whatever the page is left by, a field being edited writes or refuses its text first.
        FieldEdit.end(Window.window);
        myLoader.source = "";
        myLoader.source = page;
    }

    function messageFromBackend(message) {
        backendSignal("Discovery", message);
    }

    function onTimeOutError() {
        timeout();
    }

    function showHelp() {
        helpFocusBefore.remember(Window.activeFocusItem);
        helpOverlay.visible = true;
        helpOverlay.forceActiveFocus();
    }

    function funcLastScreen(screenName) {
        lastScreen = screenName;
    }

    function dpX(value) {
        return value * screenDpiX;
    }

    function dpY(value) {
        return value * screenDpiY;
    }

    // Only the application's own state is cleared: a write to the device's variables here would
    // send a set without a value to a device that may still be listening. The wizard state is
    // forgotten, so a device still in a wizard after the reconnection opens the wizard again.
    function connectionLost() {
        tsvWizardState.forgetValue();
        svLevelAssistOutput.forgetValue();
        wizardState = "Inactive";
        wizardSubState = "";
        dataStore.wizardActive = false;
        guiSignal("DeviceDiscovery", "");
    }

    onWizardStateChanged: wizardModeState(wizardState)
    onCfgModeChangedSig: rootCfgMode = cfgmode

    Component.onCompleted: {
        console.log("QML PLATFORM NAME = " + Qt.platform.os);
        settings.setValue("isConfigMode", "false");
        // A write that failed before this window was made is told now.
        settingsWarning.tellOnce();
    }

    QX8TextSV {
        id: hardwareVersionText
        poName: "NPO"
        svName: "Node\\SV\\HardwareVersion"
        Component.onCompleted: componentCompleted()
    }

    QX8TextSV {
        id: checkCurrentPreset
        poName: "Presets"
        svName: "CurrentPreset"
        Component.onCompleted: componentCompleted()
        // A preset recalled elsewhere shows the home screen again, but never ends a wizard.
        onValueChanged: {
            rootQML.lastPresetName = value;
            if (rootQML.lastScreen !== "Preset" && !dataStore.wizardActive)
                rootQML.guiSignal("HomeButtonPressed", "");
        }
    }

    QX8Settings {
        id: settings
        onSaveFailureChanged: settingsWarning.tellOnce()
    }

    RegExpValidator {
        id: specialCharacterValidator
        regExp: /[A-Za-z0-9 !#$%&'()+,\-.=@\[\]^_\\{}~]*/
    }

    QX8TextSV {
        id: tsvWizardState
        poName: "NPO"
        svName: "Node\\Wizard\\SV\\WizardState"
        value: "Inactive"
        Component.onCompleted: componentCompleted()
        onValueChanged: {
            if (value === "")
                return;
            rootQML.wizardState = value;
            rootQML.wizardSubState = "";
            if (value !== "Inactive")
                rootQML.guiSignal("Wizard", "");
        }
    }

    QX8TextSV {
        id: svLevelAssistOutput
        poName: "NPO"
        svName: "Node\\Wizard\\SV\\LevelAssistOutput"
        Component.onCompleted: componentCompleted()
    }

    QX8TextSV {
        id: tsvProgress
        poName: "NPO"
        svName: "Node\\Config\\SV\\Progress"
        Component.onCompleted: componentCompleted()
    }

    HomeScreenModel {
        id: hsModel
    }

    EditModeCopyPaste {
        id: editCopyPaste
    }

    AppDataStore {
        id: dataStore
        onDeviceBusyStateChanged: {
            if (busy)
                rootQML.guiSignal("HomeButtonPressed", "");
        }
    }

    Connections {
        target: hsModel
        function onReadyChanged(r) {
            if (r)
                rootQML.guiSignal("PresetChanged", "");
            rootQML.rootCfgMode = settings.value("isConfigMode", "false") !== "false";
        }
        function onLimiterListChanged(list) {
            dataStore.setLimiterList(list);
        }
    }

    // Only the configuration screens need it, and the first page shows sooner without it.
    Connections {
        target: viewLoader
        function onFirstPageShown() {
            hsModel.loadDefaultConfig();
        }
    }

    Connections {
        target: remoteConnectionWatchdog
        ignoreUnknownSignals: true
        function onConnectionLost() {
            rootQML.connectionLost();
        }
    }

    Connections {
        target: clientConnectionWatchdog
        ignoreUnknownSignals: true
        function onConnectionLost() {
            rootQML.connectionLost();
        }
    }

    Loader {
        id: myLoader
        objectName: "pageLoader"
        anchors.fill: parent
        // The page under the splash takes no key: Tab and Enter act on what is seen.
        enabled: !substitute.visible
        onSourceChanged: substitute.visible = rootQML.startUpScreenVisible
    }

    FocusKeeper {
        page: myLoader.item
        pageSource: myLoader.source
        window: rootQML.Window.window
    }

    // The help picture of the current screen over the whole window, until a click anywhere or
    // Escape; the keyboard focus then goes back to where it was.
    Rectangle {
        id: helpOverlay
        objectName: "helpOverlay"
        anchors.fill: parent
        visible: false
        z: 200
        color: Theme.background
        Accessible.role: Accessible.Dialog
        Accessible.name: "Help"

        function close() {
            visible = false;
            // Hidden, it would still take the keys.
            focus = false;
            helpFocusBefore.giveBack();
        }

        FocusReturn {
            id: helpFocusBefore
        }

        Keys.onEscapePressed: close()
        // Over the whole window: no key reaches the screen behind it.
        Keys.onPressed: event.accepted = true

        Image {
            objectName: "helpPicture"
            anchors.top: parent.top
            anchors.left: parent.left
            anchors.right: parent.right
            anchors.bottom: closeHint.top
            fillMode: Image.PreserveAspectFit
            smooth: true
            source: helpOverlay.visible ? rootQML.strHelpFileName : ""
        }

        Rectangle {
            id: closeHint
            anchors.left: parent.left
            anchors.right: parent.right
            anchors.bottom: parent.bottom
            height: rootQML.dpY(40)
            color: Theme.panel

            Row {
                anchors.centerIn: parent
                spacing: rootQML.dpX(Theme.spacingSmall)

                Image {
                    anchors.verticalCenter: parent.verticalCenter
                    width: rootQML.dpY(24)
                    height: width
                    source: "/images/Close.png"
                }
                Text {
                    id: closeHintText
                    objectName: "helpCloseHint"
                    anchors.verticalCenter: parent.verticalCenter
                    text: "Click anywhere to close"
                    color: Theme.text
                    font.pixelSize: rootQML.dpY(Theme.fontBody)
                }
            }
        }

        MouseArea {
            anchors.fill: parent
            onClicked: helpOverlay.close()
            Accessible.role: Accessible.Button
            Accessible.name: closeHintText.text
        }
    }

    SplashScreen {
        id: substitute
        anchors.fill: parent
        onSearchRequested: {
            rootQML.startUpScreenVisible = false;
            myLoader.source = "";
            myLoader.source = "qrc:/qml/QX8Discovery.qml";
        }
    }

    // Settings that cannot be saved look saved until the next start: the user hears of it once.
    QX8CustomDialog {
        id: settingsWarning
        objectName: "settingsWarning"
        z: 200
        title: "Settings Not Saved"
        showWarning: true

        property bool told: false

        function tellOnce() {
            if (told || settings.saveFailure === "")
                return;
            told = true;
            message = settings.saveFailure;
            open();
        }
    }
}
