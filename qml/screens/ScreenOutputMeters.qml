import QtQuick 2.15

PlaceholderPage {
    title: "Output Meters"
    currentScreen: "ScreenOutputMeters"
}
