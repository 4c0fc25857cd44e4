import QtQuick 2.15

PlaceholderPage {
    title: "Output Delay"
    currentScreen: "Delay"
}
