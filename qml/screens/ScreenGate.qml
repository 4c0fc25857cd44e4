import QtQuick 2.15

PlaceholderPage {
    title: "Noise Gate"
    currentScreen: "Gate"
}
