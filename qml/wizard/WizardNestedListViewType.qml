import QtQuick 2.15
import WizardBrandListViewModel 1.0
import WizardBrandModelsModel 1.0

// A loudspeaker or amplifier to pick: the brands the device offers, and beside the brand in focus
// its series and models, ending in "Not listed??" (the Custom product). The device's current
// product is the one selected; picking another writes it.
WizardPageFrame {
    id: page
    objectName: "wizardNestedListPage"

    // Rows are marked by these indexes, not by the views' current items: a current index past
    // the end of a list the device has just shortened would be built for a row that is gone.
    property int focusedBrand: -1
    property int chosenModel: -1
    property string refusal: ""

    title: brandList.heading
    onBackClicked: wizardScreen.sendEvent("Previous")
    onNextClicked: wizardScreen.sendEvent("Next")

    onChosenModelChanged: {
        if (chosenModel >= 0 && chosenModel < inner.count)
            inner.positionViewAtIndex(chosenModel, ListView.Contain);
    }

    function focusBrand(row) {
        focusedBrand = row;
        if (row >= 0)
            brands.positionViewAtIndex(row, ListView.Contain);
        models.brand = row < 0 ? "" : brandList.data(brandList.index(row, 0), 257);
    }

    // Where the Custom product, or one the device does not list, is shown: the "Not listed??"
    // row, wherever the device put it; -1 without one.
    function notListedRow() {
        for (var row = 0; row < brandList.rowCount(); ++row) {
            if (brandList.data(brandList.index(row, 0), 257) === "Not listed??")
                return row;
        }
        return -1;
    }

    Component.onCompleted: {
        models.wizardState = wizardScreen.wizardState;
        brandList.wizardState = wizardScreen.wizardState;
    }

    WizardBrandListViewModel {
        id: brandList
        onSelectionChanged: {
            page.focusBrand(brandIndex === -1 ? page.notListedRow() : brandIndex);
            page.chosenModel = seriesModelIndex;
        }
        onSelectionRefused: page.refusal = reason
        onModelAboutToBeReset: page.focusedBrand = -1
    }

    WizardBrandModelsModel {
        id: models
        brandListModel: brandList
        onModelAboutToBeReset: page.chosenModel = -1
    }

    Text {
        id: refusalText
        objectName: "brandRefusal"
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        visible: page.refusal !== ""
        text: page.refusal
        textFormat: Text.PlainText
        wrapMode: Text.WordWrap
        color: Theme.stateAlert
        font.pixelSize: rootQML.dpY(Theme.fontBody)
    }

    ListCursor {
        id: brandCursor
        objectName: "brandCursor"
        count: brands.count
        start: page.focusedBrand
        onMoved: brands.positionViewAtIndex(index, ListView.Contain)
        onActivated: brands.itemAtIndex(index).choose()
    }

    ListView {
        id: brands
        objectName: "brandList"
        anchors.left: parent.left
        anchors.top: parent.top
        anchors.bottom: refusalText.visible ? refusalText.top : parent.bottom
        width: parent.width * 0.4
        clip: true
        spacing: rootQML.dpY(Theme.spacingSmall)
        model: brandList
        // Rows beyond the view are built in the background; the device may replace the list
        // while one is still being built, for a row that is gone. The rows are cheap to build.
        cacheBuffer: 0

        delegate: Rectangle {
            id: brandRow
            objectName: "brandRow"
            width: brands.width
            height: rootQML.dpY(44)
            radius: Theme.radius
            color: index === page.focusedBrand ? Theme.selectedFill : Theme.raised
            Accessible.role: Accessible.ListItem
            Accessible.name: model.listViewElementText
            Accessible.selectable: true
            Accessible.selected: index === page.focusedBrand

            Text {
                anchors.fill: parent
                anchors.leftMargin: rootQML.dpX(Theme.margin)
                verticalAlignment: Text.AlignVCenter
                text: model.listViewElementText
                textFormat: Text.PlainText
                elide: Text.ElideRight
                color: Theme.text
                font.pixelSize: rootQML.dpY(Theme.fontValue)
            }

            function choose() {
                page.refusal = "";
                page.focusBrand(index);
                if (model.listViewElementText === "Not listed??")
                    brandList.makeSelection(-1, -1);
            }

            MouseArea {
                anchors.fill: parent
                onClicked: brandRow.choose()
            }

            FocusFrame {
                inset: true
                shown: brandCursor.isOn(index)
            }
        }
    }

    ListCursor {
        id: modelCursor
        objectName: "modelCursor"
        count: inner.visible ? inner.count : 0
        start: page.chosenModel
        onMoved: inner.positionViewAtIndex(index, ListView.Contain)
        onActivated: inner.itemAtIndex(index).choose()
    }

    // The series and models of the brand in focus; none for the Custom product.
    ListView {
        id: inner
        objectName: "modelList"
        anchors.left: brands.right
        anchors.right: parent.right
        anchors.top: parent.top
        anchors.bottom: brands.bottom
        anchors.leftMargin: rootQML.dpX(Theme.margin)
        visible: models.brand !== "Not listed??" && models.brand !== ""
        clip: true
        spacing: rootQML.dpY(Theme.spacingSmall)
        model: models
        cacheBuffer: 0

        delegate: Rectangle {
            id: modelRow
            objectName: "modelRow"
            width: inner.width
            height: rootQML.dpY(40)
            radius: Theme.radius
            color: index === page.chosenModel ? Theme.selectedFill : Theme.panel
            Accessible.role: Accessible.ListItem
            Accessible.name: model.listViewElementText
            Accessible.selectable: true
            Accessible.selected: index === page.chosenModel

            Text {
                anchors.fill: parent
                anchors.leftMargin: rootQML.dpX(Theme.margin)
                verticalAlignment: Text.AlignVCenter
                text: model.listViewElementText
                textFormat: Text.PlainText
                elide: Text.ElideRight
                color: Theme.text
                font.pixelSize: rootQML.dpY(Theme.fontBody)
            }

            function choose() {
                page.refusal = "";
                page.chosenModel = index;
                brandList.makeSelection(page.focusedBrand, index);
            }

            MouseArea {
                anchors.fill: parent
                onClicked: modelRow.choose()
            }

            FocusFrame {
                inset: true
                shown: modelCursor.isOn(index)
            }
        }
    }
}
