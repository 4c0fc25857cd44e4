#pragma once

class DeviceModel;
class DeviceState;

// The analyser's band meters as a measurement microphone in front of a speaker playing pink
// noise reads them: the same level in every third-octave band, shaped by the gain of the graphic
// EQ's band nearest in frequency, raised by the analyser's own gain, each band wandering a few
// dB by the clock so that the spectrum moves.
namespace SpectrumAnalyser {

// Gives every analyser band meter of the model its reading in `state`.
void install(const DeviceModel& model, DeviceState& state);

} // namespace SpectrumAnalyser
