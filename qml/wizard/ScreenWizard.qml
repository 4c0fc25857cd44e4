import QtQuick 2.15

PlaceholderPage {
    title: "Wizards"
    currentScreen: "Wizards"

    Component.onCompleted: dataStore.wizardActive = true
    Component.onDestruction: dataStore.wizardActive = false
}
