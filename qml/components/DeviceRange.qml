import QtQuick 2.15
import QX8TextSV 1.0

// The range the device gives a variable in its \Min and \Max children, in whole numbers, read
// once both names are set; `known` once both ends have arrived.
Item {
    id: range

    property string poName: "NPO"
    property string svName: ""
    readonly property bool known: minimum.value !== "" && maximum.value !== ""
    readonly property int low: parseInt(minimum.value)
    readonly property int high: parseInt(maximum.value)

    visible: false

    QX8TextSV {
        id: minimum
        poName: range.poName
        svName: range.svName === "" ? "" : range.svName + "\\Min"
        valueType: "Min"
        Component.onCompleted: componentCompleted()
    }
    QX8TextSV {
        id: maximum
        poName: range.poName
        svName: range.svName === "" ? "" : range.svName + "\\Max"
        valueType: "Max"
        Component.onCompleted: componentCompleted()
    }
}
