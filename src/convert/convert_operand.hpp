// Converts one operand from Tasm to AT&T notation.
#pragma once

#include "convert/conversion_context.hpp"

#include "convert/workspace.hpp"
#include "text/text_buffer.hpp"

#include <string_view>

namespace dravent {

// What an operand turned out to be.
enum class operand_form { other, general_register, segment_register, x87_register, memory };

struct operand_result {
    int size_flags = 0;             // a register's size, or the size keywords of a memory reference
    int declared_flags = 0;         // the size of the variable a memory operand names, as declared
    operand_form form = operand_form::other;
    int x87_index = -1;             // i for st(i), 0 for st
    std::string_view left_as_written;  // a word with no GNU As form, written as it stands
    // A bracketed reference without a size keyword: the size of the variable it names is looked
    // up only when the statement asks for it (look_up_declared_size), as most statements take
    // their size from a register.
    std::string_view declared_size_pending;
    // assume lets more than one segment register reach the variable, none of them the one the
    // address goes through by default: Tasm puts one's override, which Dravent cannot choose.
    bool override_undecided = false;
};

// Sets result.declared_flags from what its reference names, if that is still pending.
void look_up_declared_size(operand_result& result, const conversion_context& context);

// Appends the AT&T form of one operand to out and tells what it found. The line flags say what
// kind of line the operand stands on; work is working space that the call may overwrite.
operand_result convert_operand(std::string_view text, int line_flags, const conversion_context& context,
                               text_buffer& out, conversion_workspace& work);

// The register or memory reference an operand names, decided before it is written: what a jump
// goes through when it is indirect. Memory is any operand with a "[".
operand_form form_of_operand(std::string_view text);

// i when the text names the x87 register st(i) (st alone is 0), in any case and with blanks
// inside the parentheses; -1 otherwise.
int x87_register_index(std::string_view text);

} // namespace dravent
