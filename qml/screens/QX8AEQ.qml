import QtQuick 2.15

PlaceholderPage {
    title: "Auto EQ"
    currentScreen: "AEQ"
}
