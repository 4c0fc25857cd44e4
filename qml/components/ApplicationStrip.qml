import QtQuick 2.15

// The application's strip of the Utilities screen: the running version and the analytics
// opt-in; further controls take rows of their own.
UtilityStrip {
    objectName: "applicationStrip"
    title: "Application"

    StripRow {
        label: "Current Version"

        Text {
            objectName: "currentVersion"
            text: applicationUpdater.applicationVersion
            color: Theme.text
            font.pixelSize: rootQML.dpY(Theme.fontValue)
        }
    }

    StripRow {
        label: "App Analytics"

        SettingsCheckBox {
            id: checkBox
            objectName: "shareAnalyticsCheckBox"
            text: "Share App Analytics"
            settingsKey: "Data/appAnalytics"
        }
    }
}
