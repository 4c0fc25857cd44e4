import QtQuick 2.15

// A button with a picture above its caption (or the caption alone): the blocks of the signal
// chain. The caption may take two lines, and shrinks a little before it would cut a word in a
// narrow block; `dimmed` greys the picture (a block that is switched off).
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
        spacing: Theme.dpY(2)

        Image {
            anchors.horizontalCenter: parent.horizontalCenter
            visible: root.hasImage
            width: Math.min(root.availableWidth, height)
            height: root.availableHeight - caption.height - parent.spacing
            source: root.imageSource
            fillMode: Image.PreserveAspectFit
            asynchronous: true
            opacity: root.dimmed ? 0.35 : 1
        }
        Text {
            id: caption
            width: root.availableWidth
            // The lines the caption takes at its full size: the picture has the rest.
            readonly property int lines: root.text.indexOf("\n") >= 0
                                         || fullSize.advanceWidth > width ? 2 : 1
            height: root.hasImage ? lines * fullSize.height + 2 : root.availableHeight
            verticalAlignment: Text.AlignVCenter
            fontSizeMode: Text.Fit
            minimumPixelSize: Theme.dpY(Theme.fontSmall) * 0.85
            text: root.text
            textFormat: Text.PlainText
            horizontalAlignment: Text.AlignHCenter
            wrapMode: Text.WordWrap
            clip: true
            lineHeight: 0.9
            font.pixelSize: Theme.dpY(Theme.fontSmall)
            color: root.dimmed ? Theme.textDim : Theme.text

            TextMetrics {
                id: fullSize
                font.pixelSize: Theme.dpY(Theme.fontSmall)
                text: root.text
            }
        }
    }
}
