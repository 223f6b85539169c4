// Structures: the lines that declare one, and the instances that lay one out.
#pragma once

#include "convert/conversion_context.hpp"
#include "convert/converted_line.hpp"
#include "source/source_line.hpp"

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

} // namespace dravent
