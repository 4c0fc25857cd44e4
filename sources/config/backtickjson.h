#pragma once

#include <string>

// The text form of the device's JSON command channel. A command or answer travels as the value
// of one console field, which cannot hold a double quote: every double quote that delimits a
// JSON string becomes a backtick, and the two characters a string may not show literally are
// written as JSON escapes (a double quote as \u0022, a backtick as \u0060). Decoding turns every
// backtick back into a double quote, which gives JSON that reads as the original: every text
// makes the round trip.
namespace backtickjson {

// `json` is any valid JSON text (UTF-8); its structure is kept byte for byte.
std::string encode(const std::string& json);
std::string decode(const std::string& text);

} // namespace backtickjson
