// Driver: opens the files, converts line by line, and reports each failure with one message.
#include "driver/run.hpp"

#include "driver/convert_file.hpp"

#include <fcntl.h>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace dravent {
namespace {

// Every message ends in LF CR LF; scripts that read these messages expect exactly these bytes.
constexpr std::string_view banner = "Dravent 0.8.2 - Tasm to GNU As converter\n\r\n";
constexpr std::string_view usage_text =
    "Converts Tasm intel assembler to AT&T syntax (GNU As)\n\r"
    "Usage: Dravent <inputfile> <outputfile>\n\n\r\n";
constexpr std::string_view open_input_failed = "Couldn't open input file\n\r\n";
constexpr std::string_view open_output_failed = "Couldn't open output file\n\r\n";
constexpr std::string_view read_failed = "Couldn't read input file\n\r\n";
constexpr std::string_view write_failed = "Couldn't write output file\n\r\n";
constexpr std::string_view same_file = "Input and output are the same file\n\r\n";

constexpr int exit_success = 0;
constexpr int exit_failure = 1;

int fail(std::ostream& messages, std::string_view message)
{
    messages << message << std::flush;
    return exit_failure;
}

// A directory opens for reading but holds no lines: it counts as an input that cannot be opened.
int open_input(const char* path)
{
    const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return -1;
    }
    struct stat status {};
    if (::fstat(fd, &status) != 0 || S_ISDIR(status.st_mode)) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// Same device and inode, reached through any name or link. Writing would truncate the input.
bool names_same_file(int input_fd, const char* output_path)
{
    struct stat input {};
    struct stat output {};
    return ::fstat(input_fd, &input) == 0 && ::stat(output_path, &output) == 0 &&
           input.st_dev == output.st_dev && input.st_ino == output.st_ino;
}

} // namespace

int run(int argc, const char* const argv[], std::ostream& messages)
{
    messages << banner;
    if (argc != 3) {
        return fail(messages, usage_text);
    }
    const int input_fd = open_input(argv[1]);
    if (input_fd < 0) {
        return fail(messages, open_input_failed);
    }
    if (names_same_file(input_fd, argv[2])) {
        ::close(input_fd);
        return fail(messages, same_file);
    }
    const int output_fd = ::open(argv[2], O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (output_fd < 0) {
        ::close(input_fd);
        return fail(messages, open_output_failed);
    }

    const convert_result result = convert_file(input_fd, output_fd);
    ::close(input_fd);
    if (result == convert_result::read_error) {
        return fail(messages, read_failed);
    }
    if (result == convert_result::write_error) {
        return fail(messages, write_failed);
    }
    messages << std::flush;
    return exit_success;
}

} // namespace dravent
