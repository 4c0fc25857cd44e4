import QtQuick 2.15
import QX8TextSV 1.0

// The AutoEQ the level assist measures ("AutoEQ1" .. "AutoEQ6"): its last digit less one is the
// first output it uses. Any other value is ignored.
Item {
    id: variable

    property string processingObjectName: "NPO"
    property string stateVariableName: "Node\\Wizard\\SV\\WizardAutoEqSelect"
    property int baseChannel: -1

    QX8TextSV {
        id: backend
        poName: variable.processingObjectName
        svName: variable.stateVariableName
        onValueChanged: {
            var channel = parseInt(value.charAt(value.length - 1)) - 1;
            if (channel >= 0 && channel <= 5)
                variable.baseChannel = channel;
        }
        Component.onCompleted: componentCompleted()
    }
}
