// One converted line: label, statements and comment, as they will be written out.
#pragma once

#include "convert/data_directive.hpp"
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
        : base_(view.data() != nullptr ? view.data() : ""), size_(view.size())
    {
    }
    static constexpr piece in_buffer(std::size_t begin, std::size_t end)
    {
        piece p;
        p.offset_ = begin;
        p.size_ = end - begin;
        return p;
    }

    std::string_view in(const text_buffer& buffer) const
    {
        return {(base_ != nullptr ? base_ : buffer.data()) + offset_, size_};
    }
    bool empty() const { return size_ == 0; }

private:
    const char* base_ = nullptr;  // a view's first character; nullptr for a range of the buffer
    std::size_t offset_ = 0;      // where the text begins from base_, or from the buffer's beginning
    std::size_t size_ = 0;
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
    bool prefix_apart = false;         // the prefix is a statement of its own: "rep; cs; movsb"
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
    data_directive leaves_open = data_directive::none;  // a data definition the next line goes on with
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
        leaves_open = data_directive::none;
        text.clear();
    }

    std::string_view view(const piece& p) const { return p.in(text); }
};

// Appends a statement of one operand, or of two when second is not empty.
inline void add_statement(converted_line& line, std::string_view mnemonic, piece first, piece second = {})
{
    statement& s = line.statements.emplace_back();
    s.mnemonic = mnemonic;
    s.first_operand = line.operands.size();
    s.operand_count = second.empty() ? 1 : 2;
    line.operands.push_back(first);
    if (!second.empty()) {
        line.operands.push_back(second);
    }
}

} // namespace dravent
