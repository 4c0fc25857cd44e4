import QtQuick 2.15

// A 6-way loudspeaker: one cabinet with 6 drivers.
SpeakerCabinet {
    drivers: 6
}
