import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQml 2.15
import QX8NumericalSV 1.0
import QX8TextSV 1.0

// A whole number of one node variable, between the limits the device gives for it (its \Min
// and \Max children), at most restrictMaxValue when that is set. Shows the device's value; a
// step or a typed number is written.
SpinBox {
    id: root

    property string poName: "NPO"
    property string svName: ""
    property int restrictMaxValue: -1

    editable: true
    from: minimum.value !== "" ? parseInt(minimum.value) : 0
    to: {
        var limit = maximum.value !== "" ? parseInt(maximum.value) : 99999;
        return restrictMaxValue >= 0 ? Math.min(limit, restrictMaxValue) : limit;
    }
    font.pixelSize: Theme.fontValue

    QX8NumericalSV {
        id: backend
        poName: root.poName
        svName: root.svName
        Component.onCompleted: componentCompleted()
    }

    Binding {
        target: root
        property: "value"
        value: Math.round(backend.value)
        when: backend.value > -1000
        restoreMode: Binding.RestoreNone
    }

    QX8TextSV {
        id: minimum
        poName: root.poName
        svName: root.svName === "" ? "" : root.svName + "\\Min"
        valueType: "Min"
        Component.onCompleted: componentCompleted()
    }
    QX8TextSV {
        id: maximum
        poName: root.poName
        svName: root.svName === "" ? "" : root.svName + "\\Max"
        valueType: "Max"
        Component.onCompleted: componentCompleted()
    }

    onValueModified: backend.setValueWithoutFeedback(value)
}
