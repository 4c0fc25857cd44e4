.pragma library

// The steps a key asks of a value control: Up or Right one step up, Down or Left one down, Page Up
// and Page Down ten; 0 for any other key. `withSides` false leaves Left and Right out (a text
// field moves its cursor with them).
function of(key, withSides) {
    var sides = withSides === undefined || withSides;
    switch (key) {
    case Qt.Key_Up:
        return 1;
    case Qt.Key_Down:
        return -1;
    case Qt.Key_Right:
        return sides ? 1 : 0;
    case Qt.Key_Left:
        return sides ? -1 : 0;
    case Qt.Key_PageUp:
        return 10;
    case Qt.Key_PageDown:
        return -10;
    default:
        return 0;
    }
}
