// The command line: options, banner, files, conversion loop, messages and exit status.
#pragma once

#include <ostream>

namespace dravent {

// Runs the converter as the dravent command. standard_output and standard_error must be the
// streams on file descriptors 1 and 2: the output "-" is written to descriptor 1 directly, and a
// run whose output is standard output sends the banner and its messages to standard_error.
// Warnings always go to standard_error. Returns the process exit status: 0 after a completed
// run, 1 after a failure or a usage error, 2 under --strict when lines were left for a hand.
int run(int argc, const char* const argv[], std::ostream& standard_output, std::ostream& standard_error);

} // namespace dravent
