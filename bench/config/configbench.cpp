// Times the build of the largest catalogue configuration and the rate of random edits, each
// edit followed by a build as the application does. Prints the numbers; takes no arguments.
#include "kalo480configbuilder.h"
#include "kalo480configeditor.h"

#include <json/reader.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <stdexcept>

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

bool loadTemplates(const std::string& path)
{
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    const std::string json = text.str();
    Json::CharReaderBuilder builder;
    std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    Json::Value templates;
    std::string errors;
    if (!reader->parse(json.data(), json.data() + json.size(), &templates, &errors))
        return false;
    Kalo480ConfigBuilder::instance()->setTemplates(templates);
    return true;
}

// The catalogue configuration with the widest crossover (most outputs, then most inputs), and of
// those the one with the most processing objects and wires.
Json::Value largestConfiguration(std::string& typeName)
{
    Kalo480ConfigBuilder* builder = Kalo480ConfigBuilder::instance();
    const Json::Value types = builder->templates()[".crossoverIIRTypes"];
    Json::Value largest;
    unsigned largestSize = 0;
    for (const std::string& type : types.getMemberNames()) {
        Json::Value config = builder->getDefault();
        Kalo480ConfigEditor::swap(config, "Out_CrossoverIIR", type, 8, 1);
        Json::Value result;
        if (!builder->buildConfig(result, config))
            continue;
        int inputs = 0;
        int outputs = 0;
        builder->crossoverInfo("Out_CrossoverIIR", type, inputs, outputs);
        const unsigned size =
            (outputs * 10 + inputs) * 10000u + result.size() + result["wires"].size();
        if (size > largestSize) {
            largestSize = size;
            largest = config;
            typeName = type;
        }
    }
    return largest;
}

} // namespace

int main()
{
    const std::string path = std::string(QX8_SOURCE_DIR) +
                             "/json/SDKs/Keldaran2/Extensions/yoxl/Objects/Kalo480/"
                             "Kalo480ConfigBuilderTemplates.json";
    if (!loadTemplates(path)) {
        std::fprintf(stderr, "cannot read %s\n", path.c_str());
        return 1;
    }
    Kalo480ConfigBuilder* builder = Kalo480ConfigBuilder::instance();

    std::string typeName;
    const Json::Value largest = largestConfiguration(typeName);
    const int builds = 2000;
    Json::Value result;
    const Clock::time_point buildStart = Clock::now();
    for (int k = 0; k < builds; ++k)
        builder->buildConfig(result, largest);
    const double buildSeconds = secondsSince(buildStart);
    std::printf("largest catalogue configuration: %s (%u members, %u wires)\n", typeName.c_str(),
                result.size(), result["wires"].size());
    std::printf("build: %.1f us per build (%d builds)\n", buildSeconds / builds * 1e6, builds);

    std::srand(1);
    Json::Value config = builder->getDefault();
    const int edits = 20000;
    int refused = 0;
    const Clock::time_point editStart = Clock::now();
    for (int k = 0; k < edits; ++k) {
        try {
            Kalo480ConfigEditor::mutate(config, 1);
        } catch (const std::runtime_error&) {
            ++refused;
        }
    }
    const double editSeconds = secondsSince(editStart);
    std::printf("random edits: %.0f edits per second (%d edits, %d refused)\n", edits / editSeconds,
                edits, refused);

    std::srand(1);
    config = builder->getDefault();
    const int editedBuilds = 5000;
    int failed = 0;
    const Clock::time_point bothStart = Clock::now();
    for (int k = 0; k < editedBuilds; ++k) {
        Kalo480ConfigEditor::mutate(config, 1);
        failed += !builder->buildConfig(result, config);
    }
    std::printf("random edit plus build: %.0f per second (%d failed builds)\n",
                editedBuilds / secondsSince(bothStart), failed);
    return failed == 0 ? 0 : 1;
}
