import QtQuick 2.15

PlaceholderPage {
    title: "Nuq"
    currentScreen: "Nuq"
}
