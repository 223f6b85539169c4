// Size keyword matching at a cursor.
#include "vocabulary/size_keywords.hpp"

#include "text/characters.hpp"
#include "text/word_key.hpp"

#include <array>

namespace dravent {

namespace {

// The first letters of the size keywords, in either case: most operands begin with none of them.
constexpr byte_set size_keyword_starts = byte_set::where([](char c) {
    for (const size_keyword_row& row : size_keyword_table) {
        if (fold_case(c) == row.name[0]) {
            return true;
        }
    }
    return false;
});

constexpr bool size_keywords_are_letters()
{
    for (const size_keyword_row& row : size_keyword_table) {
        for (const char c : row.name) {
            if (!is_letter(c)) {
                return false;
            }
        }
    }
    return true;
}
static_assert(size_keywords_are_letters(), "match_size_keyword reads a keyword as a run of letters");

// The keywords' letters packed as pack_head packs them (they are in lower case).
constexpr std::array<std::uint64_t, size_keyword_table.size()> packed_keywords = [] {
    std::array<std::uint64_t, size_keyword_table.size()> packed{};
    for (std::size_t n = 0; n < size_keyword_table.size(); ++n) {
        packed[n] = pack_head(size_keyword_table[n].name);
    }
    return packed;
}();

} // namespace

int match_size_keyword(std::string_view text, std::size_t& cursor)
{
    if (cursor >= text.size() || !size_keyword_starts.contains(text[cursor])) {
        return 0;
    }
    // A keyword is all letters and white space follows it: the run of letters is the keyword.
    const std::size_t letters = find_from(text, cursor, [](char c) { return !is_letter(c); }) - cursor;
    if (letters < shortest_size_keyword || letters > longest_size_keyword) {
        return 0;
    }
    if (cursor + letters >= text.size() || !is_white_space(text[cursor + letters])) {
        return 0;
    }
    // The run is a keyword when all its letters are one's (the names differ, so one at most).
    const std::uint64_t word = fold_case_bytes(pack_head(text.substr(cursor, letters)));
    for (std::size_t n = 0; n < size_keyword_table.size(); ++n) {
        if (packed_keywords[n] == word) {
            cursor += letters;
            return size_keyword_table[n].size;
        }
    }
    return 0;
}

} // namespace dravent
