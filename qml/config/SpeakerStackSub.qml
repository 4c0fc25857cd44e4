import QtQuick 2.15

// A subwoofer: a wide cabinet with one large cone.
SpeakerCabinet {
    sub: true
}
