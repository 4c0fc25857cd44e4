import QtQuick 2.15

// The Orvel Link card of the device: its address on the digital-audio bus, the bus master and
// the state of its ports.
DeviceValuesStrip {
    objectName: "orvelLinkStrip"
    title: "Orvel Link"
    folder: "OrvelX\\SV\\"
    rowsOfValues: [["Mac Address", "MacAddr"],
                   ["Master Mac Address", "MasterMacAddr"],
                   ["Master Priority", "MasterPriority"],
                   ["Input Port Status", "InputPortStatus"],
                   ["Output Port Status", "OutputPortStatus"]]
}
