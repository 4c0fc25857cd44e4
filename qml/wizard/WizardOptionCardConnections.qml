import QtQuick 2.15

// The status of the option card: the audio-bus card's addresses and ports on an OrvelLink
// device, the Dante card's network state on any other.
Column {
    id: card

    readonly property bool orvelLink: rootQML.strDeviceType === "OrvelLink"
    readonly property var rows: orvelLink
        ? [["Mac Address", "Node\\OrvelX\\SV\\MacAddr"],
           ["Master Mac Address", "Node\\OrvelX\\SV\\MasterMacAddr"],
           ["Master Priority", "Node\\OrvelX\\SV\\MasterPriority"],
           ["Input Port Status", "Node\\OrvelX\\SV\\InputPortStatus"],
           ["Output Port Status", "Node\\OrvelX\\SV\\OutputPortStatus"]]
        : [["Primary IP Address", "Node\\Dante\\SV\\PrimaryIPAddr"],
           ["Primary Link Status", "Node\\Dante\\SV\\PrimaryLinkStatus"],
           ["Primary Link Speed", "Node\\Dante\\SV\\PrimaryLinkSpeed"],
           ["Primary Clock Status", "Node\\Dante\\SV\\PrimaryClockStatus"],
           ["Secondary IP Address", "Node\\Dante\\SV\\SecondaryIPAddr"],
           ["Secondary Link Speed", "Node\\Dante\\SV\\SecondaryLinkSpeed"],
           ["Secondary Link Status", "Node\\Dante\\SV\\SecondaryLinkStatus"],
           ["Secondary Clock Status", "Node\\Dante\\SV\\SecondaryClockStatus"]]

    spacing: rootQML.dpY(Theme.spacing)

    Repeater {
        model: card.rows
        WizardFormRow {
            objectName: "optionCardRow"
            label: modelData[0]
            QX8CustomLabel {
                anchors.verticalCenter: parent.verticalCenter
                processingObjectName: "NPO"
                stateVariableName: modelData[1]
            }
        }
    }
}
