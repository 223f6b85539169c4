// The conversion loop over a whole file: one output line for every input line.
#pragma once

#include "declarations/declarations.hpp"
#include "driver/diagnostics.hpp"
#include "io/file_io.hpp"

#include <cstddef>

namespace dravent {

enum class convert_result { done, read_error, write_error };

// Converts every line read from input_fd and writes the output to output_fd, which it closes.
// program holds what the whole file declares (nullptr: each line is converted on its own).
// What a line leaves for a hand goes to warnings, numbered from line 1. Memory grows with the
// longest line, never with the file. block_size sets the read and write blocks (small ones are
// for tests); threads how many threads convert them (0: one for each processor, at most 8).
// A block's output is written once it holds most_output bytes, and its conversion goes on after
// (lines such as instances of a structure of many fields write far more than they hold).
convert_result convert_file(int input_fd, int output_fd, diagnostics& warnings,
                            const program_declarations* program = nullptr, std::size_t block_size = 1 << 17,
                            unsigned threads = 0, std::size_t most_output = std::size_t{8} << 20);
// The same, written to output, which it finishes.
convert_result convert_file(int input_fd, output_file& output, diagnostics& warnings,
                            const program_declarations* program = nullptr, std::size_t block_size = 1 << 17,
                            unsigned threads = 0, std::size_t most_output = std::size_t{8} << 20);

} // namespace dravent
