import QtQuick 2.15

// A picture named by a wizard descriptor: a resource path ("qrc:/images/...", "/images/...").
// Marker words and bare file names name no picture and show nothing.
Image {
    property string path: ""

    source: path.startsWith("qrc:/") ? path : path.startsWith("/images/") ? "qrc:" + path : ""
    visible: source != ""
    fillMode: Image.PreserveAspectFit
}
