pragma Singleton
import QtQml 2.15

// The house style of every page: colours, font sizes, margins and spacing, in design pixels at
// 1024 x 768. dpX/dpY turn design pixels into screen pixels as the root's functions of the same
// names do; components use these, so that they scale outside the main window too.
QtObject {
    readonly property real dpiScaleX: typeof screenDpiX !== "undefined" ? screenDpiX : 1
    readonly property real dpiScaleY: typeof screenDpiY !== "undefined" ? screenDpiY : 1

    function dpX(value) {
        return value * dpiScaleX
    }
    function dpY(value) {
        return value * dpiScaleY
    }

    // Surfaces: the page near black, panels a step lighter, raised parts (dialogs, list rows)
    // a step more.
    readonly property color background: "#141414"
    readonly property color backgroundOffline: "#2b2914"
    readonly property color backgroundValidation: "#15291a"
    readonly property color panel: "#1e1e1e"
    readonly property color raised: "#2b2b2b"
    readonly property color raisedSelected: "#3d3d3d"
    readonly property color border: "#505050"
    readonly property color scrim: "#a0000000"

    // The brand red: logo, primary buttons and the selected item only.
    readonly property color brand: "#ff0000"
    readonly property color brandPressed: "#b00000"

    // Text: values white, labels and units grey; dark text on light handles.
    readonly property color text: "#ffffff"
    readonly property color textDim: "#b0b0b0"
    readonly property color textOnLight: "#000000"

    // Text of a value that has not arrived yet (a dash), and of what does not apply.
    readonly property color textFaint: "#6a6a6a"

    // One look per meaning, the same on every page, wizards and configuration views included:
    // the selected item (a band, a list row, a page in the menu bar) filled brand red with
    // white text; a toggle that is on (a bypass, a wizard option) green with dark text, and off
    // panel grey with grey text; the main action of a page or dialog (Next, Apply, OK) filled,
    // the others (Back, Cancel) outlined.
    readonly property color selectedFill: brand
    readonly property color selectedText: text
    readonly property color onFill: stateOn
    readonly property color onText: textOnLight
    readonly property color offFill: raised
    readonly property color offText: textDim
    readonly property color mainFill: brand
    readonly property color mainPressed: brandPressed
    readonly property color mainText: text

    // Graphs: faint grid lines, the bright summed curve, and the colour of a band that has none
    // of its own. Band colours tell bands apart only: none of them is a state colour.
    readonly property color grid: "#40ffffff"
    readonly property color gridStrong: "#70ffffff"
    readonly property color curveTotal: "#ffffff"
    readonly property color bandFallback: "#808080"
    readonly property var bandColors: ["#4fc3f7", "#ffb74d", "#b39ddb", "#4db6ac", "#f48fb1",
        "#9ccc65", "#7986cb", "#ff8a65", "#80deea", "#ce93d8", "#bcaaa4", "#e6ee9c"]
    // The analyser's bars, and the gain a dynamics processor takes away (its meter hangs from the
    // top): neither is a state colour.
    readonly property color analyserBar: "#4fc3f7"
    readonly property color gainReduction: "#ffa040"

    // States, one meaning each: green on or signal present, yellow warning, red clip, mute or
    // error (and its unlit form).
    readonly property color stateOn: "#2ecc40"
    readonly property color stateWarning: "#ffdc00"
    readonly property color stateAlert: "#ff4136"
    readonly property color stateAlertUnlit: "#401010"

    // Update buttons and progress bars of the Utilities screen: grey while there is only a check
    // to make, green when a download or an installation waits.
    readonly property color updateIdle: "#a5b2b2b2"
    readonly property color updateIdlePressed: "#969696"
    readonly property color updateAction: "#6cab1f"
    readonly property color progressTrack: "#313030"
    readonly property color progressFill: "#81ab2f"

    // Font sizes: nothing under 12 px; values 18 px and more.
    readonly property int fontSmall: 12
    readonly property int fontLabel: 14
    readonly property int fontBody: 16
    readonly property int fontValue: 18
    readonly property int fontValueLarge: 22
    readonly property int fontLogo: 22
    readonly property int fontHeading: 26
    readonly property int fontTitle: 32

    // One margin around the page and between panels, one gap inside panels.
    readonly property int margin: 16
    readonly property int spacing: 8
    readonly property int spacingSmall: 4
    readonly property int radius: 4

    // The ring round the control that has the keyboard focus: a colour no page, panel or state
    // uses, standing a gap apart from the control's own edge.
    readonly property color focusFrame: "#40c8ff"
    readonly property int focusFrameWidth: 2
    readonly property int focusFrameGap: 2

    // Controls: the height of a button or field, and of a page's header row.
    readonly property int controlHeight: 32
    readonly property int headingHeight: 44
    // The smallest picture worth showing on a button: under it, an icon is a smudge.
    readonly property int pictureMinimum: 20
}
