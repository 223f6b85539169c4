// Cuts one source line into label, mnemonic, operands and comment.
#pragma once

#include "source/source_line.hpp"

#include <string_view>

namespace dravent {

// Fills line from one line's text, given without its line feed. Any length, any byte: a NUL is an
// ordinary character. A carriage return that ends the text belongs to the line ending. Knows no
// keywords and no quoting: it cuts at blanks, commas and the first ";".
void split_line(std::string_view text, source_line& line);

} // namespace dravent
