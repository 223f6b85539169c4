// Data definitions (db dw dd df dp dq dt) as GNU As data directives, several on one line where
// the list mixes kinds of values.
#pragma once

#include "convert/conversion_context.hpp"
#include "convert/converted_line.hpp"
#include "convert/data_directive.hpp"

#include <string_view>

namespace dravent {

// Writes the statements of a data definition into line: label (a colon is added unless it has
// one; empty for none), then the list, written as it stands after the directive, without the
// comment. The line's comment is left to the caller. Sets line.leaves_open when the list ends in
// a comma. Returns false, leaving the statements alone, when the list holds what GNU As has no
// form for (an integer in dt, a real in df, a register), or nothing at all. A value that is no
// string, real or dup is converted as the operand of a data line (convert_operand), as before
// data definitions had rules of their own.
bool convert_data(data_directive directive, std::string_view label, std::string_view list,
                  const conversion_context& context, converted_line& line);

} // namespace dravent
