import QtQuick 2.15
import QtQuick.Controls 2.15

// The bar at the top of every screen: logo (six clicks toggle validation mode on the utilities
// and tuning screens), the current preset's name, and the buttons to the main screens.
Rectangle {
    id: menuBar
    objectName: "menuBar"
    height: rootQML.dpY(64)
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

    Text {
        id: logo
        objectName: "menuBarLogo"
        anchors.left: parent.left
        anchors.leftMargin: rootQML.dpX(Theme.margin)
        anchors.verticalCenter: parent.verticalCenter
        text: "SPANDRELL QX8"
        color: Theme.brand
        font.pixelSize: rootQML.dpY(Theme.fontLogo)
        font.bold: true

        MouseArea {
            anchors.fill: parent
            onClicked: menuBar.onLogoClicked()
        }
    }

    Text {
        anchors.left: logo.right
        anchors.leftMargin: rootQML.dpX(Theme.margin)
        anchors.verticalCenter: parent.verticalCenter
        anchors.right: buttons.left
        anchors.rightMargin: rootQML.dpX(Theme.spacing)
        text: rootQML.lastPresetName
        textFormat: Text.PlainText
        elide: Text.ElideRight
        color: Theme.text
        font.pixelSize: rootQML.dpY(Theme.fontBody)
    }

    Row {
        id: buttons
        anchors.right: parent.right
        anchors.rightMargin: rootQML.dpX(Theme.spacing)
        anchors.verticalCenter: parent.verticalCenter
        spacing: rootQML.dpX(Theme.spacingSmall)

        Button {
            objectName: "menuDiscoveryButton"
            text: "Devices"
            onClicked: menuBar.send("DeviceDiscovery", "")
        }
        Button {
            objectName: "menuWizardButton"
            text: "Wizards"
            enabled: !menuBar.disableWizard
            onClicked: {
                menuBar.wizardsButtonClicked();
                if (menuBar.currentScreen !== "Wizards")
                    menuBar.send("Wizard", "");
            }
        }
        Button {
            objectName: "menuHelpButton"
            text: "Help"
            enabled: rootQML.strHelpFileName !== ""
            onClicked: helpOverlay.visible = true
        }
        Button {
            objectName: "menuPresetsButton"
            text: "Presets"
            onClicked: menuBar.send("Presets", "")
        }
        Button {
            objectName: "menuUtilitiesButton"
            text: "Utilities"
            onClicked: menuBar.send("Utilities", "")
        }
        Button {
            objectName: "menuHomeButton"
            text: "Home"
            onClicked: menuBar.send("HomeButtonPressed", "")
        }
        Button {
            objectName: "menuOutputMetersButton"
            text: "Outputs"
            onClicked: menuBar.send("1", "Output")
        }
    }

    // The help picture of the current screen, over the whole window.
    Rectangle {
        id: helpOverlay
        parent: rootQML
        anchors.fill: parent
        visible: false
        z: 200
        color: Theme.background

        Image {
            anchors.fill: parent
            fillMode: Image.PreserveAspectFit
            source: helpOverlay.visible ? rootQML.strHelpFileName : ""
        }

        MouseArea {
            anchors.fill: parent
            onClicked: helpOverlay.visible = false
        }
    }

    QX8CustomDialog {
        id: validationNotice
        parent: rootQML
    }
}
