import QtQuick 2.15

// A full-range loudspeaker: one cabinet with one driver.
SpeakerCabinet {
    drivers: 1
}
