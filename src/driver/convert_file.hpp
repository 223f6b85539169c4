// The conversion loop over a whole file: one output line for every input line.
#pragma once

#include <cstddef>

namespace dravent {

enum class convert_result { done, read_error, write_error };

// Converts every line read from input_fd and writes the output to output_fd, which it closes.
// Memory grows with the longest line, never with the file. block_size sets the read and write
// blocks (small ones are for tests).
convert_result convert_file(int input_fd, int output_fd, std::size_t block_size = 1 << 16);

} // namespace dravent
