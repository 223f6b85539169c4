// The declarations pass: one reading of the whole program before any line is converted.
#pragma once

#include "declarations/declarations.hpp"

#include <cstdint>
#include <functional>
#include <string_view>

namespace dravent {

// Reads every line of the file behind fd, from where fd stands, and the files it includes (for
// their names only), and records what they declare. folder is where the file lives, for the
// names its includes give. False when reading the file fails; an include that is missing or
// cannot be read is no error. before_include, when given, is called once before the first include
// is looked for.
bool collect_declarations(int fd, std::string_view folder, program_declarations& declarations,
                          std::function<void()> before_include = nullptr);

// The bytes a data definition's values lay out, units of unit bytes each (a string in db a byte a
// character, count dup (...) count times); a count must be a number or a constant the program
// declares as one. False when the length cannot be worked out.
bool length_of_values(std::string_view values, std::uint32_t unit, const program_declarations& program,
                      std::uint64_t& length);

// The number that text gives when it is one number, or the name of a constant the program gives
// as one number, blanks around it. False for any other text.
bool number_or_constant(std::string_view text, const program_declarations& program, std::uint32_t& value);

// One communal variable of a comm line: [near] name:type[:count], the type a size (byte, word,
// dword, ...) and the count a number or a constant the program gives a value from 0 up.
struct communal {
    std::string_view name;
    std::uint32_t unit = 0;   // the type's size, which a use of the variable has
    std::uint32_t bytes = 0;  // of the whole variable: the type's size times the count
};

// The communal variable entry describes, or false for another form (far, a language, a structure
// type, a count the pass does not know, a variable over 4 GB).
bool read_communal(std::string_view entry, const program_declarations& program, communal& variable);

// Collects from text already in memory, as one file in folder (for tests and the fuzzer).
void collect_declarations_from_text(std::string_view text, std::string_view folder,
                                    program_declarations& declarations);

} // namespace dravent
