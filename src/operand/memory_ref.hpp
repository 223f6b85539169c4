// Bracketed memory operands: Tasm's [base+index*scale+disp] to AT&T's disp(base,index,scale).
#pragma once

#include "line/line_record.hpp"

#include <string>
#include <string_view>

namespace dravent {

// A memory reference taken apart. The views point into the operand text that was parsed; the
// register texts stay as written, letter case and blanks before the next separator included.
struct memory_ref {
    std::string_view segment;    // a segment override's register name ("es"), or empty
    std::string displacement;    // every term that names no register, each behind its sign
    std::string_view base;       // the base register's term, or empty
    std::string_view index;      // the index register's term or side of a scaled term, or empty
    std::string_view scale;      // the other side of the scaled term that gave the index
    int size_flags = 0;          // from the size keywords before and right after the "["
};

// Takes an operand text that holds a "[" apart into ref, which is cleared first.
void parse_memory_ref(std::string_view text, memory_ref& ref);

// Replaces the slot's text with segment, displacement and (base,index,scale), and ORs the size
// keywords' flags into the slot's. ref must not point into the slot's own text.
void format_memory_ref(operand_slot& slot, const memory_ref& ref);

} // namespace dravent
