// line_splitter: a text cut into the lines a file holds, the line feeds found 64 bytes at a time.
#include "text/each_line.hpp"
#include "text/line_splitter.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace dravent {
namespace {

std::vector<std::string> split(std::string_view text)
{
    std::vector<std::string> lines;
    line_splitter cut(text);
    for (std::string_view line; cut.next(line);) {
        lines.emplace_back(line);
    }
    return lines;
}

std::vector<std::string> split_each(std::string_view text)
{
    std::vector<std::string> lines;
    for_each_line(text, [&](std::string_view line) { lines.emplace_back(line); });
    return lines;
}

// Cut one line feed at a time: what the splitter and for_each_line must hand out.
std::vector<std::string> split_slowly(std::string_view text)
{
    std::vector<std::string> lines;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        lines.emplace_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

TEST(line_splitter, hands_out_each_line_once_whatever_its_length_and_place)
{
    const std::string long_line(150, 'x');
    const std::vector<std::string> texts = {
        "", "\n", "\n\n", "a", "a\n", "a\nb", "a\r\nb\r\n", "\n\na\n\n",
        long_line, long_line + "\n", "a\n" + long_line + "\nb",
        std::string(63, 'y') + "\n" + "z",   // a line feed at the last byte of the first 64
        std::string(64, 'y') + "\n",          // and at the first of the next 64
        std::string(127, '\n'),
        std::string("nul\0inside\n", 11),
    };
    for (const std::string& text : texts) {
        EXPECT_EQ(split(text), split_slowly(text)) << text.size() << " bytes";
        EXPECT_EQ(split_each(text), split_slowly(text)) << text.size() << " bytes";
    }
    // Lines of every length from 0 to 70, one after another, cross the 64-byte steps everywhere.
    std::string lines;
    for (std::size_t length = 0; length <= 70; ++length) {
        lines.append(length, static_cast<char>('a' + length % 26)).append("\n");
    }
    EXPECT_EQ(split(lines), split_slowly(lines));
    EXPECT_EQ(split_each(lines), split_slowly(lines));
}

// count_lines counts what the splitter hands out, over counters that are summed every 4,080
// bytes: texts of line feeds alone up to and past that, and around sixteen-byte steps.
TEST(line_splitter, counts_the_lines_it_hands_out)
{
    std::vector<std::string> texts = {"", "a", "\n", "a\nb", std::string(15, '\n') + "x", std::string(16, '\n'),
                                      std::string(17, '\n') + "x"};
    for (const std::size_t feeds : {4079, 4080, 4081, 4096, 10000}) {
        texts.push_back(std::string(feeds, '\n'));
        texts.push_back(std::string(feeds, '\n') + "last");
    }
    std::string mixed;
    for (std::size_t length = 0; mixed.size() < 9000; length = (length + 7) % 40) {
        mixed.append(length, 'q').append("\n");
    }
    texts.push_back(mixed);
    for (const std::string& text : texts) {
        EXPECT_EQ(count_lines(text), split_slowly(text).size()) << text.size() << " bytes";
    }
}

TEST(line_splitter, finds_the_line_feeds_of_eight_bytes_without_sse2)
{
    // Each byte value beside a line feed, at each place: only the line feed counts, and no
    // carry from one byte reaches the next.
    for (int byte = 0; byte < 256; ++byte) {
        for (int place = 0; place < 8; ++place) {
            std::string eight(8, static_cast<char>(byte));
            eight[static_cast<std::size_t>(place)] = '\n';
            std::uint32_t expected = 0;
            for (int n = 0; n < 8; ++n) {
                expected |= static_cast<std::uint32_t>(eight[static_cast<std::size_t>(n)] == '\n') << n;
            }
            EXPECT_EQ(line_feed_bits_of_eight(eight.data()), expected) << byte << " " << place;
        }
    }
}

} // namespace
} // namespace dravent
