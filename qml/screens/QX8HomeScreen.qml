import QtQuick 2.15

PlaceholderPage {
    title: "Home"
    currentScreen: "HomeScreen"
}
