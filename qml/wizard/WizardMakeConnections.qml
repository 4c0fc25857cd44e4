import QtQuick 2.15
import QX8TextSV 1.0

// Which inputs and outputs to wire: the picture of the connections (with the option card when
// the device names one), the names of the three analogue inputs and the option card, and of the
// six outputs.
WizardPageFrame {
    id: page
    objectName: "wizardConnectionsPage"

    readonly property string wizard: "Node\\Wizard\\SV\\"

    title: "Make the following connections"
    showBack: false
    showNext: wizardScreen.wizardState !== "Inactive"
    onNextClicked: wizardScreen.sendEvent("Next")

    QX8TextSV {
        id: optionCard
        poName: "NPO"
        svName: page.wizard + "WizardOptionCardName"
        Component.onCompleted: componentCompleted()
    }

    WizardPicture {
        id: picture
        objectName: "connectionsPicture"
        anchors.left: parent.left
        anchors.top: parent.top
        anchors.bottom: parent.bottom
        width: parent.width * 0.55
        path: optionCard.value === "" ? "/images/Wizards/connections.png"
                                      : "/images/Wizards/OptionCardConnections.png"
    }

    Row {
        anchors.left: picture.right
        anchors.right: parent.right
        anchors.top: parent.top
        anchors.leftMargin: rootQML.dpX(Theme.margin)
        spacing: rootQML.dpX(Theme.margin)

        Repeater {
            model: [{"title": "INPUTS", "names": ["WizardXlrInput1Name", "WizardXlrInput2Name",
                        "WizardXlrInput3Name", "WizardOptionCardName"]},
                {"title": "OUTPUTS", "names": ["WizardXlrOutput1Name", "WizardXlrOutput2Name",
                        "WizardXlrOutput3Name", "WizardXlrOutput4Name", "WizardXlrOutput5Name",
                        "WizardXlrOutput6Name"]}]

            Column {
                width: rootQML.dpX(180)
                spacing: rootQML.dpY(Theme.spacing)

                Text {
                    text: modelData.title
                    color: Theme.textDim
                    font.pixelSize: rootQML.dpY(Theme.fontLabel)
                }
                Repeater {
                    model: modelData.names
                    Rectangle {
                        // No row for an option card the device does not have.
                        visible: modelData !== "WizardOptionCardName" || optionCard.value !== ""
                        width: parent.width
                        height: rootQML.dpY(40)
                        radius: Theme.radius
                        color: Theme.raised

                        QX8CustomLabel {
                            objectName: "connectionName"
                            anchors.left: parent.left
                            anchors.right: parent.right
                            anchors.verticalCenter: parent.verticalCenter
                            anchors.leftMargin: rootQML.dpX(Theme.spacing)
                            processingObjectName: "NPO"
                            stateVariableName: page.wizard + modelData
                        }
                    }
                }
            }
        }
    }
}
