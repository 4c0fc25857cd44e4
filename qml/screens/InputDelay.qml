import QtQuick 2.15

PlaceholderPage {
    title: "Input Delay"
    currentScreen: "InputDelay"
}
