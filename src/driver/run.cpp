// Driver: reads the options, opens the files, converts line by line, and reports each failure
// with one message.
#include "driver/run.hpp"

#include "driver/command_line.hpp"
#include "driver/convert_file.hpp"
#include "driver/diagnostics.hpp"

#include <fcntl.h>
#include <string>
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

int open_output(std::string_view name)
{
    if (name == standard_stream) {
        return STDOUT_FILENO;
    }
    return ::open(std::string(name).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
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

    diagnostics warnings(standard_error,
                         command.input == standard_stream ? std::string(standard_input_name) : std::string(command.input),
                         {.quiet = command.quiet, .strict = command.strict});
    const convert_result result = convert_file(input_fd, output_fd, warnings);
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
