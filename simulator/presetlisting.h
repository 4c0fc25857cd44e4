#pragma once

#include <QStringList>

class DeviceState;

// The processing objects the device lists under "\\Preset\", in model order. The input mixer and
// the graphic EQ follow the set-up choices: with InputMixing "Mono" the preset holds MonoMixer in
// place of StereoMixer, with GEQSetup "Dual Mono" LeftGEQ and RightGEQ in place of StereoGEQ.
QStringList presetObjects(DeviceState& state);

// Whether a console path names the preset itself ("\\Preset\" or "\\Preset").
bool isPresetRoot(const QString& consolePath);
