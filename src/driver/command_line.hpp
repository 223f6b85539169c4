// Reading the command line: options first, then the input and output names.
#pragma once

#include <string>
#include <string_view>

namespace dravent {

struct command_line {
    enum class action {
        convert,      // input and output are set
        help,         // --help or -h
        version,      // --version or -V
        wrong_count,  // not two names (one after -o)
        usage_error,  // an unknown option or a missing option argument: error says which
    };

    action what = action::convert;
    std::string_view input;   // "-" is standard input
    std::string_view output;  // "-" is standard output
    bool quiet = false;
    bool strict = false;
    std::string error;
};

// Options come before the names; "--" ends them, and "-" alone is a name. Short options may be
// grouped ("-qo out.s"). The first --help, --version or error met decides the action.
command_line parse_command_line(int argc, const char* const argv[]);

} // namespace dravent
