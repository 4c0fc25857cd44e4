import QtQuick 2.15

// A 3-way loudspeaker: one cabinet with 3 drivers.
SpeakerCabinet {
    drivers: 3
}
