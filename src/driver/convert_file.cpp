// The conversion loop over a whole file, in blocks of whole lines taken two at a time: this
// thread converts the first while a second thread converts the next. A line's output depends
// only on the line, its number, the declarations and the data definition the line before left
// open, so the second block is converted supposing that none is open at its start, and again
// when the first block turns out to leave one open. Blocks are written in order, each whole.
#include "driver/convert_file.hpp"

#include "driver/line_converter.hpp"
#include "io/file_io.hpp"
#include "parallel/helper_thread.hpp"
#include "text/line_splitter.hpp"
#include "text/text_buffer.hpp"

#include <bit>
#include <memory>
#include <vector>

namespace dravent {
namespace {

struct block_warning {
    std::uint64_t line = 0;
    std::size_t column = 0;
    std::string_view text;
};

// A block of lines and what converting it gave.
struct block_job {
    line_block input;
    std::uint64_t first_line = 1;
    data_directive opened = data_directive::none;  // what the line before the block left open
    text_buffer output;
    std::vector<block_warning> warnings;
    data_directive leaves_open = data_directive::none;
    std::uint64_t line_count = 0;
};

// Every line ends in a line feed, except perhaps the last of the file.
std::uint64_t count_lines(std::string_view text)
{
    std::uint64_t feeds = 0;
    std::size_t at = 0;
    for (; at + 64 <= text.size(); at += 64) {
        feeds += static_cast<std::uint64_t>(std::popcount(line_feed_bits_of_64(text.data() + at)));
    }
    for (; at < text.size(); ++at) {
        feeds += text[at] == '\n' ? 1 : 0;
    }
    return feeds + (!text.empty() && text.back() != '\n' ? 1 : 0);
}

void convert_block(line_converter& converter, block_job& job)
{
    converter.start_at(job.first_line, job.opened);
    job.output.clear();
    job.warnings.clear();
    std::uint64_t number = job.first_line;
    line_splitter lines(job.input.text());
    for (std::string_view line; lines.next(line); ++number) {
        converter.convert(line, job.output);
        for (const warning& w : converter.warnings()) {
            job.warnings.push_back({number, w.column, w.text});
        }
    }
    job.line_count = number - job.first_line;
    job.leaves_open = converter.open_data();
}

void write_block(const block_job& job, output_file& output, diagnostics& warnings)
{
    output.write(job.output.view());
    for (const block_warning& w : job.warnings) {
        warnings.report(w.line, w.column, w.text);
    }
}

} // namespace

convert_result convert_file(int input_fd, int output_fd, diagnostics& warnings, const program_declarations* program,
                            std::size_t block_size)
{
    block_reader input(input_fd, block_size);
    output_file output(output_fd);
    line_converter converter(program);
    block_job first;
    block_job second;
    // The second thread has a converter of its own, made with the thread once a file has a
    // second block.
    line_converter beside_converter(program);
    std::unique_ptr<helper_thread> beside;
    bool beside_refused = false;
    std::uint64_t next_line = 1;
    data_directive open = data_directive::none;
    block_reader::result read = block_reader::result::block;
    while (!output.failed() && (read = input.next(first.input)) == block_reader::result::block) {
        first.first_line = next_line;
        first.opened = open;
        read = input.next(second.input);
        const bool two = read == block_reader::result::block;
        if (two && beside == nullptr && !beside_refused) {
            beside = make_helper_thread([&] { convert_block(beside_converter, second); });
            beside_refused = beside == nullptr;
        }
        const bool second_beside = two && beside != nullptr;
        const std::uint64_t first_lines = count_lines(first.input.text());
        if (second_beside) {
            second.first_line = next_line + first_lines;
            second.opened = data_directive::none;
            beside->start();
        }
        convert_block(converter, first);
        write_block(first, output, warnings);
        next_line += first_lines;
        open = first.leaves_open;
        if (second_beside) {
            beside->wait();
        }
        if (!two) {
            break;
        }
        if (!second_beside || open != data_directive::none) {
            second.first_line = next_line;
            second.opened = open;
            convert_block(converter, second);
        }
        write_block(second, output, warnings);
        next_line += second.line_count;
        open = second.leaves_open;
    }
    const bool written = output.finish();
    if (read == block_reader::result::error) {
        return convert_result::read_error;
    }
    return written ? convert_result::done : convert_result::write_error;
}

} // namespace dravent
