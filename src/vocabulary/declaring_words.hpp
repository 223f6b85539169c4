// The directives that declare the name written before them.
#pragma once

#include "text/hashed_table.hpp"

#include <array>
#include <string_view>

namespace dravent {

// A word before one of these names what it declares (count dw 0, size equ 4, main proc, sprite
// struc), wherever the line begins.
struct declaring_word_row {
    std::string_view name;
};

inline constexpr hashed_table declaring_word_table{std::to_array<declaring_word_row>({
    {"="}, {"catstr"}, {"db"}, {"dd"}, {"ddq"}, {"df"}, {"do"}, {"dp"}, {"dq"}, {"dt"}, {"dw"},
    {"endp"}, {"ends"}, {"equ"}, {"group"}, {"label"}, {"macro"}, {"proc"}, {"record"},
    {"segment"}, {"struc"}, {"struct"}, {"textequ"}, {"union"},
})};
static_assert(declaring_word_table.is_searchable(), "declaring_word_table: names in lower case, each once");

inline bool is_declaring_word(std::string_view word)
{
    return !word.empty() && declaring_word_table.find(word) != nullptr;
}

} // namespace dravent
