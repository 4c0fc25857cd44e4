#pragma once

class DeviceState;

// What the wizards show that a real device holds or measures: the loudspeaker and amplifier
// products its brand and model steps offer (hundreds, values as small XML documents with
// single-quoted attributes, among them the "Custom" product and two products whose names would
// read alike when joined with blanks), and a room measurement with its target curve.
void loadWizardData(DeviceState& state);
