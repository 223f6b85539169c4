// The declarations pass: one reading of the whole program before any line is converted.
#pragma once

#include "declarations/declarations.hpp"

#include <string_view>

namespace dravent {

// Reads every line of the file behind fd, from where fd stands, and the files it includes (for
// their names only), and records what they declare. folder is where the file lives, for the
// names its includes give. False when reading the file fails; an include that is missing or
// cannot be read is no error.
bool collect_declarations(int fd, std::string_view folder, program_declarations& declarations);

// Collects from text already in memory, as one file in folder (for tests and the fuzzer).
void collect_declarations_from_text(std::string_view text, std::string_view folder,
                                    program_declarations& declarations);

} // namespace dravent
