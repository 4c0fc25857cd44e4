import QtQuick 2.15

PlaceholderPage {
    title: "Configuration"
    currentScreen: "ConfigMode"
}
