// A line's statement as the vocabulary leaves it, before its operands are converted.
#pragma once

#include "convert/converted_line.hpp"
#include "source/source_line.hpp"
#include "vocabulary/mnemonics.hpp"

#include <span>
#include <string_view>
#include <vector>

namespace dravent {

struct statement_draft {
    piece label;
    piece prefix;                             // rep, lock, ... before the instruction
    bool prefixes = false;                    // prefix holds more than one prefix word ("rep; cs")
    piece mnemonic;
    std::span<const std::string_view> operands;  // the operand texts still to be converted
    int line_flags = 0;
    word_kind kind = word_kind::instruction;   // what the mnemonic is
    statement_rule rule = statement_rule::none;  // the rule of the mnemonic as it now stands
    bool known = false;                         // the vocabulary knows the mnemonic

    // Starts from the source line's words; the operands stay those of the source line until a
    // rule rewrites one.
    void start(const source_line& source)
    {
        label = source.label;
        prefix = {};
        prefixes = false;
        mnemonic = source.mnemonic;
        operands = source.operands;
    }

    // The first operand's text becomes text: the operands are copied into the draft's own list.
    void replace_first_operand(std::string_view text) { replace_operand(0, text); }

    // Operand n's text becomes text.
    void replace_operand(std::size_t n, std::string_view text)
    {
        if (operands.data() != own_operands_.data() || operands.size() != own_operands_.size()) {
            copied_.assign(operands.begin(), operands.end());  // operands may view own_operands_
            own_operands_.swap(copied_);
        }
        own_operands_[n] = text;
        operands = own_operands_;
    }

private:
    std::vector<std::string_view> own_operands_;
    std::vector<std::string_view> copied_;
};

} // namespace dravent
