import QtQuick 2.15
import QtQml 2.15
import QX8HomeScreenModel 1.0

// The home screen: the processor's signal chain, every block a button to its page. In
// configuration mode (the root's rootCfgMode), or while the settings key
// "Data/ConfigurableHomeScreen" is "true", it shows the configurable chain of the device
// configuration instead of the fixed one, and Help shows that chain's picture.
ScreenPage {
    id: page
    objectName: "homePage"
    currentScreen: "HomeScreen"

    readonly property bool configurable: rootQML.rootCfgMode
                                         || settings.value("Data/ConfigurableHomeScreen", "false")
                                            === "true"

    Accessible.name: rootQML.rootCfgMode ? "CONFIGURATION" : "SIGNAL CHAIN"

    // The screen's own help picture is the fixed chain's; the configurable chain has its own,
    // and configuration mode another.
    Binding {
        target: rootQML
        property: "strHelpFileName"
        when: page.configurable
        value: rootQML.rootCfgMode ? "/images/Help/HelpConfig.jpg"
                                   : "/images/Help/HomeScreenGrid.jpg"
        restoreMode: Binding.RestoreNone
    }

    QX8HomeScreenModel {
        id: chainModel
    }

    Loader {
        anchors.fill: parent
        sourceComponent: page.configurable ? configurableChain : fixedChain
    }

    Component {
        id: configurableChain
        CustomKaloHomeScreen {}
    }

    Component {
        id: fixedChain
        Item {
            CustomHeading {
                id: heading
                anchors.left: parent.left
                anchors.right: parent.right
                text: "SIGNAL CHAIN"
            }

            CustomQX8HomeScreen {
                anchors.left: parent.left
                anchors.right: parent.right
                anchors.top: heading.bottom
                anchors.bottom: parent.bottom
                anchors.topMargin: Theme.dpY(Theme.margin)
                model: chainModel
            }
        }
    }
}
