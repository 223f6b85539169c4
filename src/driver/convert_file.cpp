// The per-line loop: read a line, convert it, write it, until the input ends or fails.
#include "driver/convert_file.hpp"

#include "driver/file_io.hpp"
#include "driver/line_converter.hpp"

namespace dravent {

convert_result convert_file(int input_fd, int output_fd, [[maybe_unused]] diagnostics& warnings,
                            std::size_t block_size)
{
    line_reader input(input_fd, block_size);
    output_file output(output_fd, block_size);
    line_converter converter;
    std::string_view line;
    line_reader::result read = line_reader::result::line;
    while (!output.failed() && (read = input.next(line)) == line_reader::result::line) {
        converter.convert(line, output.buffer());
        // Once the converter lists what a line leaves for a hand, count the lines here and pass
        // each of its warnings on: warnings.report(line_number, warning.column, warning.text).
        output.write_if_full();
    }
    const bool written = output.finish();
    if (read == line_reader::result::error) {
        return convert_result::read_error;
    }
    return written ? convert_result::done : convert_result::write_error;
}

} // namespace dravent
