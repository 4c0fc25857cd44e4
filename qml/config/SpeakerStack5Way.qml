import QtQuick 2.15

// A 5-way loudspeaker: one cabinet with 5 drivers.
SpeakerCabinet {
    drivers: 5
}
