// Cuts one source line into label, mnemonic, operands and comment.
#pragma once

#include "source/source_line.hpp"

#include <string_view>

namespace dravent {

// Fills line from one line's text, given without its line feed. Any length, any byte: a NUL is an
// ordinary character. A carriage return that ends the text belongs to the line ending. Knows no
// keywords: it cuts at blanks, and at commas and the first ";" that stand outside quotes.
void split_line(std::string_view text, source_line& line);

} // namespace dravent
