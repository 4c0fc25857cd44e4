import QtQuick 2.15

// A 4-way loudspeaker: one cabinet with 4 drivers.
SpeakerCabinet {
    drivers: 4
}
