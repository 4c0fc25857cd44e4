import QtQuick 2.15

// A 2-way loudspeaker: one cabinet with 2 drivers.
SpeakerCabinet {
    drivers: 2
}
