import QtQuick 2.15

// The name of one output, edited in place: the root's name characters only, never empty; the
// name goes into the configuration through the home-screen model. `refusal` says why a name
// was not taken.
CustomEditLabelBox {
    id: root

    property var configModel
    property int row
    property string refusal

    validator: specialCharacterValidator
    fontSize: Theme.fontValue

    onEdited: {
        var name = text.trim()
        if (name === "") {
            refusal = "An output needs a name."
            return
        }
        refusal = ""
        configModel.setOutputName(row, name)
    }
}
