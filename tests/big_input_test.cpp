// A few hundred MB streamed through the real executable, generated on the fly and never stored:
// every line comes out, and peak memory does not grow with the size of the input.
#include "program_runner.hpp"
#include "sample_lines.hpp"

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <string>
#include <thread>

namespace dravent::testing {
namespace {

struct stream_result {
    std::size_t input_lines = 0;
    std::size_t output_lines = 0;
    int exit_status = -1;
    long peak_resident_kb = 0;
};

// Writes about `bytes` bytes of sample lines into fd and closes it; returns the lines written.
std::size_t generate(int fd, std::size_t bytes)
{
    std::string block;
    std::size_t lines_per_block = 0;
    while (block.size() < (1 << 16)) {
        block += bench::sample_lines[lines_per_block % bench::sample_lines.size()];
        block += '\n';
        ++lines_per_block;
    }
    std::size_t lines = 0;
    for (std::size_t written = 0; written < bytes; written += block.size()) {
        for (std::size_t done = 0; done < block.size();) {
            const ssize_t n = ::write(fd, block.data() + done, block.size() - done);
            if (n <= 0) {
                ::close(fd);
                return lines;
            }
            done += static_cast<std::size_t>(n);
        }
        lines += lines_per_block;
    }
    ::close(fd);
    return lines;
}

stream_result stream_through_dravent(std::size_t bytes)
{
    scratch_folder folder;
    const std::string output_fifo = (folder / "out.fifo").string();
    if (::mkfifo(output_fifo.c_str(), 0600) != 0) {
        throw std::runtime_error("mkfifo failed");
    }
    int input_pipe[2];
    if (::pipe(input_pipe) != 0) {
        throw std::runtime_error("pipe failed");
    }
    const pid_t pid = start_dravent_on_pipe({"/dev/stdin", output_fifo}, input_pipe[0], input_pipe[1]);

    stream_result result;
    std::thread writer([&] { result.input_lines = generate(input_pipe[1], bytes); });
    const int output = ::open(output_fifo.c_str(), O_RDONLY);
    char block[1 << 16];
    for (ssize_t n; output >= 0 && (n = ::read(output, block, sizeof block)) > 0;) {
        for (ssize_t i = 0; i < n; ++i) {
            result.output_lines += block[i] == '\n';
        }
    }
    if (output >= 0) {
        ::close(output);
    }
    writer.join();
    int status = 0;
    struct rusage usage {};
    ::wait4(pid, &status, 0, &usage);
    result.exit_status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.peak_resident_kb = usage.ru_maxrss;
    return result;
}

TEST(big_input, streams_hundreds_of_megabytes_in_flat_memory)
{
    ::signal(SIGPIPE, SIG_IGN);
    const stream_result small = stream_through_dravent(std::size_t{8} << 20);
    const stream_result big = stream_through_dravent(std::size_t{300} << 20);
    EXPECT_EQ(small.exit_status, 0);
    EXPECT_EQ(big.exit_status, 0);
    EXPECT_EQ(small.output_lines, small.input_lines);
    EXPECT_EQ(big.output_lines, big.input_lines);
    EXPECT_GT(big.input_lines, std::size_t{10'000'000});
    // The same peak for 8 MB and for 300 MB, give or take the allocator's noise.
    EXPECT_LE(big.peak_resident_kb, small.peak_resident_kb + 1024)
        << "peak resident memory: " << small.peak_resident_kb << " kB for 8 MB, " << big.peak_resident_kb
        << " kB for 300 MB";
    std::cout << "peak resident memory: " << small.peak_resident_kb << " kB for 8 MB of input, "
              << big.peak_resident_kb << " kB for 300 MB\n";
}

} // namespace
} // namespace dravent::testing
