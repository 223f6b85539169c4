// Driver: reads the options, opens the files, converts line by line, and reports each failure
// with one message.
#include "driver/run.hpp"

#include "driver/command_line.hpp"
#include "declarations/collect_declarations.hpp"
#include "declarations/include_files.hpp"
#include "driver/convert_file.hpp"
#include "driver/diagnostics.hpp"
#include "io/file_io.hpp"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <vector>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace dravent {
namespace {

// Every message ends in LF CR LF; scripts that read these messages expect exactly these bytes.
constexpr std::string_view banner = "Dravent " DRAVENT_VERSION " - Tasm to GNU As converter\n\r\n";
constexpr std::string_view usage_text =
    "Converts Tasm intel assembler to AT&T syntax (GNU As)\n\r"
    "Usage: Dravent <inputfile> <outputfile>\n\n\r\n";
constexpr std::string_view open_input_failed = "Couldn't open input file\n\r\n";
constexpr std::string_view open_output_failed = "Couldn't open output file\n\r\n";
constexpr std::string_view read_failed = "Couldn't read input file\n\r\n";
constexpr std::string_view write_failed = "Couldn't write output file\n\r\n";
constexpr std::string_view same_file = "Input and output are the same file\n\r\n";

// --help and --version, and the errors the option parser finds, read like those of binutils.
constexpr std::string_view help_text =
    "Usage: dravent [OPTION]... INPUT OUTPUT\n"
    "   or: dravent [OPTION]... -o OUTPUT INPUT\n"
    "Convert Tasm assembly source INPUT into GNU As source in AT&T syntax, OUTPUT,\n"
    "one output line for every input line. \"-\" names standard input or output.\n"
    "\n"
    "  -o, --output=FILE  write to FILE (instead of naming it second)\n"
    "  -q, --quiet        print no banner and no warnings; failures are still reported\n"
    "      --strict       exit with status 2 when any line was left for a hand\n"
    "  -h, --help         print this help and exit\n"
    "  -V, --version      print the version and exit\n"
    "      --             end of options: the arguments that follow are file names\n"
    "\n"
    "Warnings go to standard error as FILE:LINE: warning: TEXT. When the output is\n"
    "standard output, the banner and every message go to standard error too.\n"
    "Exit status: 0 converted, 1 failure or usage error, 2 lines left for a hand\n"
    "(with --strict).\n";
constexpr std::string_view version_text =
    "dravent " DRAVENT_VERSION "\n"
    "Copyright (c) 2026 the Dravent developers\n"
    "MIT License: this is free software, provided without warranty of any kind.\n";
constexpr std::string_view try_help = "Try 'dravent --help' for more information.\n";

constexpr std::string_view standard_stream = "-";
constexpr std::string_view standard_input_name = "<stdin>";

constexpr int exit_success = 0;
constexpr int exit_failure = 1;

int fail(std::ostream& messages, std::string_view message)
{
    messages << message << std::flush;
    return exit_failure;
}

constexpr int no_temporary_file = -2;

// The input as a file that can be read twice: the file itself when it can seek, else a copy in
// an unnamed temporary file (a pipe, a FIFO, a terminal). -1 when reading or copying fails;
// no_temporary_file, with nothing read, when no temporary file can be made.
int rereadable_input(int fd)
{
    struct stat status {};
    if (::fstat(fd, &status) == 0 && S_ISREG(status.st_mode) && ::lseek(fd, 0, SEEK_CUR) >= 0) {
        return fd;
    }
    const char* folder = std::getenv("TMPDIR");
    const std::string temporary_folder = folder != nullptr && *folder != '\0' ? folder : "/tmp";
    int copy = ::open(temporary_folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (copy < 0) {
        std::string name = temporary_folder + "/dravent-XXXXXX";
        copy = ::mkstemp(name.data());
        if (copy >= 0) {
            ::unlink(name.c_str());
        }
    }
    if (copy < 0) {
        return no_temporary_file;
    }
    std::vector<char> block(1 << 16);
    for (;;) {
        const ssize_t n = ::read(fd, block.data(), block.size());
        if (n == 0) {
            break;
        }
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            ::close(copy);
            return -1;
        }
        for (ssize_t done = 0; done < n;) {
            const ssize_t written = ::write(copy, block.data() + done, static_cast<std::size_t>(n - done));
            if (written < 0 && errno == EINTR) {
                continue;
            }
            if (written <= 0) {
                ::close(copy);
                return -1;
            }
            done += written;
        }
    }
    return ::lseek(copy, 0, SEEK_SET) == 0 ? copy : -1;
}

bool same_inode(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// "-", /dev/stdout, or any name of the file that standard output already is.
bool names_standard_output(std::string_view output)
{
    if (output == standard_stream) {
        return true;
    }
    struct stat named {};
    struct stat standard_output {};
    return ::stat(std::string(output).c_str(), &named) == 0 && ::fstat(STDOUT_FILENO, &standard_output) == 0 &&
           same_inode(named, standard_output);
}

// A directory opens for reading but holds no lines: it counts as an input that cannot be opened.
int open_input(std::string_view name)
{
    const int fd = name == standard_stream ? STDIN_FILENO : ::open(std::string(name).c_str(), O_RDONLY | O_CLOEXEC);
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

// Same device and inode, reached through any name or link: writing would truncate the input, or
// feed the output back into it. A terminal, a pipe or a socket reads and writes two separate
// streams, so it may be both ("dravent - -" at a terminal).
bool would_overwrite_input(int input_fd, std::string_view output)
{
    struct stat input {};
    struct stat named {};
    if (::fstat(input_fd, &input) != 0 || S_ISCHR(input.st_mode) || S_ISFIFO(input.st_mode) ||
        S_ISSOCK(input.st_mode)) {
        return false;
    }
    const int found = output == standard_stream ? ::fstat(STDOUT_FILENO, &named)
                                                : ::stat(std::string(output).c_str(), &named);
    return found == 0 && same_inode(input, named);
}

// The output opened for writing, created when missing. An existing file keeps its contents until
// the output is written over them and cut where it ends (output_file).
int open_output(std::string_view name)
{
    if (name == standard_stream) {
        return STDOUT_FILENO;
    }
    return ::open(std::string(name).c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
}

} // namespace

int run(int argc, const char* const argv[], std::ostream& standard_output, std::ostream& standard_error)
{
    const command_line command = parse_command_line(argc, argv);
    switch (command.what) {
    case command_line::action::help:
        standard_output << help_text << std::flush;
        return exit_success;
    case command_line::action::version:
        standard_output << version_text << std::flush;
        return exit_success;
    case command_line::action::usage_error:
        standard_error << "dravent: " << command.error << '\n' << try_help << std::flush;
        return exit_failure;
    case command_line::action::wrong_count:
        if (!command.quiet) {
            standard_output << banner;
        }
        return fail(standard_output, usage_text);
    case command_line::action::convert:
        break;
    }

    // Converted text that goes to standard output is never mixed with a message.
    std::ostream& messages = names_standard_output(command.output) ? standard_error : standard_output;
    if (!command.quiet) {
        messages << banner;
    }
    const int input_fd = open_input(command.input);
    if (input_fd < 0) {
        return fail(messages, open_input_failed);
    }
    if (would_overwrite_input(input_fd, command.output)) {
        ::close(input_fd);
        return fail(messages, same_file);
    }
    const int output_fd = open_output(command.output);
    if (output_fd < 0) {
        ::close(input_fd);
        return fail(messages, open_output_failed);
    }
    // A file named for the output is written over and cut where the output ends; one that cannot
    // be cut cannot be opened for the output.
    output_file output(output_fd, command.output == standard_stream ? output_file::ending::as_written
                                                                    : output_file::ending::cut_after_output);
    if (output.failed()) {
        ::close(input_fd);
        return fail(messages, open_output_failed);
    }

    diagnostics warnings(standard_error,
                         command.input == standard_stream ? std::string(standard_input_name) : std::string(command.input),
                         {.quiet = command.quiet, .strict = command.strict});
    // Two readings: first the declarations of the whole program, then the conversion.
    program_declarations program;
    const program_declarations* declared = &program;
    int readable_fd = rereadable_input(input_fd);
    if (readable_fd == no_temporary_file) {
        // Without a place to keep a copy the input is read once, each line converted on its own.
        readable_fd = input_fd;
        declared = nullptr;
    }
    const off_t start = readable_fd < 0 ? -1 : ::lseek(readable_fd, 0, SEEK_CUR);
    const bool read_twice = declared != nullptr;
    const std::string folder = command.input == standard_stream ? std::string(".") : folder_of(command.input);
    // An include may name the output: it reads as empty, as the output is about to be.
    if (read_twice && (start < 0 ||
                       !collect_declarations(readable_fd, folder, program, [&output] { output.discard_old_contents(); }) ||
                       ::lseek(readable_fd, start, SEEK_SET) < 0)) {
        if (readable_fd >= 0 && readable_fd != input_fd) {
            ::close(readable_fd);
        }
        ::close(input_fd);
        output.finish();
        return fail(messages, read_failed);
    }
    const convert_result result = convert_file(readable_fd, output, warnings, declared);
    if (readable_fd != input_fd) {
        ::close(readable_fd);
    }
    ::close(input_fd);
    warnings.finish();
    if (result == convert_result::read_error) {
        return fail(messages, read_failed);
    }
    if (result == convert_result::write_error) {
        return fail(messages, write_failed);
    }
    messages << std::flush;
    return warnings.exit_status();
}

} // namespace dravent
