import QtQuick 2.15
import QtQml 2.15
import QtQuick.Controls 2.15
import QX8TextSV 1.0

// The options the device's wizards use: the AutoEQ target curve, the level assist's automatic
// trim, the measurement microphone and the naming of the setup. Each shows the device's value;
// pressing writes, and the choice pressed shows, dimmed, until the device has answered every
// press (a quick second press goes on from it). Back returns to the wizard menu; nothing here is
// a wizard event.
WizardPageFrame {
    id: page
    objectName: "wizardOptionsPage"

    readonly property string wizard: "Node\\Wizard\\SV\\"

    title: "Wizard Options Menu"
    showNext: false
    onBackClicked: wizardScreen.showPage("WizardListType.qml", "Wizard Menu", "Wizards")

    component OptionLabel: Text {
        width: rootQML.dpX(260)
        anchors.verticalCenter: parent.verticalCenter
        color: Theme.textDim
        font.pixelSize: rootQML.dpY(Theme.fontValue)
    }

    // Buttons of which the device's value is the pressed one. They are members of the choice's
    // exclusive group, so a press on the pressed one leaves it pressed. Until the device has
    // reported the value none is pressed and all are dimmed and take no click (the device's value
    // would undo it unwritten).
    component ExclusiveOption: Row {
        id: option
        property string label
        property string variable
        property var choices: [] // {"value", "text"}
        spacing: rootQML.dpX(Theme.spacing)

        OptionLabel {
            text: option.label
        }
        QX8CustomExclusiveGroup {
            id: group
            processingObjectName: "NPO"
            stateVariableName: page.wizard + option.variable
            Component.onCompleted: {
                for (var i = 0; i < option.choices.length; ++i)
                    addButtonToList(option.choices[i].value);
            }
        }
        Repeater {
            model: option.choices
            CustomButton {
                id: choice
                readonly property QtObject backend: group.backend
                objectName: "optionChoice"
                anchors.verticalCenter: parent.verticalCenter
                height: rootQML.dpY(40)
                look: CustomButton.Toggle
                text: modelData.text
                checkable: true
                enabled: group.backend.hasDeviceValue
                pending: checked && group.backend.pending
                ButtonGroup.group: group.xGroup
                fontSize: Theme.fontBody
                onClicked: group.select(modelData.value)
                Accessible.name: option.label + " " + text
                Binding {
                    target: choice
                    property: "checked"
                    value: group.backend.selectedValue === modelData.value
                    restoreMode: Binding.RestoreNone
                }
            }
        }
    }

    // One button, pressed while the device's value is "On"; a dimmed dash that takes no click
    // until the device has reported it (a toggle from an unknown state would write a guess).
    component SwitchOption: Row {
        id: option
        property string label
        property string variable
        spacing: rootQML.dpX(Theme.spacing)

        OptionLabel {
            text: option.label
        }
        QX8TextSV {
            id: setting
            poName: "NPO"
            svName: page.wizard + option.variable
            showsWrites: true
            Component.onCompleted: componentCompleted()
        }
        CustomButton {
            id: toggle
            readonly property alias backend: setting
            objectName: "optionSwitch"
            anchors.verticalCenter: parent.verticalCenter
            width: rootQML.dpX(64)
            height: rootQML.dpY(40)
            look: CustomButton.Toggle
            checkable: true
            enabled: setting.hasDeviceValue
            pending: setting.pending
            text: !setting.hasDeviceValue ? "\u2013" : checked ? "ON" : "OFF"
            fontSize: Theme.fontBody
            onToggled: setting.value = checked ? "On" : "Off"
            Accessible.name: setting.hasDeviceValue ? option.label + " " + text : option.label
            Binding {
                target: toggle
                property: "checked"
                value: setting.value === "On"
                restoreMode: Binding.RestoreNone
            }
        }
    }

    Column {
        anchors.fill: parent
        spacing: rootQML.dpY(Theme.margin)

        ExclusiveOption {
            label: "AutoEQ Target"
            variable: "TargetCurve"
            choices: [{"value": "Recommended PA Curve", "text": "Recommended PA"},
                {"value": "Flat", "text": "Flat"},
                {"value": "Reflective Room", "text": "Reflective Room"}]
        }
        SwitchOption {
            label: "Level Assist Auto Trim"
            variable: "LevelAssistAutoTrim"
        }
        ExclusiveOption {
            label: "Mic Response"
            variable: "MicResponse"
            choices: [{"value": "yoxl Fennick", "text": "yoxl Fennick"},
                {"value": "Flat", "text": "Flat"}]
        }
        SwitchOption {
            label: "Setup Auto Naming"
            variable: "SetupAutoNaming"
        }
    }
}
