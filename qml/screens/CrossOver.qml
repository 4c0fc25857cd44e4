import QtQuick 2.15

PlaceholderPage {
    title: "Crossover"
    currentScreen: "Crossover"
}
