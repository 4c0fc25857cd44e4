import QtQuick 2.15

PlaceholderPage {
    title: "Signal Generator"
    currentScreen: "SIGGEN"
}
