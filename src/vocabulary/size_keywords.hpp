// The size keywords of memory operands and assignments.
#pragma once

#include "vocabulary/flags.hpp"

#include <array>
#include <cstddef>
#include <string_view>

namespace dravent {

// Size keywords, and the distances near and far, which stand where a size keyword does
// (far ptr [bx]). Tried in this order; the first match wins.
struct size_keyword_row {
    std::string_view name;
    int size;
};

inline constexpr std::array<size_keyword_row, 9> size_keyword_table{{
    {"byte",  SIZE_BYTE},
    {"word",  SIZE_WORD},
    {"dword", SIZE_DWORD},
    {"qword", SIZE_QWORD},
    {"tbyte", SIZE_TBYTE},
    {"fword", SIZE_FWORD},
    {"pword", SIZE_FWORD},
    {"near",  DISTANCE_NEAR},
    {"far",   DISTANCE_FAR},
}};

constexpr std::size_t shortest_size_keyword = 3;
constexpr std::size_t longest_size_keyword = 5;

constexpr bool size_keywords_have_three_to_five_letters()
{
    for (const size_keyword_row& row : size_keyword_table) {
        if (row.name.size() < shortest_size_keyword || row.name.size() > longest_size_keyword) {
            return false;
        }
    }
    return true;
}
static_assert(size_keywords_have_three_to_five_letters());

// When a size keyword followed by white space starts at text[cursor], moves cursor past the
// keyword (onto that white space) and returns its size; otherwise returns 0, cursor unchanged.
int match_size_keyword(std::string_view text, std::size_t& cursor);

} // namespace dravent
