import QtQuick 2.15
import TransferCurvePlotter 1.0

// The compressor's transfer curve: its ratio above the threshold, through the OverEasy knee,
// raised by the make-up gain.
TransferGraph {
    law: TransferCurvePlotter.Compressor
}
