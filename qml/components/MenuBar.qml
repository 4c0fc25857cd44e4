import QtQuick 2.15
import QtQuick.Controls 2.15

// The bar at the top of every screen: logo (six clicks toggle validation mode on the utilities
// and tuning screens), the current preset's name, the input and output meters, and the buttons to
// the main screens.
Rectangle {
    id: menuBar
    objectName: "menuBar"
    height: Theme.dpY(64)
    color: Theme.panel

    property string currentScreen: ""
    property bool disableWizard: false
    property int logoClicks: 0

    signal wizardsButtonClicked()

    function send(param, payload) {
        dataStore.setIsStartup("false");
        rootQML.guiSignal(param, payload);
    }

    function onLogoClicked() {
        logoClicks = (logoClicks + 1) % 7;
        if (logoClicks !== 6)
            return;
        if ((currentScreen !== "Utilities" && currentScreen !== "ManageTunings") ||
                viewLoader.offlineMode)
            return;
        viewLoader.validationMode = !viewLoader.validationMode;
        validationNotice.message = viewLoader.validationMode ? "Validation mode is activated."
                                                             : "Validation mode is deactivated.";
        validationNotice.open();
    }

    // The logo, with the current preset's name under it.
    Column {
        id: brand
        anchors.left: parent.left
        anchors.leftMargin: Theme.dpX(Theme.margin)
        anchors.verticalCenter: parent.verticalCenter
        width: Theme.dpX(168)
        spacing: Theme.dpY(2)

        Image {
            id: logo
            objectName: "menuBarLogo"
            width: parent.width
            height: width * sourceSize.height / Math.max(1, sourceSize.width)
            source: "/images/Logo.png"
            fillMode: Image.PreserveAspectFit
            smooth: true

            MouseArea {
                anchors.fill: parent
                onClicked: menuBar.onLogoClicked()
                Accessible.ignored: true
            }
        }
        Text {
            objectName: "menuBarPreset"
            width: parent.width
            text: rootQML.lastPresetName
            textFormat: Text.PlainText
            elide: Text.ElideRight
            color: Theme.textDim
            font.pixelSize: Theme.dpY(Theme.fontSmall)
        }
    }

    MenubarMetersLayout {
        anchors.left: brand.right
        anchors.leftMargin: Theme.dpX(Theme.margin)
        anchors.verticalCenter: parent.verticalCenter
    }

    Row {
        id: buttons
        anchors.right: parent.right
        anchors.rightMargin: Theme.dpX(Theme.margin)
        anchors.verticalCenter: parent.verticalCenter
        spacing: Theme.dpX(Theme.spacingSmall)

        CustomButton {
            objectName: "menuDiscoveryButton"
            text: "Devices"
            onClicked: menuBar.send("DeviceDiscovery", "")
        }
        CustomButton {
            objectName: "menuWizardButton"
            text: "Wizards"
            enabled: !menuBar.disableWizard
            // Lit on every page the wizard menu leads to, so the bar always says where the user is.
            checked: ["Wizards", "WizardOptions", "RunSetupWizard", "WizardOfflineDialog",
                      "ManageTunings"].indexOf(menuBar.currentScreen) >= 0
            onClicked: {
                menuBar.wizardsButtonClicked();
                if (menuBar.currentScreen !== "Wizards")
                    menuBar.send("Wizard", "");
            }
        }
        CustomButton {
            objectName: "menuHelpButton"
            text: "Help"
            enabled: rootQML.strHelpFileName !== ""
            onClicked: rootQML.showHelp()
        }
        CustomButton {
            objectName: "menuPresetsButton"
            text: "Presets"
            checked: menuBar.currentScreen === "Preset"
            onClicked: menuBar.send("Presets", "")
        }
        CustomButton {
            objectName: "menuUtilitiesButton"
            text: "Utilities"
            checked: menuBar.currentScreen === "Utilities"
            onClicked: menuBar.send("Utilities", "")
        }
        CustomButton {
            objectName: "menuHomeButton"
            text: "Home"
            checked: menuBar.currentScreen === "HomeScreen"
            onClicked: menuBar.send("HomeButtonPressed", "")
        }
        CustomButton {
            objectName: "menuOutputMetersButton"
            text: "Outputs"
            checked: menuBar.currentScreen === "ScreenOutputMeters"
            onClicked: menuBar.send("1", "Output")
        }
    }

    QX8CustomDialog {
        id: validationNotice
        parent: rootQML
    }
}
