// A line's statement as the vocabulary leaves it, before its operands are converted.
#pragma once

#include "convert/converted_line.hpp"
#include "vocabulary/mnemonics.hpp"

#include <string_view>
#include <vector>

namespace dravent {

struct statement_draft {
    piece label;
    piece prefix;                            // rep, lock, ... before the instruction
    piece mnemonic;
    std::vector<std::string_view> operands;  // the operand texts still to be converted
    int line_flags = 0;
    word_kind kind = word_kind::instruction;  // what the mnemonic is
    bool known = false;                        // the vocabulary knows the mnemonic

    void clear()
    {
        label = {};
        prefix = {};
        mnemonic = {};
        operands.clear();
        line_flags = 0;
        kind = word_kind::instruction;
        known = false;
    }
};

} // namespace dravent
