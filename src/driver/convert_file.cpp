// The conversion loop over a whole file, in blocks of whole lines. This thread reads the blocks
// into a ring and writes them out in order; it and the threads beside it (one for each further
// processor) each convert the next block that nobody has taken. A line's output depends only on the
// line, its number, the declarations and the data definition the line before left open, so a block
// taken out of turn is converted supposing that none is open at its start, and converted again
// before it is written when the block before it turns out to leave one open.
#include "driver/convert_file.hpp"

#include "driver/line_converter.hpp"
#include "io/file_io.hpp"
#include "text/line_splitter.hpp"
#include "text/text_buffer.hpp"

#include <algorithm>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace dravent {
namespace {

struct block_warning {
    std::uint64_t line = 0;
    std::size_t column = 0;
    std::string_view text;
};

// A block of lines and what converting it gave: all of its lines, or those before stopped_at,
// where the output grew past the most it may hold.
struct block_job {
    line_block input;
    std::uint64_t first_line = 1;
    data_directive opened = data_directive::none;  // what the line before the block left open
    text_buffer output;
    std::vector<block_warning> warnings;
    data_directive leaves_open = data_directive::none;  // the last line converted leaves open
    std::size_t stopped_at = 0;     // where the lines not converted yet begin: the block's size when none
    std::uint64_t stopped_line = 0;  // the number of the line there
    bool converted = false;  // since it was read; guarded by the ring's mutex once it can be taken
};

// Converts the lines of the block from byte from, numbered from line on, after a line that left
// open open: into an emptied output, until the block ends or the output holds most_output bytes.
void convert_lines(line_converter& converter, block_job& job, std::size_t from, std::uint64_t line,
                   data_directive open, std::size_t most_output)
{
    converter.start_at(line, open);
    job.output.clear();
    job.warnings.clear();
    const std::string_view text = job.input.text();
    line_splitter lines(text.substr(from));
    for (std::string_view each; job.output.size() < most_output && lines.next(each); ++line) {
        converter.convert(each, text.data() + text.size(), job.output);
        for (const warning& w : converter.warnings()) {
            job.warnings.push_back({line, w.column, w.text});
        }
    }
    job.stopped_at = from + lines.handed_out();
    job.stopped_line = line;
    job.leaves_open = converter.open_data();
}

void convert_block(line_converter& converter, block_job& job, std::size_t most_output)
{
    convert_lines(converter, job, 0, job.first_line, job.opened, most_output);
}

void write_block(const block_job& job, output_file& output, diagnostics& warnings)
{
    output.write(job.output.view());
    for (const block_warning& w : job.warnings) {
        warnings.report(w.line, w.column, w.text);
    }
}

// What this thread and the threads beside it share. Blocks are numbered in the order they are
// read; block n lives in slot n % slots.size() until it is written.
struct block_ring {
    block_ring(std::size_t size, std::size_t most_output) : slots(size), most_output(most_output) {}

    block_job& slot(std::uint64_t n) { return slots[n % slots.size()]; }

    std::vector<block_job> slots;
    std::size_t most_output;  // a block's output held at most, but for its last line's
    std::mutex mutex;
    std::condition_variable block_read;       // a block can be taken, or the threads are to stop
    std::condition_variable block_converted;
    std::uint64_t read = 0;   // blocks read; only this thread changes it
    std::uint64_t taken = 0;  // blocks taken for conversion, in the order they were read
    bool stopping = false;
    std::exception_ptr failure;  // what a thread beside this one threw
};

// A thread beside this one: takes the next block, converts it with a converter of its own, says so.
void convert_beside(block_ring& ring, const program_declarations* program)
{
    std::unique_lock lock(ring.mutex);
    try {
        line_converter converter(program);
        for (;;) {
            ring.block_read.wait(lock, [&] { return ring.stopping || ring.taken < ring.read; });
            if (ring.stopping) {
                return;
            }
            block_job& job = ring.slot(ring.taken++);
            lock.unlock();
            convert_block(converter, job, ring.most_output);
            lock.lock();
            job.converted = true;
            ring.block_converted.notify_one();
        }
    } catch (...) {
        if (!lock.owns_lock()) {
            lock.lock();
        }
        ring.failure = std::current_exception();  // this thread's block stays unconverted
        ring.block_converted.notify_one();
    }
}

// The threads beside this one, started once a file has a second block, stopped when the ring is
// left. Fewer start when the system refuses one: this thread converts what nobody takes.
class threads_beside {
public:
    explicit threads_beside(block_ring& ring) : ring_(ring) {}
    threads_beside(const threads_beside&) = delete;
    threads_beside& operator=(const threads_beside&) = delete;
    ~threads_beside()
    {
        {
            const std::lock_guard lock(ring_.mutex);
            ring_.stopping = true;
        }
        ring_.block_read.notify_all();
        for (std::thread& thread : threads_) {
            thread.join();
        }
    }

