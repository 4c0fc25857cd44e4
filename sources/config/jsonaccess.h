#pragma once

#include <json/value.h>

#include <string>

// Reads from JSON documents that may have any shape. JsonCpp's own accessors throw or convert
// silently when a value has an unexpected type; these answer a null value or an empty text
// instead, so callers decide what a missing or mistyped member means.
namespace jsonaccess {

inline const Json::Value& nullValue()
{
    static const Json::Value null;
    return null;
}

inline const Json::Value& member(const Json::Value& value, const std::string& key)
{
    if (!value.isObject())
        return nullValue();
    const Json::Value* found = value.find(key.data(), key.data() + key.size());
    return found ? *found : nullValue();
}

inline const Json::Value& element(const Json::Value& value, int index)
{
    if (!value.isArray() || index < 0 || index >= static_cast<int>(value.size()))
        return nullValue();
    return value[static_cast<Json::ArrayIndex>(index)];
}

inline std::string text(const Json::Value& value)
{
    return value.isString() ? value.asString() : std::string();
}

// A whole number in [low, high]; anything else is not.
inline bool wholeNumber(const Json::Value& value, int low, int high, int& out)
{
    if (!value.isNumeric())
        return false;
    const double number = value.asDouble();
    if (number < low || number > high || number != static_cast<double>(static_cast<int>(number)))
        return false;
    out = static_cast<int>(number);
    return true;
}

inline int size(const Json::Value& value)
{
    return value.isArray() ? static_cast<int>(value.size()) : 0;
}

} // namespace jsonaccess
