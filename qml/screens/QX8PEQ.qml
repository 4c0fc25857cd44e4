import QtQuick 2.15

PlaceholderPage {
    title: "Parametric EQ"
    currentScreen: "PEQ"
}
