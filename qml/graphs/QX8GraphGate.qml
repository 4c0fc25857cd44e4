import QtQuick 2.15
import TransferCurvePlotter 1.0

// The noise gate's transfer curve: expanded below the threshold by its ratio, never further than
// its maximum attenuation below the input.
TransferGraph {
    law: TransferCurvePlotter.Gate
}
