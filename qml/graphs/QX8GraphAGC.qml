import QtQuick 2.15
import TransferCurvePlotter 1.0

// The automatic gain control's transfer curve: from the low threshold up, levels drawn into the
// window around the target by at most the maximum gain, and held under the limiter's threshold.
TransferGraph {
    law: TransferCurvePlotter.Agc
    lowVariable: "Low Threshold"
    highVariable: "Target"
}
