import QtQuick 2.15

// Takes the pointer off a slider so that only a drag changes its value: a press, on the handle or
// beside it, moves nothing; once the pointer has travelled the platform's drag distance, the value
// follows it by as much as it moved from where it was pressed, and each change is the slider's
// `moved`. `dragging` holds while a drag lasts; the wheel and the keys are the slider's own.
MouseArea {
    id: area

    property Item slider: parent
    readonly property bool dragging: pressed && moving
    property bool moving: false
    property point pressPoint
    property real pressValue

    anchors.fill: slider
    preventStealing: true

    function travel(mouse) {
        return slider.orientation === Qt.Vertical ? pressPoint.y - mouse.y : mouse.x - pressPoint.x;
    }

    onPressed: {
        pressPoint = Qt.point(mouse.x, mouse.y);
        pressValue = slider.value;
        moving = false;
    }
    onPositionChanged: {
        var distance = travel(mouse);
        if (!moving && Math.abs(distance) < Qt.styleHints.startDragDistance)
            return;
        moving = true;
        var length = slider.orientation === Qt.Vertical ? slider.availableHeight
                                                        : slider.availableWidth;
        if (length <= 0)
            return;
        var low = Math.min(slider.from, slider.to);
        var high = Math.max(slider.from, slider.to);
        var value = pressValue + distance / length * (slider.to - slider.from);
        value = Math.max(low, Math.min(high, value));
        if (value === slider.value)
            return;
        slider.value = value;
        slider.moved();
    }
    onReleased: moving = false
    onCanceled: moving = false
}
