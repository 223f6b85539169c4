// Cutting text into lines for a reader that takes each line in turn, with the line feeds of 64
// bytes found at once.
#pragma once

#include "text/line_splitter.hpp"

#include <bit>
#include <cstdint>
#include <string_view>

namespace dravent {

// Calls take(line) for each line of text in order, each a view into text without its line feed:
// the lines line_splitter hands out (a last line without a line feed counts, a text that ends
// with one has no empty line after it).
template <typename Take>
inline void for_each_line(std::string_view text, Take&& take)
{
    const char* line = text.data();
    const char* const end = text.data() + text.size();
    const char* chunk = text.data();
    for (; end - chunk >= 64; chunk += 64) {
        for (std::uint64_t feeds = line_feed_bits_of_64(chunk); feeds != 0; feeds &= feeds - 1) {
            const char* const line_end = chunk + std::countr_zero(feeds);
            take(std::string_view(line, static_cast<std::size_t>(line_end - line)));
            line = line_end + 1;
        }
    }
    for (; chunk != end; ++chunk) {
        if (*chunk == '\n') {
            take(std::string_view(line, static_cast<std::size_t>(chunk - line)));
            line = chunk + 1;
        }
    }
    if (line != end) {
        take(std::string_view(line, static_cast<std::size_t>(end - line)));
    }
}

} // namespace dravent
