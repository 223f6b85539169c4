// Structures: the lines that declare one, and the instances that lay one out.
#pragma once

#include "convert/conversion_context.hpp"
#include "convert/converted_line.hpp"
#include "source/source_line.hpp"

#include <string>
#include <string_view>
#include <vector>

namespace dravent {

// A line of a structure's declaration (context.structure is set): a named field becomes
// .equ field, offset (and .equ structure.field, offset); every other line keeps its comment.
void write_structure_line(const source_line& source, const conversion_context& context, converted_line& line);

// include FILE: what the file declares (equates, structure fields, global names), declared to GNU
// As on this line. A file that makes code or data, or that cannot be read, leaves the line as
// written, for GNU As to reject, with a warning. False when the line is no include line.
bool write_include(const source_line& source, const conversion_context& context, converted_line& line);

// name structure <values>: the structure's fields laid out with the values given, or the
// declaration's where a value is left out. False when the line is no instance of a structure the
// program declares, or when a value cannot be laid out.
bool write_instance(const source_line& source, const conversion_context& context, converted_line& line);

// The values of an instance, between < and >, split at the commas that stand outside quotes and
// inner brackets; an empty value stands for the default. False when the text is no bracketed list.
bool split_initialisers(std::string_view text, std::vector<std::string_view>& values);

// count dup (<values>): an array of instances. Sets count and the bracketed list; false for any
// other text.
bool split_repeated_instance(std::string_view text, std::string_view& count, std::string_view& list);

// An instance line as the source has it, for GNU As to reject, with the warning at its mnemonic:
// name, type, values.
void write_instance_as_written(const source_line& source, std::string_view list, std::string_view warning,
                               converted_line& line);

// (T ptr x).field, a typed pointer: the address x + T.field, for a structure T the program
// declares. Appends the operand with each typed pointer written [x+T.field] (x+T.field where
// brackets stand around it already) to out, which must have room for operand.size() + 8 more
// characters so that no view into it moves. False, appending nothing, when the operand holds no
// typed pointer.
bool write_typed_pointers(std::string_view operand, const conversion_context& context, std::string& out);

} // namespace dravent
