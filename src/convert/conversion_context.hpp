// What the conversion of a line may know beyond the line itself.
#pragma once

#include "convert/warnings.hpp"
#include "declarations/declarations.hpp"
#include "source/tokenizer.hpp"
#include "vocabulary/expression_words.hpp"
#include "vocabulary/registers.hpp"

#include <cstdint>
#include <string_view>

namespace dravent {

// Passed to statement, operand and directive conversion: the declarations of the whole program,
// and where in it the line stands. A line converted without declarations (no program) is
// converted on its own, as it stands.
struct conversion_context {
    const program_declarations* program = nullptr;
    std::uint64_t line = 0;                         // the line's number in the main file
    const procedure_span* procedure = nullptr;      // the procedure the line stands in, if any
    const structure_span* structure = nullptr;      // the structure declaration it stands in, if any
    const comment_span* comment = nullptr;          // the comment block it stands in, if any
    bool skipped = false;                           // it stands in a branch Tasm does not assemble
    const include_span* include = nullptr;          // what the file an include line names declares
    bool set_apart = false;                         // comment, structure or include is set
    int code_bits = 0;                              // 16 or 32; 0 without declarations
    bool code_bits_uncertain = false;               // chosen in a branch the declarations cannot decide
    std::uint32_t segment = 0;                      // the number of the segment the line stands in
    bool ideal = false;                             // Tasm reads the line in IDEAL mode
    std::string_view local_label_prefix;            // what @@name becomes before name: ".Lmain."
    const local_scope* scope = nullptr;             // the scope of the line's @@ labels, if any
    const assume_state* assumes = nullptr;          // what the segment registers reach, if assume told

    // The facts of a name the program declares, or nullptr.
    const name_facts* find(std::string_view name) const { return program != nullptr ? program->find(name) : nullptr; }

    // name as the program declares it (COUNT for count dw 0 is count), or as written.
    std::string_view spelling_of(std::string_view name) const
    {
        return program != nullptr ? program->declared_spelling(name) : name;
    }
    // What follows the "@@" of a local label, as the line's scope defines the label.
    std::string_view local_label_spelling(std::string_view label) const
    {
        return program != nullptr && scope != nullptr ? program->local_label_spelling(scope->ordinal, label)
                                                      : label.substr(2);
    }
    // The program declares name with another spelling.
    bool spelled_otherwise(std::string_view name) const { return spelling_of(name) != name; }
    // name is a segment's or a group's (and no other name of the program's): where it stands
    // for a value, that is the segment value a DOS loader fills in.
    bool names_segment(std::string_view name) const
    {
        return program != nullptr && find_expression_word(name) == nullptr && register_named(name) == nullptr &&
               (program->segment_names.find(name) != program->segment_names.none ||
                program->group_names.find(name) != program->group_names.none) &&
               program->find(name) == nullptr;
    }
    // The procedure the line stands in has stack slots named by arg or local.
    bool has_frame_names() const { return procedure != nullptr && procedure->frame_name_count > 0; }
    // name is one of them (Tasm reads it as [bp+n]).
    bool names_frame_slot(std::string_view name) const
    {
        return has_frame_names() && program->names_frame_slot(name, *procedure);
    }
    // name has a text from a text equate before the line.
    bool names_text(std::string_view name) const
    {
        std::string_view text;
        return program != nullptr && program->text_of(name, line, text);
    }
    // Names that Dravent cannot place may stand on the line: stack slots, or texts of text
    // equates where their text is not put in.
    bool may_hold_unplaced_names() const
    {
        return has_frame_names() || (program != nullptr && !program->text_equates.empty());
    }
    // A stack slot, or a name with a text: GNU As would read it as a symbol.
    bool names_unplaced(std::string_view name) const { return names_frame_slot(name) || names_text(name); }

    // The warning for word, left as written in an operand for GNU As to reject: a stack slot's,
    // an unplaced text equate's, a string's, or otherwise.
    std::string_view warning_for_word_left(std::string_view word, std::string_view otherwise) const
    {
        if (names_frame_slot(word)) {
            return warning_text::frame_slot;
        }
        if (names_text(word)) {
            return warning_text::text_equate_unplaced;
        }
        return is_quote(word.front()) ? warning_text::string_as_written : otherwise;
    }
};

} // namespace dravent
