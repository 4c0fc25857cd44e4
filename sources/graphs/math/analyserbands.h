#pragma once

// The analyser's bands: third octaves numbered from 1, band 1 centred on 20 Hz (ISO 1/3-octave
// series, exactly 1000 * 2^((n - 18) / 3) Hz), each reaching a sixth of an octave to each side.
namespace AnalyserBands {

double centreHz(int band);
double lowerEdgeHz(int band);
double upperEdgeHz(int band);

} // namespace AnalyserBands
