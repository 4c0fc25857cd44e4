import QtQuick 2.15

// The Dante card of the device: its two network ports, their links and clocks.
DeviceValuesStrip {
    objectName: "danteStrip"
    title: "Dante"
    folder: "Dante\\SV\\"
    rowsOfValues: [["Primary IP Address", "PrimaryIPAddr"],
                   ["Primary Link Status", "PrimaryLinkStatus"],
                   ["Primary Link Speed", "PrimaryLinkSpeed"],
                   ["Primary Clock Status", "PrimaryClockStatus"],
                   ["Secondary IP Address", "SecondaryIPAddr"],
                   ["Secondary Link Speed", "SecondaryLinkSpeed"],
                   ["Secondary Link Status", "SecondaryLinkStatus"],
                   ["Secondary Clock Status", "SecondaryClockStatus"]]
}
