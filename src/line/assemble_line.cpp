// Output line assembly: column layout, AT&T operand order and size letters.
#include "line/assemble_line.hpp"

#include "line/characters.hpp"

#include <array>

namespace dravent {
namespace {

struct size_letter {
    int flag;
    char letter;
};

// Letters in the order they are written when several sizes meet (movzx: "b" before "w").
constexpr std::array<size_letter, 4> size_letters{{
    {SIZE_BYTE,  'b'},
    {SIZE_WORD,  'w'},
    {SIZE_DWORD, 'l'},
    {SIZE_QWORD, 'q'},
}};

bool is_count_register(std::string_view text)
{
    while (!text.empty() && is_blank(text.back())) {
        text.remove_suffix(1);
    }
    return equal_folded(text, "%cl");
}

void append_operands(const line_record& record, std::string& out)
{
    const bool source_order = (record.line_flags & LINE_DATA) != 0;
    for (int n = 0; n < record.count; ++n) {
        if (n > 0) {
            out += ',';
        }
        out += record.operand(source_order ? n : record.count - 1 - n).text;
    }
}

// The size flags that select the mnemonic's letters: those of all operands, except a port
// register beside another size and a shift count in cl.
int size_letter_flags(const line_record& record)
{
    int operands_sized = record.count;
    // A shift or rotate count in cl is no operand size, like the port register dx below.
    if ((record.line_flags & LINE_SHIFT) != 0 && record.count >= 2 &&
        is_count_register(record.operand(record.count - 1).text)) {
        --operands_sized;
    }
    int flags = 0;
    for (int n = 0; n < operands_sized; ++n) {
        flags |= record.operand(n).size_flags;
    }
    // In a port instruction the word-sized port register gives no letter beside another size.
    if ((record.line_flags & LINE_PORT_IO) != 0 && flags != SIZE_WORD) {
        flags &= ~SIZE_WORD;
    }
    return flags;
}

} // namespace

void assemble_line(const line_record& record, std::string& out)
{
    if (record.label.empty() && record.mnemonic.empty()) {
        out += record.comment;
        return;
    }
    out += record.label;
    out += '\t';
    out += record.mnemonic;
    const int flags = size_letter_flags(record);
    for (const size_letter& row : size_letters) {
        if ((flags & row.flag) != 0) {
            out += row.letter;
        }
    }
    out += '\t';
    append_operands(record, out);
    if (!record.comment.empty()) {
        out += '\t';
        out += record.comment;
    }
}

} // namespace dravent
