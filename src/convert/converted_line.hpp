// One converted line: label, statements and comment, as they will be written out.
#pragma once

#include "convert/workspace.hpp"
#include "text/text_buffer.hpp"

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace dravent {

// A text of the converted line: a view that outlives the conversion (into the source line or a
// constant), or a range of the line's own buffer, which may still move while the line is built.
class piece {
public:
    constexpr piece() = default;
    constexpr piece(std::string_view view)  // NOLINT: a view is a piece
        : data_(view.data() != nullptr ? view.data() : ""), first_(view.size())
    {
    }
    static constexpr piece in_buffer(std::size_t begin, std::size_t end)
    {
        piece p;
        p.first_ = begin;
        p.second_ = end;
        return p;
    }

    std::string_view in(const text_buffer& buffer) const
    {
        return data_ != nullptr ? std::string_view(data_, first_) : std::string_view(buffer.data() + first_, second_ - first_);
    }
    bool empty() const { return data_ != nullptr ? first_ == 0 : first_ == second_; }

private:
    const char* data_ = nullptr;  // a view's first character; nullptr for a range of the buffer
    std::size_t first_ = 0;       // a view's length, or the range's beginning
    std::size_t second_ = 0;      // the range's end
};

// What a line knowingly leaves for a hand: the column it points at (1-based, 0 for the whole
// line) and what to do about it.
struct warning {
    std::size_t column = 0;
    std::string_view text;
};

// One GNU As statement. Its operands are a run of the line's operand list, written in the order
// they stand there.
struct statement {
    piece prefix;                      // "rep", "lock", ... written before the mnemonic, or empty
    piece mnemonic;
    std::string_view size_letters;     // AT&T size letters written right after the mnemonic
    std::size_t first_operand = 0;
    std::size_t operand_count = 0;
};

// The record is reused from line to line: clear() keeps the capacity its lists and buffers have
// grown to, so converting a file allocates only while they still grow.
struct converted_line {
    piece label;
    bool label_colon = false;          // a colon is written after the label
    std::vector<statement> statements; // none for a line of a label or a comment alone
    std::vector<piece> operands;
    bool has_comment = false;
    std::string_view comment;          // written behind "#"
    std::string_view ending = "\n";
    text_buffer text;                  // the buffer that owned pieces point into
    std::vector<warning> warnings;     // in the order they were found
    conversion_workspace work;         // reused by the conversion of each operand

    void clear()
    {
        label = {};
        label_colon = false;
        statements.clear();
        operands.clear();
        warnings.clear();
        has_comment = false;
        comment = {};
        ending = "\n";
        text.clear();
    }

    std::string_view view(const piece& p) const { return p.in(text); }
};

} // namespace dravent
