// The per-line loop: read a line, convert it, write it, until the input ends or fails.
#include "driver/convert_file.hpp"

#include "io/file_io.hpp"
#include "driver/line_converter.hpp"
#include "text/text_buffer.hpp"

namespace dravent {

convert_result convert_file(int input_fd, int output_fd, diagnostics& warnings, const program_declarations* program,
                            std::size_t block_size)
{
    line_reader input(input_fd, block_size);
    output_file output(output_fd);
    line_converter converter(program);
    text_buffer converted;  // output lines, written out a block at a time
    std::string_view line;
    line_reader::result read = line_reader::result::line;
    std::uint64_t line_number = 0;
    while (!output.failed() && (read = input.next(line)) == line_reader::result::line) {
        ++line_number;
        converter.convert(line, converted);
        for (const warning& w : converter.warnings()) {
            warnings.report(line_number, w.column, w.text);
        }
        if (converted.size() >= block_size) {
            output.write(converted.view());
            converted.clear();
        }
    }
    output.write(converted.view());
    const bool written = output.finish();
    if (read == line_reader::result::error) {
        return convert_result::read_error;
    }
    return written ? convert_result::done : convert_result::write_error;
}

} // namespace dravent
