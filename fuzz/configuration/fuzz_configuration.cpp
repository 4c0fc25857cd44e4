// A builder configuration as the device or a pasted text gives it: built, asked what the editing
// dialogs ask, and edited at random on a copy. Every failure must come as a thrown error or a
// refused build, which the configuration model reports; nothing may crash or hang.
#include "fuzzsupport.h"
#include "jsontext.h"
#include "kalo480configbuilder.h"
#include "kalo480configeditor.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {

using Editor = Kalo480ConfigEditor;

// The model catches whatever the editor throws and refuses the request.
template<typename Call> void refusedOrDone(Call call)
{
    try {
        call();
    } catch (...) {
    }
}

// A few cells per input, picked by its seed: the run as a whole asks every cell.
void askCells(const Json::Value& config, unsigned seed)
{
    for (int i = 0; i < 6; ++i, seed = seed * 1103515245u + 12345u) {
        const int col = int(seed >> 8) % 15;
        const int row = 1 + int(seed >> 20) % Kalo480ConfigBuilder::maxColumnRows;
        refusedOrDone([&] {
            Editor::itemTypeAtPath(config, col, row);
            Editor::itemSecondaryTypeAtPath(config, col, row);
        });
        refusedOrDone([&] {
            int height = 0;
            Editor::unlinkTest(config, col, row, &height);
        });
        for (int count = 0; count <= Kalo480ConfigBuilder::maxColumnRows + 1; ++count)
            refusedOrDone([&] { Editor::linkTest(config, col, row, count); });
        refusedOrDone([&] {
            std::vector<std::string> options;
            Editor::swapOptions(config, col, row, options);
            std::vector<std::string> names;
            Editor::displayNamesForSwapOptions(names, options);
            std::vector<std::string> types;
            for (const std::string& option : options) {
                if (col == 8)
                    Editor::swapOptionsForCrossover(config, option, col, row, types);
            }
        });
    }
}

void askRouterAndOutputs(const Json::Value& config)
{
    for (int slot = 0; slot <= 8; ++slot) {
        refusedOrDone([&] {
            Editor::inputRouterGetSource(config, slot);
            Editor::inputRouterGetSourceName(config, slot);
            Editor::inputRouterSwapOptionsForSlotNum(config, slot, true);
            Editor::inputRouterSwapOptionsForSlotNum(config, slot, false);
        });
    }
    for (int output = 0; output <= 7; ++output)
        refusedOrDone([&] { Editor::outputsGetOutputName(config, output); });
}

unsigned seedOf(const uint8_t* data, size_t size)
{
    unsigned seed = 2166136261u;
    for (size_t i = 0; i < size; ++i)
        seed = (seed ^ data[i]) * 16777619u;
    return seed;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    std::ifstream file(QX8_TEMPLATES_PATH);
    std::stringstream text;
    text << file.rdbuf();
    const Json::Value templates = jsontext::parse(text.str());
    if (!templates.isObject()) {
        std::fprintf(stderr, "cannot read the templates %s\n", QX8_TEMPLATES_PATH);
        std::abort();
    }
    Kalo480ConfigBuilder::instance()->setTemplates(templates);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const Json::Value config =
        jsontext::parse(std::string(reinterpret_cast<const char*>(data), size));
    Kalo480ConfigBuilder* builder = Kalo480ConfigBuilder::instance();
    Json::Value built;
    if (builder->buildConfig(built, config))
        FUZZ_CHECK(built.isObject());
    else
        FUZZ_CHECK(!builder->errorText().empty() && built.isNull());

    const unsigned seed = seedOf(data, size);
    askCells(config, seed);
    askRouterAndOutputs(config);
    refusedOrDone([&] { Editor::setBuilderConfig(config); });
    if (built.isNull())
        return 0;

    // Only a configuration that built is edited: a copy, built before the model takes it.
    Json::Value edited = config;
    std::srand(seed);
    refusedOrDone([&] { Editor::mutate(edited, 4); });
    if (builder->buildConfig(built, edited))
        FUZZ_CHECK(built.isObject());
    return 0;
}
