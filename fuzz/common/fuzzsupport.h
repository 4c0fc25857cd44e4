#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <vector>

// A property of the code under test that failed: libFuzzer keeps the input as a crash.
#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition);     \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)

namespace fuzzsupport {

// The input cut into pieces of 1 to maxPiece bytes. The cut points follow from the input alone,
// so a saved crash replays with the same pieces.
inline std::vector<std::string_view> pieces(const std::uint8_t* data, std::size_t size,
                                            std::size_t maxPiece)
{
    std::uint64_t state = 14695981039346656037ULL; // FNV-1a of the input seeds the cuts
    for (std::size_t i = 0; i < size; ++i)
        state = (state ^ data[i]) * 1099511628211ULL;
    std::vector<std::string_view> result;
    const auto* text = reinterpret_cast<const char*>(data);
    for (std::size_t at = 0; at < size;) {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        const std::size_t length = std::min(size - at, 1 + state % maxPiece);
        result.emplace_back(text + at, length);
        at += length;
    }
    return result;
}

// The input split after every LF, each line keeping its line end, as a socket's readLine()
// hands them out.
inline std::vector<std::string_view> lines(const std::uint8_t* data, std::size_t size)
{
    std::vector<std::string_view> result;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = text.find('\n', at);
        const std::size_t next = end == std::string_view::npos ? text.size() : end + 1;
        result.push_back(text.substr(at, next - at));
        at = next;
    }
    return result;
}

} // namespace fuzzsupport
