import QtQuick 2.15
import QX8NumericalSV 1.0

// The audio-bus steps: the bus channel of each input or output (the first one, the others
// following it, or each by hand), the names of the inputs, and the option card's status. A row is
// a label, a spin box, a name box offering the device's names and the recommended ones, or a text
// field. A name is written only when it passes the name check; otherwise the page says why, and
// of which input.
WizardPageFrame {
    id: page
    objectName: "wizardFormPage"

    readonly property string wizardState: wizardScreen.wizardState
    readonly property string choices: "Node\\SetupWizardCurrentChoices\\SV\\"
    readonly property var startChannelStates: ({
        "OrvellinkInputStartChannel": "Input",
        "OrvellinkOutputStartChannel": "Output"
    })
    property var rows: formRows(wizardState)
    readonly property var recommendedNames: hsModel.recommendedInputNames()

    title: "Wizard Menu"
    showBack: wizardState !== "Inactive"
    onBackClicked: wizardScreen.sendEvent("Previous")
    onNextClicked: wizardScreen.sendEvent("Next")

    function channelRows(direction, count, kind, variable) {
        var list = [];
        for (var n = 1; n <= count; ++n)
            list.push({"label": direction + " " + n + " - Orvel Link Channel", "kind": kind,
                       "path": choices + "Channel_" + n + "_Orvellink" + variable, "offset": 0});
        return list;
    }

    // The first channel is set; the others follow it, one apart.
    function startChannelRows(direction, count) {
        var list = channelRows(direction, count, "follows", direction + "Assignment");
        list[0].kind = "spinbox";
        for (var n = 1; n < count; ++n)
            list[n].offset = n;
        return list;
    }

    function formRows(state) {
        switch (state) {
        case "OrvellinkInputStartChannel":
            return startChannelRows("Input", 8);
        case "OrvellinkOutputStartChannel":
            return startChannelRows("Output", 6);
        case "OrvellinkInputManualEdit":
            return channelRows("Input", 8, "spinbox", "InputAssignment");
        case "OrvellinkOutputManualEdit":
            return channelRows("Output", 6, "spinbox", "OutputAssignment");
        case "OrvellinkInputNames":
            return channelRows("Input", 8, "editablecombobox", "InputName");
        }
        return [];
    }

    QX8NumericalSV {
        id: startChannel
        poName: "NPO"
        svName: page.startChannelStates[page.wizardState] === undefined ? ""
                : page.choices + "Channel_1_Orvellink" + page.startChannelStates[page.wizardState]
                  + "Assignment"
    }

    Column {
        anchors.fill: parent
        spacing: rootQML.dpY(Theme.spacingSmall)

        Repeater {
            model: page.rows
            WizardFormRow {
                objectName: "formRow"
                label: modelData.label

                CustomSpinBox {
                    objectName: "formSpinBox"
                    visible: modelData.kind === "spinbox"
                    anchors.verticalCenter: parent.verticalCenter
                    svName: visible ? modelData.path : ""
                    Accessible.name: modelData.label
                }
                EditableComboBox {
                    readonly property string inputName: "Input " + (index + 1)
                    objectName: "formNameBox"
                    visible: modelData.kind === "editablecombobox"
                    anchors.verticalCenter: parent.verticalCenter
                    width: parent.width
                    svName: visible ? modelData.path : ""
                    useDeviceModelData: true
                    nameValidator: specialCharacterValidator
                    maximumLength: 16
                    appended: page.recommendedNames
                    onRefused: refusalLine.refuse(inputName, reason)
                    onWritten: refusalLine.settle(inputName)
                    onLeftUnchanged: refusalLine.settle(inputName)
                    Accessible.name: modelData.label
                }
                QX8CustomTextField {
                    objectName: "formTextField"
                    visible: modelData.kind === "textField"
                    anchors.verticalCenter: parent.verticalCenter
                    width: parent.width
                    processingObjectName: "NPO"
                    stateVariableName: visible ? modelData.path : ""
                    textFieldValidator: specialCharacterValidator
                    maximumLength: 16
                    Accessible.name: modelData.label
                }
                Text {
                    objectName: "formFollowingChannel"
                    visible: modelData.kind === "follows"
                    anchors.verticalCenter: parent.verticalCenter
                    text: startChannel.hasDeviceValue ? Math.round(startChannel.value)
                                                        + modelData.offset : "\u2013"
                    color: startChannel.hasDeviceValue ? Theme.text : Theme.textFaint
                    font.pixelSize: rootQML.dpY(Theme.fontValue)
                }
            }
        }

        WizardOptionCardConnections {
            visible: page.wizardState === "OptionCardConnections"
        }

        NameRefusalLine {
            id: refusalLine
            objectName: "formRefusal"
            width: parent.width
            fontSize: Theme.fontBody
        }
    }
}
