import QtQuick 2.15

PlaceholderPage {
    title: "Graphic EQ"
    currentScreen: "GEQ"
}
