// Writes a converted line as one GNU As line in column layout.
#pragma once

#include "convert/converted_line.hpp"
#include "text/text_buffer.hpp"

#include <string>

namespace dravent {

// Appends to out: label, tab, the statements, then tab and comment when there is one, then the
// line ending. A statement is its prefix, mnemonic and size letters, then its operands joined by
// commas: behind a tab for the first statement, behind a blank for the others, which follow
// "; " so that one input line stays one output line. A line with neither label nor statement is
// its comment alone.
void emit_line(const converted_line& line, text_buffer& out);
void emit_line(const converted_line& line, std::string& out);

} // namespace dravent
