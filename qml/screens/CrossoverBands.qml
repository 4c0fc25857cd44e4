import QtQuick 2.15
import QX8Settings 1.0

// The fixed chain's crossover as the home screen last found it on the device, from the settings
// its model writes: the band count and the mono sub as integers, and the band groups (High, Mid,
// Low) it shows. Read once, when the page is made; the home screen opens the crossover only once
// it knows the bands, and the delays only of the groups it shows.
QtObject {
    id: bands

    readonly property QX8Settings settings: QX8Settings {}
    readonly property int ways: parseInt(settings.value("Crossover/NumBand", ""), 10) || 0
    readonly property int subs: (parseInt(settings.value("Crossover/MonoSub", ""), 10) || 0) > 0
                                ? 1 : 0
    readonly property bool known: ways > 0
    // "High", "Mid", "Low": the groups shown, from the top.
    readonly property var groups: ["High", "Mid", "Low"].filter(groupShown)

    // A group the settings do not mention is shown.
    function groupShown(group) {
        return String(settings.value("Crossover_" + group + "GroupVisible", true)) !== "false"
    }

    // "2 WAYS + MONO SUB".
    function summaryOf(wayCount, subCount) {
        return wayCount + (wayCount === 1 ? " WAY" : " WAYS") + (subCount > 0 ? " + MONO SUB" : "")
    }

    // The group each band feeds, by band index (the ways from the lowest, then the sub): the
    // groups shown take the bands from the top down; a band left over feeds none ("").
    function groupsOfBands(wayCount, subCount) {
        var fromTop = []
        for (var way = wayCount - 1; way >= 0; --way)
            fromTop.push(way)
        if (subCount > 0)
            fromTop.push(wayCount)
        var groupOf = []
        for (var band = 0; band < wayCount + subCount; ++band)
            groupOf.push("")
        for (var i = 0; i < Math.min(groups.length, fromTop.length); ++i)
            groupOf[fromTop[i]] = groups[i]
        return groupOf
    }
}
