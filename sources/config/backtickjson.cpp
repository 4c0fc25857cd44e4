#include "backtickjson.h"

namespace backtickjson {

std::string encode(const std::string& json)
{
    std::string out;
    out.reserve(json.size() + json.size() / 8);
    bool inString = false;
    for (std::size_t i = 0; i < json.size(); ++i) {
        const char c = json[i];
        if (!inString) {
            inString = c == '"';
            out += inString ? '`' : c;
        } else if (c == '\\' && i + 1 < json.size()) {
            const char escaped = json[++i];
            if (escaped == '"')
                out += "\\u0022";
            else
                (out += '\\') += escaped;
        } else if (c == '"') {
            inString = false;
            out += '`';
        } else if (c == '`') {
            out += "\\u0060";
        } else {
            out += c;
        }
    }
    return out;
}

std::string decode(const std::string& text)
{
    std::string out = text;
    for (char& c : out) {
        if (c == '`')
            c = '"';
    }
    return out;
}

} // namespace backtickjson
