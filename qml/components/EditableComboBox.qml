import QtQuick 2.15
import QtQuick.Controls 2.15 as T
import QX8TextSV 1.0
import DeviceModelProvider 1.0

// A combo box whose text can also be typed: pick a known entry or write a new one. `textAccepted`
// gives the text when the user confirms it (Enter or a pick). Bound to a text variable through
// poName and svName, it shows the device's value and writes an accepted name, but only one that
// matches `nameValidator` and has at most `maximumLength` characters; otherwise `refused` says why,
// nothing is written and the field shows the device's name again. A name typed and left when the
// focus moves on is accepted as Enter would accept it; left with nothing typed, it says
// `leftUnchanged`. Its choices are the device's entries (with useDeviceModelData), the whole
// numbers of the device's range (with useMinMaxRange, from the variable's \Min and \Max children)
// and the items appended. Bound, it shows a dimmed dash and takes no pick or typing until the
// device has told its name. Escape while typing shows the device's name again.
T.ComboBox {
    id: root

    property string poName: "NPO"
    property string svName: ""
    property bool useDeviceModelData: false
    property bool useMinMaxRange: false
    property var nameValidator: null
    property int maximumLength: 32767
    property var appended: []
    readonly property alias backend: backend
    readonly property bool waiting: svName !== "" && !backend.hasDeviceValue

    signal textAccepted(string text)
    signal refused(string reason)
    signal written(string name)
    signal leftUnchanged()

    function rangeNumbers() {
        var numbers = [];
        if (useMinMaxRange && range.known) {
            for (var n = range.low; n <= range.high; ++n)
                numbers.push(String(n));
        }
        return numbers;
    }

    // The device's value stays in the field when the choices change under it.
    function showDeviceValue() {
        editText = backend.value;
    }

    function appendItems(list) {
        appended = appended.concat(list);
    }

    // Why the device cannot take `name`; empty when it can.
    function nameRefusal(name) {
        if (name.trim() === "")
            return "A name cannot be empty.";
        if (name.length > maximumLength)
            return "A name has at most " + maximumLength + " characters.";
        if (nameValidator && !new RegExp("^(?:" + nameValidator.regExp.source + ")$").test(name))
            return "A name may hold letters, digits, blanks and "
                    + "! # $ % & ' ( ) + , - . = @ [ ] ^ _ \\ { } ~ only.";
        return "";
    }

    function acceptName(name) {
        var reason = nameRefusal(name);
        if (reason !== "") {
            refused(reason);
            showDeviceValue();
            return;
        }
        backend.value = name;
        written(name);
    }

    editable: true
    enabled: !waiting
    // No entry is the device's name until it says so: the field starts empty, not at the first.
    currentIndex: -1
    model: (useDeviceModelData ? DeviceModelProvider.entries(poName, svName) : [])
        .concat(rangeNumbers(), appended)
    implicitWidth: Theme.dpX(200)
    implicitHeight: Theme.dpY(Theme.controlHeight)
    leftPadding: Theme.dpX(Theme.spacing)
    rightPadding: Theme.dpX(Theme.spacing) + indicator.width

    onModelChanged: showDeviceValue()
    onAccepted: textAccepted(editText)
    onActivated: textAccepted(textAt(index))
    onTextAccepted: {
        if (root.svName !== "")
            acceptName(text);
    }
    // Text typed and not written does not stay behind when the user moves on.
    onActiveFocusChanged: {
        if (activeFocus || root.svName === "")
            return;
        if (editText !== backend.value)
            acceptName(editText);
        else
            leftUnchanged();
    }

    Keys.onEscapePressed: {
        if (popup.visible)
            event.accepted = false;
        else
            showDeviceValue();
    }

    DeviceRange {
        id: range
        poName: root.poName
        svName: root.useMinMaxRange ? root.svName : ""
    }

    QX8TextSV {
        id: backend
        poName: root.poName
        svName: root.svName
        onValueChanged: root.showDeviceValue()
        Component.onCompleted: componentCompleted()
    }

    contentItem: T.TextField {
        text: root.editText
        Accessible.name: root.Accessible.name
        validator: root.validator
        selectByMouse: true
        verticalAlignment: Text.AlignVCenter
        font.pixelSize: Theme.dpY(Theme.fontBody)
        color: Theme.text
        placeholderText: root.waiting ? "\u2013" : ""
        placeholderTextColor: Theme.textFaint
        selectionColor: Theme.brand
        background: null
        // Reached by the keyboard, the name is selected, so that what is typed replaces it.
        onActiveFocusChanged: {
            if (activeFocus && (focusReason === Qt.TabFocusReason
                                || focusReason === Qt.BacktabFocusReason))
                selectAll()
        }
    }

    indicator: Text {
        x: root.width - width - Theme.dpX(Theme.spacing)
        anchors.verticalCenter: parent.verticalCenter
        text: "\u25be"
        font.pixelSize: Theme.dpY(Theme.fontBody)
        color: root.enabled ? Theme.textDim : Theme.textFaint
    }

    background: Rectangle {
        radius: Theme.radius
        color: Theme.raised
        border.color: root.activeFocus ? Theme.textDim : Theme.border
    }

    FocusFrame {}

    delegate: T.ItemDelegate {
        id: entry
        width: root.width
        height: Theme.dpY(Theme.controlHeight)
        highlighted: root.highlightedIndex === index
        contentItem: Text {
            text: modelData
            textFormat: Text.PlainText
            elide: Text.ElideRight
            verticalAlignment: Text.AlignVCenter
            font.pixelSize: Theme.dpY(Theme.fontBody)
            color: Theme.text
        }
        background: Rectangle {
            color: entry.highlighted ? Theme.raisedSelected : Theme.raised
        }
    }

    popup: T.Popup {
        y: root.height
        width: root.width
        implicitHeight: Math.min(contentItem.implicitHeight, Theme.dpY(320))
        padding: 1
        contentItem: ListView {
            clip: true
            implicitHeight: contentHeight
            model: root.popup.visible ? root.delegateModel : null
            currentIndex: root.highlightedIndex
            boundsBehavior: Flickable.StopAtBounds
            T.ScrollBar.vertical: ScrollBar {}
        }
        background: Rectangle {
            color: Theme.raised
            border.color: Theme.border
        }
    }
}
