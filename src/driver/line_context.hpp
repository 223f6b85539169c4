// Where each line of a program stands: its procedure, local-label scope, code size and mode, and
// the structure declaration or comment block it belongs to.
#pragma once

#include "convert/conversion_context.hpp"

#include <cstddef>
#include <cstdint>
#include <string>

namespace dravent {

// Fills a conversion_context for any line of a program from its declarations. Lines asked for
// in increasing order cost a step each; any other order a search.
class line_context {
public:
    explicit line_context(const program_declarations* program) : program_(program) {}

    // The context of line (numbered from 1). Valid until the next call. Most lines stand where
    // the line before stood: that is told here, without a call.
    const conversion_context& at(std::uint64_t line)
    {
        context_.line = line;
        if (program_ != nullptr && (line <= last_line_ || line >= next_change_)) {
            return changed_at(line);
        }
        last_line_ = line;  // the same context as the line before (or no program: none)
        return context_;
    }

private:
    const conversion_context& changed_at(std::uint64_t line);

    // For each line-ordered list of the declarations, how many of its items begin at or before
    // the line asked for last (for the includes: before it).
    struct counts {
        std::size_t procedures = 0;
        std::size_t includes = 0;
        std::size_t structures = 0;
        std::size_t comments = 0;
        std::size_t skipped = 0;
        std::size_t code_sizes = 0;
        std::size_t segments = 0;
        std::size_t modes = 0;
        std::size_t scopes = 0;
        std::size_t assumes = 0;
    };

    void move_to(std::uint64_t line);
    std::uint64_t next_change(std::uint64_t line) const;
    void write_local_label_prefix(const local_scope* scope);

    const program_declarations* program_;
    conversion_context context_;
    counts counts_;
    std::uint64_t last_line_ = 0;        // the line asked for last, 0 before the first
    std::uint64_t next_change_ = 0;      // the first line after it whose context may differ
    const local_scope* scope_ = nullptr;  // the scope prefix_ was written for
    bool prefix_written_ = false;
    std::string prefix_;  // the local-label prefix of the line's scope
};

} // namespace dravent
