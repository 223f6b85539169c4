// The option parser: a small fixed set of options, in the forms binutils users type.
#include "driver/command_line.hpp"

#include <string>
#include <utility>

namespace dravent {
namespace {

// A usage error: the message for "dravent: ..." and no run. Returns false, to settle the line.
bool usage_error(command_line& command, std::string message)
{
    command.error = std::move(message);
    command.what = command_line::action::usage_error;
    return false;
}

// -o FILE, --output FILE: the one output file the command line may name.
bool take_output(command_line& command, std::string_view value, bool& has_output)
{
    if (has_output) {
        return usage_error(command, "more than one output file");
    }
    command.output = value;
    has_output = true;
    return true;
}

// Handles one long option (without its "--"); may take the next argument as its value.
// Returns false when the command line is settled (help, version or an error).
bool long_option(std::string_view option, int argc, const char* const argv[], int& next, command_line& command,
                 bool& has_output)
{
    using action = command_line::action;
    const std::string_view name = option.substr(0, option.find('='));
    const bool has_value = name.size() < option.size();
    if (name == "output") {
        std::string_view value;
        if (has_value) {
            value = option.substr(name.size() + 1);
        } else if (next < argc) {
            value = argv[next++];
        } else {
            return usage_error(command, "option '--output' needs a file name");
        }
        return take_output(command, value, has_output);
    }
    const bool known = name == "help" || name == "version" || name == "quiet" || name == "strict";
    if (!known) {
        command.error = "unknown option '--" + std::string(name) + "'";
        command.what = action::usage_error;
        return false;
    }
    if (has_value) {
        command.error = "option '--" + std::string(name) + "' takes no value";
        command.what = action::usage_error;
        return false;
    }
    if (name == "help") {
        command.what = action::help;
        return false;
    }
    if (name == "version") {
        command.what = action::version;
        return false;
    }
    (name == "quiet" ? command.quiet : command.strict) = true;
    return true;
}

// Handles a group of short options (without its "-"), like long_option.
bool short_options(std::string_view group, int argc, const char* const argv[], int& next, command_line& command,
                   bool& has_output)
{
    using action = command_line::action;
    for (std::size_t at = 0; at < group.size(); ++at) {
        switch (group[at]) {
        case 'h':
            command.what = action::help;
            return false;
        case 'V':
            command.what = action::version;
            return false;
        case 'q':
            command.quiet = true;
            break;
        case 'o': {
            std::string_view value = group.substr(at + 1);
            if (value.empty()) {
                if (next == argc) {
                    command.error = "option '-o' needs a file name";
                    command.what = action::usage_error;
                    return false;
                }
                value = argv[next++];
            }
            return take_output(command, value, has_output);
        }
        default:
            command.error = "unknown option '-" + std::string(1, group[at]) + "'";
            command.what = action::usage_error;
            return false;
        }
    }
    return true;
}

} // namespace

command_line parse_command_line(int argc, const char* const argv[])
{
    command_line command;
    bool has_output = false;
    int next = 1;
    while (next < argc) {
        const std::string_view argument = argv[next];
        if (argument.size() < 2 || argument[0] != '-') {
            break;  // a name, "-" included
        }
        ++next;
        if (argument == "--") {
            break;
        }
        const bool go_on = argument[1] == '-'
                               ? long_option(argument.substr(2), argc, argv, next, command, has_output)
                               : short_options(argument.substr(1), argc, argv, next, command, has_output);
        if (!go_on) {
            return command;
        }
    }

    const int names = argc - next;
    if (has_output) {
        if (names != 1) {
            command.error = "with -o, give exactly one input file";
            command.what = command_line::action::usage_error;
            return command;
        }
        command.input = argv[next];
        return command;
    }
    if (names != 2) {
        command.what = command_line::action::wrong_count;
        return command;
    }
    command.input = argv[next];
    command.output = argv[next + 1];
    return command;
}

} // namespace dravent
