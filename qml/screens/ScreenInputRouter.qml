import QtQuick 2.15

PlaceholderPage {
    title: "Input Router"
    currentScreen: "InputRouter"
}
