// Bracketed memory operands: Tasm's [base+index*scale+disp] to AT&T's disp(base,index,scale).
#pragma once

#include "convert/write_expression.hpp"
#include "text/text_buffer.hpp"
#include "vocabulary/registers.hpp"

#include <string_view>

namespace dravent {

// A memory reference taken apart. The register views point into the operand text that was parsed;
// they keep their letter case, without the blanks around them.
struct memory_ref {
    std::string_view segment;       // a segment override's register name ("es"), or empty
    std::string_view displacement;  // every term that names no register, each behind its sign
    std::string_view base;          // the base register's term (bx or bp in a 16-bit pair), or empty
    std::string_view index;         // the index register's term or side of a scaled term, or empty
    std::string_view scale;         // the other side of the scaled term that gave the index
    int size_flags = 0;             // from the size keywords at the start, after a "[" or an override
};

// The keyword (given in lower case, any case in text) stands at text[position], ended by white
// space or by the "[" of a reference: "byte ptr[bx]" reads as "byte ptr [bx]".
bool keyword_at(std::string_view text, std::size_t position, std::string_view keyword);

// In 16-bit addressing bx and bp are the base, si and di the index, whichever is written first:
// [di+bx] is (%bx,%di). True when base and index (rows of register_named, or nullptr) stand the
// other way round and are to be swapped; a scaled index is never swapped.
constexpr bool index_written_first(const register_row* base, const register_row* index, std::string_view scale)
{
    return scale.empty() && (base == register_si || base == register_di) &&
           (index == register_bx || index == register_bp);
}

// Swaps base and index where they stand the other way round (index_written_first).
void order_16_bit_pair(std::string_view& base, std::string_view& index, std::string_view scale);

// True when the operand text holds a "[" outside quotes: a memory reference. A bracket inside a
// character constant ('[') is a character.
bool holds_memory_ref(std::string_view text);

// Takes an operand text that holds a "[" apart; blanks around ":", "+", "-", "*", "[" and "]"
// change nothing. The displacement is gathered in scratch, which ref.displacement then views.
memory_ref parse_memory_ref(std::string_view text, text_buffer& scratch);

// Appends segment, displacement and (base,index,scale) to out. Returns the first word left as
// written for want of a GNU As form (see write_expression), or an empty view.
std::string_view write_memory_ref(const memory_ref& ref, text_buffer& out, expression_workspace& work);

} // namespace dravent
