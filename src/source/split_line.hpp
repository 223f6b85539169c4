// Cuts one source line into label, mnemonic, operands and comment.
#pragma once

#include "source/source_line.hpp"

#include <cstddef>
#include <string_view>

namespace dravent {

// The longest line that is split and read apart, far beyond any that Tasm reads: the words and
// tokens of a longer one would take memory many times its length (a token for each parenthesis of
// an expression). Such a line declares nothing, and is copied to the output as it stands, with a
// warning, unless a comment or a data definition of numbers, which are written without splitting.
inline constexpr std::size_t longest_split_line = std::size_t{1} << 20;

// Fills line from one line's text, given without its line feed. Any length, any byte: a NUL is an
// ordinary character. A carriage return that ends the text belongs to the line ending. Knows no
// keywords: it cuts at blanks, and at commas and the first ";" that stand outside quotes.
void split_line(std::string_view text, source_line& line);

// The same for a line that stands inside a larger text: the bytes from the line's end up to
// readable_end may be read (they are looked at sixteen at a time, never taken for the line's).
void split_line(std::string_view text, const char* readable_end, source_line& line);

// Fills line as split_line does, but for what follows the mnemonic: no operands, and a comment
// only when the whole line is one. For a reader that needs the label and the mnemonic alone.
void split_label_and_mnemonic(std::string_view text, source_line& line);

// The first word of text, a line without its ending, up to a blank or ";": the label split_line
// finds in a line that begins with neither white space nor ";" (unless that word, without a
// colon, starts an instruction).
std::string_view first_word(std::string_view text);

} // namespace dravent
