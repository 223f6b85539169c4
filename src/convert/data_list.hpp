// The list of values of a data definition, taken apart: values, strings and reals in source
// order, with the bounds of every "count dup (...)" around the values it repeats.
#pragma once

#include "source/tokenizer.hpp"

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace dravent {

enum class data_item_kind : std::uint8_t {
    value,         // an expression, "?" or a one-character string
    string,        // a quoted string of any other length
    real,          // a floating-point number, with the sign written before it
    repeat_begin,  // "count dup (": the items up to its repeat_end repeat count times
    repeat_end,    // the ")" of a dup
};

struct data_item {
    data_item_kind kind = data_item_kind::value;
    std::string_view text;  // the item without the blanks before it (and, but for a value, after
                            // it); for repeat_begin the count
    std::size_t end = 0;    // repeat_begin: the index of its repeat_end
};

// Reused from line to line: parsing clears it and keeps the capacity it has grown to.
struct data_list {
    std::vector<data_item> items;
    bool open = false;  // the list ends in a comma: the next line goes on with it

    // Working space: the tokens of the list's text.
    std::vector<token> tokens;
};

// Takes text, the list as written after the directive (without the comment), apart into list.
// Commas inside quotes or parentheses separate nothing; empty items are skipped. A dup that is not
// "count dup (items)" followed by nothing but blanks, or that nests too deep, is an ordinary value,
// written as it stands.
void parse_data_list(std::string_view text, data_list& list);

// Where the comment of a line begins when the text from position on is a data list: the first ";"
// outside quotes, or text.size(). A quote left open runs to the end of the line.
std::size_t find_comment(std::string_view text, std::size_t position);

} // namespace dravent
