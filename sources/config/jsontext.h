#pragma once

#include <json/value.h>

#include <string>

// JSON text to and from JsonCpp values, with JsonCpp's builder APIs.
namespace jsontext {

// The value of the text, or a null value when it does not parse; then `error` (when given)
// holds the reader's message.
Json::Value parse(const std::string& text, std::string* error = nullptr);

// One line without blanks, object members in ascending key order.
std::string compact(const Json::Value& value);

} // namespace jsontext
