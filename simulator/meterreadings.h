#pragma once

class DeviceModel;
class DeviceState;

// Level meters, clip indicators and gain-reduction meters as the processor's own read: an
// output's meter reads its signal after the output's gain, and nothing while the output is muted;
// a channel's clip indicator is lit only while that channel's level reaches full scale; a gate,
// compressor or limiter reduces the first input's signal only while the block is on and the
// signal lies on its acting side of the threshold (below it for a gate, above it otherwise).
namespace MeterReadings {

// Gives the output meters, every channel's clip indicator and every dynamics block's
// gain-reduction meter of `state` their readings.
void install(const DeviceModel& model, DeviceState& state);

} // namespace MeterReadings
