// Records: the lines that declare one, the instances that lay one out, and Tasm's mask and width
// of a record or of one of its fields.
#pragma once

#include "convert/conversion_context.hpp"
#include "convert/converted_line.hpp"
#include "source/source_line.hpp"

#include <string>
#include <string_view>

namespace dravent {

// name record field:width [= default], ... (IDEAL: record name ...), a record the program
// declares: each field becomes .equ field, shift (its shift count, 0 for the last). False when
// the line declares no record the declarations know, all of whose fields they name.
bool write_record_line(const source_line& source, const conversion_context& context, converted_line& line);

// name record <values>, name record count dup (<values>): the record's value, its fields packed
// with the values given (or their defaults), as .byte, .short or .int (.fill for a dup). A value
// that is no number or constant number, or is too wide for its field, or a default that is none,
// leaves the line as written with a warning. False when the line is no instance of a record.
bool write_record_instance(const source_line& source, const conversion_context& context, converted_line& line);

// One value of a record, <values> (or nothing: every default), packed and added to the line as
// .byte, .short or .int: a field of a structure that is an instance of the record. False, adding
// nothing, when a value cannot be worked out.
bool write_record_value(const name_facts& record, std::string_view value, const conversion_context& context,
                        converted_line& line);

// mask x and width x, x a record or a field of one that the program declares: text with each
// written as its number, appended to out. False, appending nothing, when text holds none.
bool write_record_operators(std::string_view text, const conversion_context& context, std::string& out);

} // namespace dravent
