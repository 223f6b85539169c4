// One input line taken apart into views of its text: nothing is copied.
#pragma once

#include "text/characters.hpp"
#include "vocabulary/mnemonics.hpp"

#include <cstddef>
#include <string_view>
#include <vector>

namespace dravent {

// The views stay valid as long as the text the line was split from. The record is reused from
// line to line: splitting a line clears it and keeps the capacity the operand list has grown to.
struct source_line {
    std::string_view text;                 // the whole line, without its ending
    std::string_view label;                // the first token of a line that begins with neither white space nor ";"
    std::string_view mnemonic;             // the first token after the label
    std::vector<std::string_view> operands;
    bool has_comment = false;
    std::string_view comment;              // what follows the ";" that begins the comment
    std::string_view ending = "\n";        // "\r\n" when the line ended in a carriage return
    const mnemonic_row* label_word = nullptr;     // what the vocabulary knows of the label, if anything
    const mnemonic_row* mnemonic_word = nullptr;  // and of the mnemonic

    void clear();

    // What follows the directive word of a line that has one, from its first character to its
    // last, blanks between kept: the operands, or, when the word stands in the label's place (a
    // directive in column 0: "include globals.inc"), the mnemonic and the operands.
    std::string_view after_directive_word() const
    {
        std::string_view first = label.empty() ? std::string_view() : mnemonic;
        if (first.empty()) {
            if (operands.empty()) {
                return {};
            }
            first = operands.front();
        }
        const std::string_view last = operands.empty() ? first : operands.back();
        return trim_trailing_blanks({first.data(), static_cast<std::size_t>(last.data() + last.size() - first.data())});
    }

    // The operands as written, from the first character of the first to the last of the last.
    std::string_view operand_text() const
    {
        if (operands.empty()) {
            return {};
        }
        const std::string_view last = operands.back();
        return {operands.front().data(), static_cast<std::size_t>(last.data() + last.size() - operands.front().data())};
    }

    // The 1-based column at which part, a view into the line, begins.
    std::size_t column_of(std::string_view part) const
    {
        return part.data() >= text.data() && part.data() <= text.data() + text.size()
                   ? static_cast<std::size_t>(part.data() - text.data()) + 1
                   : 0;
    }
};

} // namespace dravent
