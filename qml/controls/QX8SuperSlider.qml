import QtQuick 2.15

// A CustomSuperSlider in a framed panel of its own.
Rectangle {
    id: root

    property alias processingObjectName: inner.processingObjectName
    property alias stateVariableName: inner.stateVariableName
    property alias poClassName: inner.poClassName
    property alias svClassName: inner.svClassName
    property alias title: inner.title
    property alias minLabel: inner.minLabel
    property alias maxLabel: inner.maxLabel
    property alias nudgeButtonsVisibility: inner.nudgeButtonsVisibility
    property alias ratioSlider: inner.ratioSlider
    readonly property alias currentValue: inner.currentValue
    readonly property alias superSlider: inner

    implicitWidth: inner.implicitWidth + 16
    implicitHeight: inner.implicitHeight + 16
    color: "#181818"
    border.color: "#505050"
    radius: 4

    CustomSuperSlider {
        id: inner
        anchors.centerIn: parent
    }
}
