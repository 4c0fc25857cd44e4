import QtQuick 2.15

// The analytics opt-in ("Data/appAnalytics") as a strip of its own; the Utilities screen shows
// the same switch in the application strip instead.
UtilityStrip {
    objectName: "shareAnalytics"
    title: "App Analytics"

    SettingsCheckBox {
        objectName: "shareAnalyticsCheckBox"
        text: "Share App Analytics"
        settingsKey: "Data/appAnalytics"
    }
}
