// Writes Tasm expression text in GNU As notation.
#pragma once

#include "text/text_buffer.hpp"

#include <string_view>

namespace dravent {

// Appends text to out with every suffixed number in GNU As prefix form: 0FFh becomes 0x0FF and
// 0101b becomes 0B0101. Names, plain numbers and everything else are written as they stand.
void write_expression(std::string_view text, text_buffer& out);

} // namespace dravent
