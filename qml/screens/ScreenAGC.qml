import QtQuick 2.15

PlaceholderPage {
    title: "Automatic Gain Control"
    currentScreen: "AGC"
}
