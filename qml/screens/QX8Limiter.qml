import QtQuick 2.15

PlaceholderPage {
    title: "Limiter"
    currentScreen: "Limiter"
}
