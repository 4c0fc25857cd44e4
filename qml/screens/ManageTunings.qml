import QtQuick 2.15

PlaceholderPage {
    title: "Manage Tunings"
    currentScreen: "ManageTunings"
}
