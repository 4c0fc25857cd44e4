import QtQuick 2.15

PlaceholderPage {
    title: "Sub-harmonic Synth"
    currentScreen: "SubHarmonic"
}
