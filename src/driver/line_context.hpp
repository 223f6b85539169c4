// Where each line of a program stands: its procedure, local-label scope, code size and mode.
#pragma once

#include "convert/conversion_context.hpp"

#include <string>

namespace dravent {

// Fills a conversion_context for any line of a program from its declarations. Lines asked for
// in increasing order cost a step each; any other order a search.
class line_context {
public:
    explicit line_context(const program_declarations* program) : program_(program) {}

    // The context of line (numbered from 1). Valid until the next call.
    const conversion_context& at(std::uint64_t line);

private:
    const program_declarations* program_;
    conversion_context context_;
    std::string prefix_;  // the local-label prefix of the line's scope
};

} // namespace dravent
