#include "jsontext.h"

#include <json/reader.h>
#include <json/writer.h>

#include <memory>

namespace jsontext {

Json::Value parse(const std::string& text, std::string* error)
{
    const Json::CharReaderBuilder builder;
    const std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    Json::Value value;
    std::string errors;
    if (reader->parse(text.data(), text.data() + text.size(), &value, &errors))
        return value;
    if (error)
        *error = errors;
    return Json::Value();
}

std::string compact(const Json::Value& value)
{
    Json::StreamWriterBuilder writer;
    writer["indentation"] = "";
    return Json::writeString(writer, value);
}

} // namespace jsontext
