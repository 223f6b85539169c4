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

// The name that value is, when it is one name alone and the verb equ or textequ: "r0 equ r1".
// Empty for any other value.
std::string_view equated_name(std::string_view verb, std::string_view value);

// Whether "name equ other" (verb equ) or "name textequ other" gives name a text, when other has
// the text other_text there: Tasm puts that text in place of other before it reads the line, so
// textequ gives name the text, and equ does when the text is a memory reference or a register
// (an equ of a number or an expression is a number, as before).
bool takes_text_of_name(std::string_view verb, std::string_view other_text);

// The type that an equ or = value "this type" gives the name (byte, word, dword, fword, pword,
// qword, tbyte, near, far or proc): the name stands for the place where its line stands, as a
// label of that type does. Empty for any other value.
std::string_view this_type(std::string_view value);

} // namespace dravent
