#pragma once

#include "wizardlistviewinfo.h"

#include <QString>

// The speaker stacks of the sub-speaker choices: each row's crossover code (mode x 10000 + main
// cabinets x 1000 + ways x 100 + sub format x 10 + sub cabinets) from the device's current PA
// output format and main speaker mode. A row's image is a marker word here ("YesSubs",
// "MonoSub", ...); rows without one keep their picture and code 0.
namespace wizardcrossover {

// One way, no subs, for the output format: "Mono" 11100, "Stereo" 22100, "LCR" 33100; 0 for
// anything else. Two and three mono mains take the codes of the stereo and LCR stacks with as
// many cabinets: "MonoX2" 22100, "MonoX3" 33100.
int baseCode(const QString& outputFormat);

// 0, 100 or 200 for one, two or three ways; 0 for a word it does not know.
int waysAddend(const QString& mainSpeakerMode);

// A row of the "are you using subs" list: "NoSubs" has the main stack alone, "YesSubs" adds one
// mono sub cabinet.
WizardSetupViewInfo subChoiceRow(WizardSetupViewInfo row, const QString& outputFormat,
                                 const QString& mainSpeakerMode);

// A row of the sub output format list ("MonoSub", "Monox2Sub", "Monox3Sub", "StereoSub",
// "LcrSub").
WizardSetupViewInfo subFormatRow(WizardSetupViewInfo row, const QString& outputFormat);

// A row of the "are the subs fed from an aux" list: the marker becomes the input-format
// picture of the output format; the code stays 0.
WizardSetupViewInfo auxFedRow(WizardSetupViewInfo row, const QString& outputFormat);

} // namespace wizardcrossover
