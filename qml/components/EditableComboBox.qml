import QtQuick 2.15
import QtQuick.Controls 2.15
import QX8TextSV 1.0
import DeviceModelProvider 1.0

// A name of one text variable: typed, or picked from the device's choices (with
// useDeviceModelData) and the items appended. Shows the device's value; an accepted name is
// written only when it matches `nameValidator` and has at most `maximumLength` characters, else
// `refused` says why and nothing is written.
ComboBox {
    id: root

    property string poName: "NPO"
    property string svName: ""
    property bool useDeviceModelData: false
    property var nameValidator: null
    property int maximumLength: 32767
    property var appended: []

    signal refused(string reason)
    signal written(string name)

    function appendItems(list) {
        appended = appended.concat(list);
    }

    function acceptName(name) {
        if (name.length > maximumLength) {
            refused("A name has at most " + maximumLength + " characters.");
            return;
        }
        if (nameValidator && !new RegExp("^(?:" + nameValidator.regExp.source + ")$").test(name)) {
            refused("A name may hold letters, digits, blanks and ! # $ % & ' ( ) + , - . = @ [ ] ^ _ \\ { } ~ only.");
            return;
        }
        backend.value = name;
        written(name);
    }

    editable: true
    model: (useDeviceModelData ? DeviceModelProvider.entries(poName, svName) : []).concat(appended)
    font.pixelSize: Theme.fontValue

    QX8TextSV {
        id: backend
        poName: root.poName
        svName: root.svName
        onValueChanged: root.editText = value
        Component.onCompleted: componentCompleted()
    }

    onAccepted: acceptName(editText)
    onActivated: acceptName(textAt(index))
}
