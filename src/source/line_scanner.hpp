// Searches in one line for the bytes that end its words and operands, sixteen bytes at a time.
#pragma once

#include "text/characters.hpp"

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace dravent {

// A line, and how far past its end its bytes may be read: a line inside a larger text (the block
// it was read in) lets a search look at sixteen bytes with one load even near its end. What stands
// past the end is never taken for part of the line.
class line_scanner {
public:
    explicit line_scanner(std::string_view text) : text_(text), readable_end_(text.data() + text.size()) {}
    // readable_end: at or after the line's end.
    line_scanner(std::string_view text, const char* readable_end) : text_(text), readable_end_(readable_end) {}

    std::string_view text() const { return text_; }

    // Whether the eight bytes at at may be read.
    bool can_read_eight(const char* at) const { return readable_end_ - at >= 8; }

    // The first position at or after position whose byte is one of stops, or text().size().
    template <char... stops>
    std::size_t find_first(std::size_t position) const
    {
#if defined(__SSE2__)
        for (; position < text_.size(); position += 16) {
            const char* at = text_.data() + position;
            if (readable_end_ - at < 16) {
                return find_first_in_bytes<stops...>(position);
            }
            const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
            __m128i found = _mm_setzero_si128();
            ((found = _mm_or_si128(found, _mm_cmpeq_epi8(bytes, _mm_set1_epi8(stops)))), ...);
            if (const auto bits = static_cast<unsigned>(_mm_movemask_epi8(found)); bits != 0) {
                const std::size_t stop = position + static_cast<std::size_t>(std::countr_zero(bits));
                return stop < text_.size() ? stop : text_.size();  // a stop past the end is none of the line's
            }
        }
        return text_.size();
#else
        return find_first_in_bytes<stops...>(position);
#endif
    }

private:
    // The same search, byte by byte: near the end of what may be read. Kept out of the searches
    // above, which then need no registers saved.
    template <char... stops>
    [[gnu::noinline]] std::size_t find_first_in_bytes(std::size_t position) const
    {
        return find_from(text_, position, [](char c) { return ((c == stops) || ...); });
    }

    std::string_view text_;
    const char* readable_end_;
};

} // namespace dravent