    void start(unsigned count, const program_declarations* program)
    {
        for (unsigned n = 0; n < count; ++n) {
            try {
                threads_.emplace_back([this, program] { convert_beside(ring_, program); });
            } catch (const std::system_error&) {
                return;
            }
        }
    }

private:
    block_ring& ring_;
    std::vector<std::thread> threads_;
};

constexpr unsigned most_threads = 8;  // beyond, this thread's reading and writing hold the others up

} // namespace

convert_result convert_file(int input_fd, int output_fd, diagnostics& warnings, const program_declarations* program,
                            std::size_t block_size, unsigned threads, std::size_t most_output)
{
    output_file output(output_fd);
    return convert_file(input_fd, output, warnings, program, block_size, threads, most_output);
}

convert_result convert_file(int input_fd, output_file& output, diagnostics& warnings,
                            const program_declarations* program, std::size_t block_size, unsigned threads,
                            std::size_t most_output)
{
    if (threads == 0) {
        threads = std::clamp(std::thread::hardware_concurrency(), 1U, most_threads);
    }
    block_reader input(input_fd, block_size);
    line_converter converter(program);
    block_ring ring(2 * std::size_t{threads}, most_output);
    threads_beside beside(ring);  // after the ring: the threads stop before it goes
    std::uint64_t written = 0;
    std::uint64_t next_line = 1;
    data_directive open = data_directive::none;
    block_reader::result read = block_reader::result::block;
    while (!output.failed()) {
        // Read while a slot is free: a slot is free once its block is written.
        while (read == block_reader::result::block && ring.read - written < ring.slots.size()) {
            block_job& job = ring.slot(ring.read);
            read = input.next(job.input);
            if (read != block_reader::result::block) {
                break;
            }
            job.first_line = next_line;
            job.opened = data_directive::none;
            job.converted = false;
            next_line += count_lines(job.input.text());
            {
                const std::lock_guard lock(ring.mutex);
                ++ring.read;
            }
            if (ring.read == 2) {
                beside.start(threads - 1, program);
            }
            ring.block_read.notify_one();
        }
        if (written == ring.read) {
            break;
        }
        block_job& job = ring.slot(written);
        {
            std::unique_lock lock(ring.mutex);
            if (ring.taken == written) {
                ++ring.taken;  // nobody took it: converted below, in turn
            } else {
                // While it is converted beside, this thread converts the next block nobody took.
                while (!job.converted && ring.failure == nullptr && ring.taken < ring.read) {
                    block_job& next = ring.slot(ring.taken++);
                    lock.unlock();
                    convert_block(converter, next, ring.most_output);
                    lock.lock();
                    next.converted = true;
                }
                ring.block_converted.wait(lock, [&] { return job.converted || ring.failure != nullptr; });
            }
            if (ring.failure != nullptr) {
                std::rethrow_exception(ring.failure);
            }
        }
        if (!job.converted || job.opened != open) {
            job.opened = open;
            convert_block(converter, job, ring.most_output);
        }
        write_block(job, output, warnings);
        while (job.stopped_at < job.input.size && !output.failed()) {
            convert_lines(converter, job, job.stopped_at, job.stopped_line, job.leaves_open, ring.most_output);
            write_block(job, output, warnings);
        }
        open = job.leaves_open;
        ++written;
    }
    const bool written_out = output.finish();
    if (read == block_reader::result::error) {
        return convert_result::read_error;
    }
    return written_out ? convert_result::done : convert_result::write_error;
}

} // namespace dravent
