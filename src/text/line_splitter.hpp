// Cutting text into lines, with the line feeds of 64 bytes found at once rather than one search
// for each line.
#pragma once

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace dravent {

// One bit for each byte of the eight at text that is a line feed: bit n for text[n]. Portable:
// for machines without SSE2, and to check the SSE2 form against.
inline std::uint32_t line_feed_bits_of_eight(const char* text)
{
    constexpr std::uint64_t ones = 0x0101010101010101;
    constexpr std::uint64_t low_seven_bits = 0x7F * ones;
    std::uint64_t bytes = 0;
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(&bytes, text, 8);
    } else {
        for (int n = 0; n < 8; ++n) {
            bytes |= std::uint64_t{static_cast<unsigned char>(text[n])} << (8 * n);
        }
    }
    const std::uint64_t x = bytes ^ ('\n' * ones);  // a zero byte where a line feed was
    // The high bit of each byte that is zero, and of no other: no carry crosses a byte.
    const std::uint64_t zero = ~(((x & low_seven_bits) + low_seven_bits) | x | low_seven_bits);
    // Gathers the eight high bits into the top byte, byte n's into bit 56 + n.
    return static_cast<std::uint32_t>(((zero >> 7) * 0x0102040810204080) >> 56);
}

// One bit for each byte of the 64 at text that is a line feed: bit n for text[n].
inline std::uint64_t line_feed_bits_of_64(const char* text)
{
#if defined(__SSE2__)
    const __m128i feed = _mm_set1_epi8('\n');
    std::uint64_t bits = 0;
    for (int part = 0; part < 4; ++part) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + 16 * part));
        const auto found = static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, feed)));
        bits |= std::uint64_t{found} << (16 * part);
    }
    return bits;
#else
    std::uint64_t bits = 0;
    for (int part = 0; part < 8; ++part) {
        bits |= std::uint64_t{line_feed_bits_of_eight(text + 8 * part)} << (8 * part);
    }
    return bits;
#endif
}

// The lines of a text as line_splitter hands them out: every line ends in a line feed, except
// perhaps the last.
inline std::uint64_t count_lines(std::string_view text)
{
    std::uint64_t feeds = 0;
    std::size_t at = 0;
#if defined(__SSE2__)
    // Sixteen counters of a byte, one for each place in sixteen bytes, summed before they can
    // reach 256.
    const __m128i feed = _mm_set1_epi8('\n');
    while (text.size() - at >= 16) {
        const std::size_t rounds = std::min<std::size_t>((text.size() - at) / 16, 255);
        __m128i counts = _mm_setzero_si128();
        for (std::size_t n = 0; n < rounds; ++n, at += 16) {
            const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + at));
            counts = _mm_sub_epi8(counts, _mm_cmpeq_epi8(bytes, feed));  // a match is -1
        }
        const __m128i sums = _mm_sad_epu8(counts, _mm_setzero_si128());  // two sums of eight counters
        feeds += static_cast<std::uint64_t>(_mm_extract_epi16(sums, 0) + _mm_extract_epi16(sums, 4));
    }
#else
    for (; at + 64 <= text.size(); at += 64) {
        feeds += static_cast<std::uint64_t>(std::popcount(line_feed_bits_of_64(text.data() + at)));
    }
#endif
    for (; at < text.size(); ++at) {
        feeds += text[at] == '\n' ? 1 : 0;
    }
    return feeds + (!text.empty() && text.back() != '\n' ? 1 : 0);
}

// Hands out the lines of a text in order, each without its line feed. A last line without a line
// feed counts; a text that ends with a line feed has no empty line after it (the lines a file
// holds, as the second pass cuts them).
class line_splitter {
public:
    explicit line_splitter(std::string_view text) : text_(text) {}

    // Sets line to the next line, a view into the text; false when none is left.
    bool next(std::string_view& line)
    {
        if (feeds_ == 0 && !scan_on()) {
            return last_line(line);
        }
        const std::size_t end = chunk_ + static_cast<std::size_t>(std::countr_zero(feeds_));
        feeds_ &= feeds_ - 1;
        line = std::string_view(text_.data() + start_, end - start_);
        start_ = end + 1;
        return true;
    }

    // The bytes of the lines handed out so far, with their line feeds: where the next line begins.
    std::size_t handed_out() const { return std::min(start_, text_.size()); }

private:
    // Searches the text on until a line feed is found: false at its end.
    bool scan_on()
    {
        while (feeds_ == 0) {
            if (scanned_ >= text_.size()) {
                return false;
            }
            chunk_ = scanned_;
            const std::size_t length = text_.size() - chunk_;
            if (length >= 64) {
                feeds_ = line_feed_bits_of_64(text_.data() + chunk_);
                scanned_ = chunk_ + 64;
            } else {
                for (std::size_t n = 0; n < length; ++n) {
                    feeds_ |= std::uint64_t{text_[chunk_ + n] == '\n'} << n;
                }
                scanned_ = text_.size();
            }
        }
        return true;
    }

    // After the last line feed: the rest of the text as a line, once, when it is not empty.
    bool last_line(std::string_view& line)
    {
        if (start_ >= text_.size()) {
            return false;
        }
        line = std::string_view(text_.data() + start_, text_.size() - start_);
        start_ = text_.size();
        return true;
    }

    std::string_view text_;
    std::size_t start_ = 0;    // where the next line begins
    std::size_t chunk_ = 0;    // the first of the bytes that feeds_ describes
    std::size_t scanned_ = 0;  // the bytes before this one have been searched
    std::uint64_t feeds_ = 0;  // the line feeds in text_[chunk_, chunk_ + 64) not yet handed out
};

} // namespace dravent
