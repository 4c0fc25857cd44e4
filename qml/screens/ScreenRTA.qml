import QtQuick 2.15

PlaceholderPage {
    title: "RTA"
    currentScreen: "RTA"
}
