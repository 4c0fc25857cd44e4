import QtQuick 2.15
import QtQml 2.15
import QX8Button 1.0

// Mutes every listed output variable of one processing object with one click; once the device
// reports all of them muted (or they are, dimmed, on their way), the button says it unmutes them
// all and a click does that. Until the device has reported every one of them it is a dimmed dash
// that takes no click: which of the two a click would do is not known, and it would write over
// states not yet seen.
QX8CustomButton {
    id: root

    property var muteVariables: []
    readonly property bool statesKnown: {
        if (mutes.count === 0 || mutes.count !== muteVariables.length)
            return false
        for (var i = 0; i < mutes.count; ++i) {
            var mute = mutes.objectAt(i)
            if (!mute || !mute.hasDeviceValue)
                return false
        }
        return true
    }
    readonly property bool allMuted: {
        if (!statesKnown)
            return false
        for (var i = 0; i < mutes.count; ++i) {
            if (!mutes.objectAt(i).activeState)
                return false
        }
        return true
    }
    readonly property bool mutesPending: {
        for (var i = 0; i < mutes.count; ++i) {
            var mute = mutes.objectAt(i)
            if (mute && mute.pending)
                return true
        }
        return false
    }

    function unmuteAll() {
        for (var i = 0; i < mutes.count; ++i)
            mutes.objectAt(i).toggleValueWithoutFeedback()
    }

    buttonType: QX8Button.SingleShot
    enabled: statesKnown
    pending: mutesPending
    uncheckedText: !statesKnown ? "\u2013" : allMuted ? "UNMUTE ALL" : "MUTE ALL"
    onButtonClicked: {
        if (allMuted)
            unmuteAll()
        else
            backend.setMultipleSV(muteVariables.join(","))
    }
    // A quick second click comes as a double click: it switches them back.
    onDoubleClicked: buttonClicked()

    // Each output's mute as the device reports it, or as last written while unanswered.
    Instantiator {
        id: mutes
        model: root.muteVariables
        QX8Button {
            buttonType: QX8Button.SV
            poName: root.processingObjectName
            svName: modelData
            Component.onCompleted: componentCompleted()
        }
    }
}
