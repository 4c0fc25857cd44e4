import QtQuick 2.15
import QtQuick.Window 2.15
import QX8TextSV 1.0
import WizardScreensLoader 1.0
import "FieldEdit.js" as FieldEdit

// The wizard screen: the device runs the wizards, and this screen shows the page of each wizard
// state it reports (a fresh page every time), under a heading that names the running wizard.
// Pages loaded here reach it by its id: sendEvent() writes their events to the device,
// startWizard() writes a start word to the device's wizard state, showPage() puts a page of the
// wizard menu in place, answerApply() tells how the user answered the setup's apply question.
// A setup the user ends without applying is reported when the wizards are over.
Rectangle {
    id: wizardScreen
    objectName: "wizardScreen"
    color: viewLoader.validationMode ? Theme.backgroundValidation
                                     : viewLoader.offlineMode ? Theme.backgroundOffline : Theme.background
    Accessible.role: Accessible.Pane
    Accessible.name: headingText.text

    // The running wizard ("Nuq Wizard", "Wizard Menu", ...), or the menu page shown.
    property string heading: "Wizard Menu"
    // The state whose page is shown.
    property string wizardState: ""
    property alias currentScreen: menu.currentScreen
    property alias disableWizard: menu.disableWizard
    readonly property bool wizardRunning: rootQML.wizardState !== "Inactive"
                                          && rootQML.wizardState !== ""
    // The user declined to apply the setup; said once the device leaves the wizards.
    property bool setupDeclined: false
    // The page's own title says what the heading says ("Wizard Menu"): the title gives way.
    readonly property bool headingRepeated: pageLoader.item !== null
                                            && pageLoader.item.title !== undefined
                                            && String(pageLoader.item.title).toUpperCase()
                                               === heading.toUpperCase()

    function sendEvent(word) {
        wizardEvent.setValueWithoutFeedback(word);
    }

    function startWizard(word) {
        tsvWizardState.setValueWithoutFeedback(word);
    }

    function showPage(file, pageHeading, screenName) {
        pageLoader.source = "";
        heading = pageHeading;
        currentScreen = screenName;
        pageLoader.source = file;
    }

    function showState(state) {
        // The step changes under a field being edited (the same page may show the next step):
        // as when the screen itself is left, the field ends its edit first.
        FieldEdit.end(Window.window);
        wizardState = state;
        if (state === "SetupApply")
            setupDeclined = false;
        screensLoader.wizardStateQml = state;
        if (state === "Inactive" && setupDeclined) {
            setupDeclined = false;
            notAppliedNotice.open();
        }
    }

    function answerApply(answer) {
        setupDeclined = answer !== "Yes";
    }

    // The state's wizard; a step any wizard may show keeps the name, but never the menu's.
    function headingFor(state) {
        var name = screensLoader.wizardName(state);
        if (name !== "")
            return name;
        return heading === "Wizard Menu" ? "Wizard" : heading;
    }

    Component.onCompleted: {
        dataStore.wizardActive = true;
        showState(rootQML.wizardState === "" ? "Inactive" : rootQML.wizardState);
    }
    Component.onDestruction: dataStore.wizardActive = false

    // A click on the page's bare ground takes the keyboard focus there, as on the other screens:
    // a field being edited loses it and ends its edit.
    MouseArea {
        anchors.fill: parent
        onPressed: wizardScreen.forceActiveFocus()
        Accessible.ignored: true
    }

    MenuBar {
        id: menu
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: parent.top
        currentScreen: "Wizards"
        onWizardsButtonClicked: {
            if (wizardScreen.wizardRunning)
                exitQuestion.open();
            else if (currentScreen === "WizardOptions" || currentScreen === "RunSetupWizard"
                     || currentScreen === "WizardOfflineDialog")
                wizardScreen.showPage("WizardListType.qml", "Wizard Menu", "Wizards");
        }
    }

    CustomHeading {
        id: headingText
        objectName: "wizardHeading"
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: menu.bottom
        anchors.margins: rootQML.dpX(Theme.margin)
        text: wizardScreen.heading.toUpperCase()
    }

    Loader {
        id: pageLoader
        objectName: "wizardPageLoader"
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: headingText.bottom
        anchors.bottom: parent.bottom
        anchors.margins: rootQML.dpX(Theme.margin)
        onLoaded: item.titleShown = Qt.binding(function() {
            return !wizardScreen.headingRepeated;
        })
    }

    WizardScreensLoader {
        id: screensLoader
        onWizardStateQmlChanged: wizardScreen.showPage(wizardStateQml,
                                                       wizardScreen.headingFor(str), "Wizards")
    }

    QX8TextSV {
        id: wizardEvent
        poName: "NPO"
        svName: "Node\\Wizard\\SV\\WizardEvent"
        Component.onCompleted: componentCompleted()
    }

    Connections {
        target: rootQML
        function onWizardModeState(state) {
            wizardScreen.showState(state);
        }
    }

    // The device reports its progress while it applies a configuration, as a fraction.
    Connections {
        target: tsvProgress
        function onValueChanged(value) {
            var fraction = parseFloat(value);
            var loading = !wizardScreen.wizardRunning && value !== "1" && value !== "0"
                          && !isNaN(fraction);
            loadingDialog.percent = loading ? Math.floor(fraction * 100) : 0;
            loadingDialog.visible = loading;
        }
    }

    QX8CustomDialog {
        id: exitQuestion
        objectName: "exitWizardDialog"
        message: "Do you want to exit wizard?"
        showCancel: true
        onAccepted: wizardScreen.sendEvent("Exit")
    }

    QX8CustomDialog {
        id: notAppliedNotice
        objectName: "setupNotAppliedDialog"
        title: "Setup not applied"
        message: "The setup wizard ended without applying your changes. The device keeps its current settings."
        showWarning: true
    }

    // While shown it holds the keyboard's focus, and no key reaches the screen behind it.
    Item {
        id: loadingDialog
        objectName: "loadingDialog"
        anchors.fill: parent
        visible: false
        z: 100
        Accessible.role: Accessible.Dialog
        Accessible.name: "Loading..."

        property int percent: 0

        onVisibleChanged: {
            if (visible) {
                focusBefore.remember(Window.activeFocusItem);
                forceActiveFocus();
            } else if (activeFocus) {
                focus = false;
                focusBefore.giveBack();
            }
        }
        Keys.onPressed: event.accepted = true

        FocusReturn {
            id: focusBefore
        }

        Rectangle {
            anchors.fill: parent
            color: Theme.scrim

            MouseArea {
                anchors.fill: parent
                Accessible.ignored: true
            }
        }

        Rectangle {
            width: rootQML.dpX(360)
            height: loadingColumn.implicitHeight + 2 * rootQML.dpY(Theme.margin)
            anchors.centerIn: parent
            color: Theme.raised
            border.color: Theme.border
            radius: Theme.radius

            Column {
                id: loadingColumn
                anchors.fill: parent
                anchors.margins: rootQML.dpX(Theme.margin)
                spacing: rootQML.dpY(Theme.spacing)

                Text {
                    text: "Loading..."
                    color: Theme.text
                    font.pixelSize: rootQML.dpY(Theme.fontValue)
                }

                ThemedProgressBar {
                    objectName: "loadingProgress"
                    width: parent.width
                    value: loadingDialog.percent
                }

                Text {
                    text: loadingDialog.percent + " %"
                    color: Theme.textDim
                    font.pixelSize: rootQML.dpY(Theme.fontLabel)
                }
            }
        }
    }
}
