// The data directives that the converter lays out, by the size of one value.
#pragma once

#include "text/characters.hpp"

#include <cstdint>
#include <string_view>

namespace dravent {

// none stands for "no data definition": a line that leaves none open for the next line.
enum class data_directive : std::uint8_t { none, db, dw, dd, df, dq, dt };

// The directive a data word names (any case); df and dp both define 6-byte values. none for any
// other word, the 16-byte ddq and do among them.
constexpr data_directive data_directive_of(std::string_view word)
{
    if (word.size() != 2 || fold_case(word[0]) != 'd') {
        return data_directive::none;
    }
    switch (fold_case(word[1])) {
    case 'b': return data_directive::db;
    case 'w': return data_directive::dw;
    case 'd': return data_directive::dd;
    case 'f':
    case 'p': return data_directive::df;
    case 'q': return data_directive::dq;
    case 't': return data_directive::dt;
    default: return data_directive::none;
    }
}

// The bytes one value takes.
constexpr int value_size(data_directive directive)
{
    constexpr int sizes[] = {0, 1, 2, 4, 6, 8, 10};
    return sizes[static_cast<int>(directive)];
}

// The Tasm word, for a line that continues a definition and cannot be converted.
constexpr std::string_view tasm_word(data_directive directive)
{
    constexpr std::string_view words[] = {"", "db", "dw", "dd", "df", "dq", "dt"};
    return words[static_cast<int>(directive)];
}

} // namespace dravent
