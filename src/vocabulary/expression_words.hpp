// The words that Tasm gives a meaning inside expressions.
#pragma once

#include "text/hashed_table.hpp"

#include <array>
#include <cstdint>
#include <string_view>

namespace dravent {

enum class expression_word : std::uint8_t {
    operator_word,  // or and xor not shl shr mod eq ne lt le gt ge high low offset: rewritten
    no_gnu_as_form, // seg type size length width mask this: left as written, with a warning
};

struct expression_word_row {
    std::string_view name;
    expression_word role;
};

inline constexpr hashed_table expression_word_table{std::to_array<expression_word_row>({
    {"and",    expression_word::operator_word},  {"eq",     expression_word::operator_word},
    {"ge",     expression_word::operator_word},  {"gt",     expression_word::operator_word},
    {"high",   expression_word::operator_word},  {"le",     expression_word::operator_word},
    {"low",    expression_word::operator_word},  {"lt",     expression_word::operator_word},
    {"mod",    expression_word::operator_word},  {"ne",     expression_word::operator_word},
    {"not",    expression_word::operator_word},  {"offset", expression_word::operator_word},
    {"or",     expression_word::operator_word},  {"shl",    expression_word::operator_word},
    {"shr",    expression_word::operator_word},  {"xor",    expression_word::operator_word},
    {"length", expression_word::no_gnu_as_form}, {"mask",   expression_word::no_gnu_as_form},
    {"seg",    expression_word::no_gnu_as_form}, {"size",   expression_word::no_gnu_as_form},
    {"this",   expression_word::no_gnu_as_form}, {"type",   expression_word::no_gnu_as_form},
    {"width",  expression_word::no_gnu_as_form},
})};
static_assert(expression_word_table.is_searchable(), "expression_word_table: names in lower case, each once");

// The role of a word inside an expression, or nullptr for an ordinary name. Every such word has
// two to six letters, so most names are passed over without a search.
inline const expression_word_row* find_expression_word(std::string_view word)
{
    if (word.size() < 2 || word.size() > 6) {
        return nullptr;
    }
    return expression_word_table.find(word);
}

} // namespace dravent
