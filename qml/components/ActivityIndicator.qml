import QtQuick 2.15

// Busy while shown: the activity picture turning once every two seconds.
Image {
    source: "/images/ActivityIndicator.png"
    width: Theme.dpX(32)
    height: width
    fillMode: Image.PreserveAspectFit

    RotationAnimator on rotation {
        from: 0
        to: 360
        duration: 2000
        loops: Animation.Infinite
        running: visible
    }
}
