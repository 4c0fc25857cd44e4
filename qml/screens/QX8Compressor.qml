import QtQuick 2.15

PlaceholderPage {
    title: "Compressor"
    currentScreen: "Compressor"
}
