// Bracketed memory operands: Tasm's [base+index*scale+disp] to AT&T's disp(base,index,scale).
#pragma once

#include "line/line_record.hpp"

#include <string>
#include <string_view>

namespace dravent {

struct memory_ref {
    std::string_view text;  // the operand text being read
};

// Takes an operand text that holds a "[" apart into ref. The views in ref point into text.
void parse_memory_ref(std::string_view text, memory_ref& ref);

// Replaces the slot's text with the AT&T form of ref and ORs its size flags into the slot's.
// ref must have been parsed from a text other than the slot's own.
void format_memory_ref(operand_slot& slot, const memory_ref& ref);

} // namespace dravent
