// The command line: banner, argument check, files, conversion loop, messages and exit status.
#pragma once

#include <ostream>

namespace dravent {

// Runs the converter on argv[1] (input) and argv[2] (output), writing the banner and any message
// to messages. Returns the process exit status: 0 after a completed run, 1 otherwise.
int run(int argc, const char* const argv[], std::ostream& messages);

} // namespace dravent
