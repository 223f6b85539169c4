// The conversion loop over a whole file, in blocks of whole lines taken a round at a time: this
// thread converts a round's first block while the threads beside it convert the others. A line's
// output depends only on the line, its number, the declarations and the data definition the line
// before left open, so a block converted beside is converted supposing that none is open at its
// start, and again when the block before it turns out to leave one open. Blocks are written in
// order, each whole.
#include "driver/convert_file.hpp"

#include "driver/line_converter.hpp"
#include "io/file_io.hpp"
#include "parallel/helper_thread.hpp"
#include "text/line_splitter.hpp"
#include "text/text_buffer.hpp"

#include <algorithm>
#include <bit>
#include <memory>
#include <thread>
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

// A thread beside this one, with a converter of its own and the block it is given.
struct beside_thread {
    explicit beside_thread(const program_declarations* program) : converter(program) {}

    line_converter converter;
    block_job* job = nullptr;
    std::unique_ptr<helper_thread> thread;
};

// The threads beside this one, made as the blocks of a file first need them. nullptr from the
// first that the system refuses on: this thread then converts what was left for it.
class beside_threads {
public:
    explicit beside_threads(const program_declarations* program) : program_(program) {}

    beside_thread* at(std::size_t n)
    {
        while (threads_.size() <= n && !refused_) {
            auto made = std::make_unique<beside_thread>(program_);
            beside_thread* helper = made.get();
            made->thread = make_helper_thread([helper] { convert_block(helper->converter, *helper->job); });
            refused_ = made->thread == nullptr;
            if (!refused_) {
                threads_.push_back(std::move(made));
            }
        }
        return n < threads_.size() ? threads_[n].get() : nullptr;
    }

private:
    const program_declarations* program_;
    std::vector<std::unique_ptr<beside_thread>> threads_;
    bool refused_ = false;
};

constexpr unsigned most_threads = 8;  // beyond, this thread's reading and writing hold the others up

} // namespace

convert_result convert_file(int input_fd, int output_fd, diagnostics& warnings, const program_declarations* program,
                            std::size_t block_size, unsigned threads)
{
    if (threads == 0) {
        threads = std::clamp(std::thread::hardware_concurrency(), 1U, most_threads);
    }
    block_reader input(input_fd, block_size);
    output_file output(output_fd);
    line_converter converter(program);
    std::vector<block_job> jobs(threads);
    beside_threads beside(program);
    std::uint64_t next_line = 1;
    data_directive open = data_directive::none;
    block_reader::result read = block_reader::result::block;
    while (!output.failed() && read == block_reader::result::block) {
        // A round: a block for each thread, read in order.
        std::size_t count = 0;
        while (count < jobs.size() && (read = input.next(jobs[count].input)) == block_reader::result::block) {
            ++count;
        }
        // The blocks after the first go to the threads beside this one.
        std::size_t started = 0;
        for (std::uint64_t line = next_line; started + 1 < count; ++started) {
            beside_thread* helper = beside.at(started);
            if (helper == nullptr) {
                break;
            }
            line += count_lines(jobs[started].input.text());
            block_job& job = jobs[started + 1];
            job.first_line = line;
            job.opened = data_directive::none;
            helper->job = &job;
            helper->thread->start();
        }
        for (std::size_t n = 0; n < count; ++n) {
            block_job& job = jobs[n];
            const bool converted_beside = n > 0 && n <= started;
            if (converted_beside) {
                beside.at(n - 1)->thread->wait();
            }
            if (!converted_beside || job.opened != open) {
                job.first_line = next_line;
                job.opened = open;
                convert_block(converter, job);
            }
            write_block(job, output, warnings);
            next_line += job.line_count;
            open = job.leaves_open;
        }
    }
    const bool written = output.finish();
    if (read == block_reader::result::error) {
        return convert_result::read_error;
    }
    return written ? convert_result::done : convert_result::write_error;
}

} // namespace dravent
