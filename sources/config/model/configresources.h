#pragma once

#include "crossovercatalogue.h"

#include <QString>

// The configuration data the application carries in its resources: the templates file, handed
// to the configuration builder's instance, and the crossover catalogue, kept here for the
// configuration screens. Loaded once at start-up, on the GUI thread.
class ConfigResources
{
public:
    static constexpr const char* kTemplatesPath =
        ":/json/SDKs/Keldaran2/Extensions/yoxl/Objects/Kalo480/Kalo480ConfigBuilderTemplates.json";
    static constexpr const char* kCataloguePath = ":/xml/CrossoverConfigurations.xml";

    // Reads both resources. False, with the reasons in `error` (when given), when either cannot
    // be read or parsed; the other one is loaded all the same.
    static bool load(QString* error = nullptr);

    static const CrossoverCatalogue& catalogue();
};
