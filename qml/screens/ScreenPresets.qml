import QtQuick 2.15

PlaceholderPage {
    title: "Presets"
    currentScreen: "Preset"
}
