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
    property alias accessibleName: inner.accessibleName
    readonly property alias currentValue: inner.currentValue
    readonly property alias superSlider: inner

    implicitWidth: inner.implicitWidth + 2 * Theme.dpX(Theme.spacing)
    implicitHeight: inner.implicitHeight + 2 * Theme.dpY(Theme.spacing)
    color: Theme.panel
    border.color: Theme.border
    radius: Theme.radius

    CustomSuperSlider {
        id: inner
        anchors.centerIn: parent
    }
}
