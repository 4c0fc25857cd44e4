import QtQuick 2.15

// A button with a picture above its caption (or the caption alone): the blocks of the signal
// chain. The caption keeps its full size and may take two lines or more; the picture shows only
// where the caption leaves it room to be told apart (a narrow block with a long caption shows the
// caption alone). `dimmed` greys the picture (a block that is switched off).
CustomButton {
    id: root

    property url imageSource
    property bool dimmed: false
    readonly property bool hasImage: String(imageSource) !== ""

    implicitWidth: Theme.dpX(88)
    implicitHeight: Theme.dpY(84)
    topPadding: Theme.dpY(Theme.spacingSmall)
    bottomPadding: Theme.dpY(Theme.spacingSmall)
    leftPadding: Theme.dpX(2)
    rightPadding: leftPadding

    contentItem: Column {
        id: content
        spacing: Theme.dpY(2)

        readonly property real pictureHeight: root.availableHeight - caption.implicitHeight - spacing
        readonly property bool pictureShown: root.hasImage
                                             && pictureHeight >= Theme.dpY(Theme.pictureMinimum)

        Image {
            objectName: "blockPicture"
            anchors.horizontalCenter: parent.horizontalCenter
            visible: content.pictureShown
            width: Math.min(root.availableWidth, height)
            height: content.pictureHeight
            source: root.imageSource
            fillMode: Image.PreserveAspectFit
            asynchronous: true
            opacity: root.dimmed ? 0.35 : 1
        }
        Text {
            id: caption
            objectName: "blockCaption"
            width: root.availableWidth
            height: content.pictureShown ? implicitHeight : root.availableHeight
            verticalAlignment: Text.AlignVCenter
            text: root.text
            textFormat: Text.PlainText
            horizontalAlignment: Text.AlignHCenter
            wrapMode: Text.WordWrap
            // With the picture, the caption has the height of its lines; alone, it may run out.
            elide: content.pictureShown ? Text.ElideNone : Text.ElideRight
            lineHeight: 0.9
            font.pixelSize: Theme.dpY(Theme.fontSmall)
            color: root.dimmed ? Theme.textDim : Theme.text
        }
    }
}
