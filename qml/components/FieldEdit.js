.pragma library

// Whatever leaves a field ends its edit first, exactly as Tab does: the keyboard focus leaves the
// field, and the field writes what it holds or refuses it with its reason. A field that can refuse
// says so with its `refused(reason)` signal. Returns the reason of a refusal: empty when the field
// took its text or no field was being edited.
function end(window) {
    var field = fieldHolding(window ? window.activeFocusItem : null);
    // Nothing else loses the focus: a button reached by Tab keeps it.
    if (!field)
        return "";
    var reason = "";
    var note = function (why) {
        reason = why;
    };
    field.refused.connect(note);
    // An item that gives up the focus hands it to its focus scope: scope by scope, out of the field.
    for (var holder = window.activeFocusItem; holder && fieldHolding(holder) === field;
         holder = window.activeFocusItem) {
        holder.focus = false;
        if (window.activeFocusItem === holder)
            break;
    }
    field.refused.disconnect(note);
    return reason;
}

// The field `item` belongs to, if any.
function fieldHolding(item) {
    while (item && item.refused === undefined)
        item = item.parent;
    return item;
}
