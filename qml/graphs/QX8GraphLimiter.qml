import QtQuick 2.15
import TransferCurvePlotter 1.0

// The limiter's transfer curve: the level held at the threshold, through the OverEasy knee.
TransferGraph {
    law: TransferCurvePlotter.Limiter
}
