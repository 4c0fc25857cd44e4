#pragma once

#include "jsontext.h"

#include <json/value.h>

#include <QMetaType>
#include <QString>

#include <functional>
#include <string>
#include <vector>

// Loads the templates file from the source tree, and builds configurations, for the
// configuration tests.
namespace configfixture {

// One step on a configuration, for table-driven cases; edits answer whether they were accepted.
using Change = std::function<void(Json::Value&)>;
using Edit = std::function<bool(Json::Value&)>;

QString templatesPath();

// The items of the columns in short: "In_GEQ/2, -, Output/Lobby | ..." (an empty cell is "-").
QString columnsText(const Json::Value& config, const std::vector<int>& columns);

// Gives the builder's instance the templates file of the source tree; false when unreadable.
bool loadTemplates();
Json::Value defaultConfig();
// The default configuration with the crossover of row 1 swapped to an IIR type.
Json::Value configWithCrossover(const std::string& typeName);

// The builder's templates with one change, for a TemplatesOverride.
Json::Value templatesWith(const Change& change);

// Swaps in changed templates for one test and restores the earlier ones afterwards.
class TemplatesOverride
{
public:
    explicit TemplatesOverride(const Json::Value& templates);
    ~TemplatesOverride();
    TemplatesOverride(const TemplatesOverride&) = delete;
    TemplatesOverride& operator=(const TemplatesOverride&) = delete;

private:
    Json::Value m_saved;
};

// Builds and returns the device configuration; on failure a null value and `error` is set.
Json::Value build(const Json::Value& builderConfig, std::string* error = nullptr);

// The message of the std::runtime_error the call throws, or "nothing thrown".
std::string thrownBy(const std::function<void()>& call);

} // namespace configfixture

Q_DECLARE_METATYPE(std::string)
Q_DECLARE_METATYPE(configfixture::Change)
Q_DECLARE_METATYPE(configfixture::Edit)
