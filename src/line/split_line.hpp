// Cuts one source line into label, mnemonic, operands and comment.
#pragma once

#include "line/line_record.hpp"

#include <string_view>

namespace dravent {

// Fills the cleared record from one line's text (without its line ending). Any length, any byte:
// a NUL is an ordinary character. Knows no keywords and no quoting: it cuts at blanks, commas and
// the first ";", which becomes "#".
void split_line(std::string_view text, line_record& record);

} // namespace dravent
