// convert_statement: the line flags that a line's statement gives it.
#include "statement/convert_statement.hpp"

#include "line/split_line.hpp"

#include <gtest/gtest.h>

#include <string>

namespace dravent {
namespace {

int line_flags_after_conversion(const std::string& line)
{
    line_record record;
    split_line(line, record);
    convert_statement(record);
    return record.line_flags;
}

TEST(convert_statement, sets_the_line_flags)
{
    const struct {
        std::string line;
        int flags;
    } cases[] = {
        {"msg db 5", LINE_DATA},
        {"\tDW 1", LINE_DATA},
        {"\tdd 1", LINE_DATA},
        {"\tdq 1", LINE_DATA},
        {"\t.byte 1", LINE_DATA},
        {"x = 5", LINE_DATA},
        {"\tdt 1.5", 0},
        {"\tpublic main", LINE_DATA},
        {"\talign 4", LINE_DATA},
        {"public main", 0},
        // A line that equ or textequ rewrote is a data line; a name beginning with j adds the jump flag.
        {"x equ 5", LINE_DATA},
        {"jv equ 5", LINE_DATA | LINE_JUMP},
        {"msg textequ <a>", LINE_DATA},
        {"\tin al, dx", LINE_PORT_IO},
        {"\tOUT dx, al", LINE_PORT_IO},
        {"\tinc ax", 0},
        {"\toutsd", 0},
        {"\tjmp x", LINE_JUMP},
        {"\tJnz x", LINE_JUMP},
        {"\tcall x", LINE_JUMP},
        {"\tCALL x", LINE_JUMP},
        {"\tloop x", LINE_JUMP},
        {"\tloope x", LINE_JUMP},
        {"\tloopne x", LINE_JUMP},
        {"\tloopz x", LINE_JUMP},
        {"\tLOOPNZ x", LINE_JUMP},
        {"\tcalls x", 0},
        {"\tlea di, x", LINE_ADDRESS},
        {"\tLDS si, p", LINE_ADDRESS},
        {"\tles di, p", LINE_ADDRESS},
        {"\tlfs di, p", LINE_ADDRESS},
        {"\tlgs di, p", LINE_ADDRESS},
        {"\tlss sp, p", LINE_ADDRESS},
        {"\tshl ax, cl", LINE_SHIFT},
        {"\tSHRD eax, ebx, cl", LINE_SHIFT},
        {"\tmodel small", 0},
        {"\tmov ax, bx", 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(line_flags_after_conversion(c.line), c.flags) << c.line;
    }
}

} // namespace
} // namespace dravent
