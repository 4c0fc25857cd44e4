import QtQuick 2.15

// The name of one output, edited in place: the root's name characters only, never empty; the
// name goes into the configuration through the home-screen model. `refusal` says why a name
// was not taken, and `refused` tells it as it happens.
CustomEditLabelBox {
    id: root

    property var configModel
    property int row
    property string refusal

    signal refused(string reason)

    validator: specialCharacterValidator
    fontSize: Theme.fontValue

    onEdited: {
        var name = text.trim()
        if (name === "") {
            refusal = "An output needs a name."
            refused(refusal)
            return
        }
        refusal = ""
        configModel.setOutputName(row, name)
    }
}
