// Which equates are Tasm text: the text an equ or textequ puts in place of each use of its name.
#pragma once

#include <string_view>

namespace dravent {

// The text that "name equ value" (or "name textequ value") gives name to put in place of each
// use, as Tasm does, when Dravent can put it in an operand: a memory reference or a register
// written as the value (equ [bp+4], equ word ptr [bp+4], equ cx), or the text between angle
// brackets when it is a number, a register, a memory reference (with a size keyword or not) or an
// expression (equ <[bp+4]>, equ <5 + 2>). Texts that are empty, left open, or that hold an
// instruction, several operands, quotes, or Tasm's text operators (< > ! % &) are not taken: their
// lines stay for a hand. Returns false for them, and for values that are no text.
bool text_equate_text(std::string_view verb, std::string_view value, std::string_view& text);

} // namespace dravent
