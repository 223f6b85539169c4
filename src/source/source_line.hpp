// One input line taken apart into views of its text: nothing is copied.
#pragma once

#include <string_view>
#include <vector>

namespace dravent {

// The views stay valid as long as the text the line was split from. The record is reused from
// line to line: splitting a line clears it and keeps the capacity the operand list has grown to.
struct source_line {
    std::string_view text;                 // the whole line without its ending
    std::string_view label;                // the first token of a line that begins with neither white space nor ";"
    std::string_view mnemonic;             // the first token after the label
    std::vector<std::string_view> operands;
    bool has_comment = false;
    std::string_view comment;              // what follows the ";" that begins the comment
    std::string_view ending = "\n";        // "\r\n" when the line ended in a carriage return

    void clear();
};

} // namespace dravent
