import QtQuick 2.15

// While shown, a recalled preset keeps the user here instead of returning home.
PlaceholderPage {
    title: "Presets"
    currentScreen: "Preset"

    Component.onCompleted: rootQML.funcLastScreen("Preset")
    Component.onDestruction: rootQML.funcLastScreen("")
}
