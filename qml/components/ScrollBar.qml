import QtQuick 2.15
import QtQuick.Controls 2.15 as T

// The house scroll bar: a slim grey handle, brighter while held, faded while idle.
T.ScrollBar {
    id: root

    padding: 2
    minimumSize: 0.08

    contentItem: Rectangle {
        implicitWidth: Theme.dpX(6)
        implicitHeight: Theme.dpY(6)
        radius: width / 2
        color: root.pressed ? Theme.text : Theme.textDim
        opacity: root.policy === T.ScrollBar.AlwaysOn || root.active ? 0.9 : 0.35
    }
}
