// Warnings about lines the converter leaves for a hand, in the form compilers use, and their count.
#pragma once

#include <cstddef>
#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace dravent {

// The exit status of a run that finished its output but left lines for a hand, under --strict.
inline constexpr int exit_needs_a_hand = 2;

struct diagnostics_settings {
    bool quiet = false;   // count the warnings, write nothing
    bool strict = false;  // any warning makes the exit status exit_needs_a_hand
};

// Writes each warning as "FILE:LINE: warning: TEXT" or "FILE:LINE:COLUMN: warning: TEXT", one
// write per warning, and counts the lines that drew any. Lines are reported in ascending order.
class diagnostics {
public:
    // file_name is the input as the user named it ("<stdin>" for standard input).
    diagnostics(std::ostream& messages, std::string file_name, diagnostics_settings settings);

    // One warning on a line, with the 1-based column it points at, or 0 for the whole line.
    // The same text reported again for the same line is dropped.
    void report(std::uint64_t line, std::size_t column, std::string_view text);

    // After the last line: one summary line when any warning was reported, unless quiet.
    void finish();

    std::uint64_t warning_count() const { return warnings_; }
    std::uint64_t line_count() const { return lines_; }
    // 0, or exit_needs_a_hand when strict and any line drew a warning.
    int exit_status() const { return settings_.strict && lines_ > 0 ? exit_needs_a_hand : 0; }

private:
    std::ostream& messages_;
    std::string file_name_;
    diagnostics_settings settings_;
    std::uint64_t warnings_ = 0;
    std::uint64_t lines_ = 0;
    std::uint64_t current_line_ = 0;          // the line the texts below belong to; 0 before any
    std::vector<std::string> current_texts_;  // the texts already reported for that line
    std::string formatted_;                   // reused for each message
};

} // namespace dravent
