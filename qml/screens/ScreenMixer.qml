import QtQuick 2.15

PlaceholderPage {
    title: "Mixers"
    currentScreen: "Mixers"
}
