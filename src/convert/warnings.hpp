// The texts of the warnings about lines the converter leaves for a hand.
#pragma once

#include <string_view>

namespace dravent {

// Each says what GNU As lacks and what to do about it.
namespace warning_text {

inline constexpr std::string_view segment_value =
    "a segment value set by the DOS loader (@data, @code, ...) has no ELF form: load the segment register by hand";
inline constexpr std::string_view seg_operator =
    "'seg' needs a DOS relocation that ELF cannot hold: load the segment by hand";
inline constexpr std::string_view register_in_expression =
    "a register where a number belongs (in an expression, behind a minus, or a third one in an address): "
    "write the operand by hand";
inline constexpr std::string_view type_operator =
    "Tasm's type operators (type, size, length, width, mask, this) have no GNU As form: write the value";
inline constexpr std::string_view field_offset_unknown =
    "the field's offset follows a field whose length Dravent cannot work out (a dup count that is no number "
    "or constant number) or a struc or union nested in the structure: write the offset by hand";
inline constexpr std::string_view instance_value_length =
    "a structure instance gives a field a value of another length than the field's own (or one Dravent "
    "cannot measure): lay the instance out by hand";
inline constexpr std::string_view instance_past_unnamed_field =
    "a structure instance gives values past a field without a name, which Dravent cannot place: lay the "
    "instance out by hand";
inline constexpr std::string_view record_instance_value =
    "a record instance gives a field a value that is no number or constant number, or one too wide for the "
    "field, or leaves out a field whose default is none (or gives too many values): write the value by hand";
inline constexpr std::string_view union_instance =
    "a union instance that gives more than one value, or whose first field has no name, is shorter than the "
    "union or may lie under another field's default: what Tasm lays out is not known here; lay the instance "
    "out by hand";
inline constexpr std::string_view override_undecided =
    "assume lets more than one segment register reach this variable, and not the one its address "
    "uses by default: Tasm puts one's override here; write it";
inline constexpr std::string_view instance_of_typed_fields =
    "a structure instance whose field is an instance of a structure or record that cannot be laid out "
    "(its own structure, nesting over eight deep, a record value that is no number): lay it out by hand";
inline constexpr std::string_view nested_structure =
    "a struc or union nested in a structure is not laid out: declare it apart and write the offsets by hand";
inline constexpr std::string_view prefix_before_no_instruction =
    "a prefix (rep, lock, segcs, ...) before a word that names no instruction or prefix: write the line by hand";
inline constexpr std::string_view unknown_mnemonic =
    "no instruction or directive of that name (a macro call?): expand it by hand";
inline constexpr std::string_view far_call_same_segment =
    "far call written as push cs + near call; target in the same segment";
inline constexpr std::string_view far_jump_same_segment =
    "far jump written as a near jump; target in the same segment";
inline constexpr std::string_view far_transfer_elsewhere =
    "far call or jump to another segment or to an external procedure: ELF cannot hold the segment; "
    "link the target into this segment or write the transfer by hand";
inline constexpr std::string_view include_not_declarations =
    "include of a file that makes code or data (or that cannot be read): convert it too and .include "
    "the converted file";
inline constexpr std::string_view directive_as_written =
    "this Tasm directive has no GNU As form as written; convert it by hand";
inline constexpr std::string_view org_directive =
    "'org' has no GNU As form: .org pads the section; link at the address instead (ld -Ttext 0x100)";
inline constexpr std::string_view frame_directive =
    "arg and local name a procedure's arguments and variables on the stack, which Tasm addresses through bp "
    "(and for a procedure with a language, frames with code of its own): write [bp+n] for each use by hand";
inline constexpr std::string_view uses_directive =
    "uses makes Tasm save the registers it names where the procedure starts and restore them before each ret: "
    "write the push and pop instructions by hand";
inline constexpr std::string_view frame_slot =
    "a name that arg or local gives a stack slot (or the frame's size, after =): Tasm reads it as [bp+n], "
    "with an n that depends on the procedure's distance, language and frame: write [bp+n] (or the size) by hand";
inline constexpr std::string_view macro_directive =
    "macros are not converted: write them with .macro/.endm or expand them by hand";
inline constexpr std::string_view radix_directive =
    "'.radix' changes how Tasm reads numbers; write the numbers with their radix by hand";
inline constexpr std::string_view data_as_written =
    "data with no GNU As form (an integer or string in dt, a real or an address in df/dp, an empty, "
    "unclosed or too long string, a register): write the bytes by hand";
inline constexpr std::string_view string_as_written =
    "a string with no value here (empty, left open, or longer than the four characters of a number): "
    "write the value by hand";
inline constexpr std::string_view text_equate =
    "a text equate (textequ, equ <text>) whose text Dravent cannot put in an operand (empty, left open, an "
    "instruction, several operands, quotes or Tasm's text operators): replace its uses by hand";
inline constexpr std::string_view text_equate_unplaced =
    "a name with a text from equ, where Dravent does not put the text in (a directive's arguments, or texts "
    "that name each other without end or grow past 64 KB): write the text in place of the name by hand";
inline constexpr std::string_view declarations_limit =
    "the program declares more than Dravent keeps from this line on (four million names and facts, 64 MB of "
    "texts): later names are converted as undeclared; check their uses by hand";
inline constexpr std::string_view line_too_long =
    "a line longer than 1 MB that is more than a comment or numbers is copied as it stands, not converted: write "
    "it in GNU As form by hand";
inline constexpr std::string_view call_with_arguments =
    "call with arguments (call proc, args) is not converted: push the arguments and call by hand";
inline constexpr std::string_view code_size_in_branches =
    "the code size here (use16 or use32, a model) is chosen in a branch of a conditional that Dravent cannot "
    "decide, and this line depends on it (a dword pointer is far in 16-bit code, near in 32-bit code; a string "
    "instruction addresses through si or esi): check it against the branch Tasm assembles";
inline constexpr std::string_view declared_in_branches =
    "a name here is declared otherwise in another branch of a conditional that Dravent cannot decide (it asks "
    "for a name the file does not define before, or is no constant expression): this line follows the branch "
    "assembled where nothing is defined outside the file (where that is not known, the last declaration); check "
    "it against the branch Tasm assembles";

} // namespace warning_text
} // namespace dravent
