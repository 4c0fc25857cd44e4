#pragma once

class DeviceState;

// Level meters and clip indicators as the processor's own read: an output's meter reads its
// signal after the output's gain, and nothing while the output is muted; a channel's clip
// indicator is lit only while that channel's level reaches full scale.
namespace MeterReadings {

// Gives the output meters and every channel's clip indicator of `state` their readings.
void install(DeviceState& state);

} // namespace MeterReadings
