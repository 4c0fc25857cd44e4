import QtQuick 2.15

PlaceholderPage {
    title: "Utilities"
    currentScreen: "Utilities"
}
