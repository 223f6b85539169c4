// A line's statement as the vocabulary leaves it, before its operands are converted.
#pragma once

#include "convert/converted_line.hpp"

#include <string_view>
#include <vector>

namespace dravent {

struct statement_draft {
    piece label;
    piece mnemonic;
    std::vector<std::string_view> operands;  // the operand texts still to be converted
    int line_flags = 0;

    void clear()
    {
        label = {};
        mnemonic = {};
        operands.clear();
        line_flags = 0;
    }
};

} // namespace dravent
