// Converts one operand from Tasm to AT&T notation.
#pragma once

#include "convert/conversion_context.hpp"

#include "convert/workspace.hpp"
#include "text/text_buffer.hpp"

#include <string_view>

namespace dravent {

// Appends the AT&T form of one operand to out and returns the size flags it names (a register's
// size, or the size keywords of a memory reference). The line flags say what kind of line the
// operand stands on; work is working space that the call may overwrite.
int convert_operand(std::string_view text, int line_flags, const conversion_context& context, text_buffer& out,
                    conversion_workspace& work);

} // namespace dravent
