// split_line: how a line is cut into label, mnemonic, operands and comment.
#include "line/split_line.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace dravent {
namespace {

struct split_case {
    std::string line;
    std::string label;
    std::string mnemonic;
    std::vector<std::string> operands;
    std::string comment;
};

std::vector<std::string> operand_texts(const line_record& record)
{
    std::vector<std::string> texts;
    for (int n = 0; n < record.count; ++n) {
        texts.push_back(record.operand(n).text);
    }
    return texts;
}

TEST(split_line, cuts_lines_by_position)
{
    const std::vector<split_case> cases = {
        {"", "", "", {}, ""},
        {" \t ", "", "", {}, ""},
        {"start:", "start:", "", {}, ""},
        {"start:   ", "start:", "", {}, ""},
        {"\tret;done", "", "ret", {}, "#done"},
        {"\tret ; done", "", "ret", {}, "# done"},
        {"; note", "", "", {}, "# note"},
        {"\t; note", "", "", {}, "# note"},
        {"; a ; b", "", "", {}, "# a ; b"},
        {"label;c", "label", "", {}, "#c"},
        // A statement in the first column is taken for a label.
        {"mov ax,bx", "mov", "ax,bx", {}, ""},
        {"\tmov ax , bx ; c", "", "mov", {"ax ", "bx "}, "# c"},
        {"\tmov\tax, [bx+si+4]\t; load", "", "mov", {"ax", "[bx+si+4]\t"}, "# load"},
        // Commas: only between operands are they separators.
        {"\tpush ,ax", "", "push", {"", "ax"}, ""},
        {"\tpush, ax", "", "push,", {"ax"}, ""},
        {"\tpush ax,,bx,", "", "push", {"ax", "bx"}, ""},
        {"\tpush ax , , bx", "", "push", {"ax ", "bx"}, ""},
        // No quoting: ";" and "," inside quotes cut like anywhere else.
        {"\tdb 'a;b',0", "", "db", {"'a"}, "#b',0"},
        {"\tdb 'a,b'", "", "db", {"'a", "b'"}, ""},
        // White space that is not a blank ends no label but begins the mnemonic.
        {"\vfoo x", "", "\vfoo", {"x"}, ""},
        {"\fx", "", "\fx", {}, ""},
        {"msg db 1,2 ;; two", "msg", "db", {"1", "2 "}, "#; two"},
    };
    for (const split_case& c : cases) {
        line_record record;
        split_line(c.line, record);
        SCOPED_TRACE("line: \"" + c.line + "\"");
        EXPECT_EQ(record.label, c.label);
        EXPECT_EQ(record.mnemonic, c.mnemonic);
        EXPECT_EQ(operand_texts(record), c.operands);
        EXPECT_EQ(record.comment, c.comment);
        EXPECT_EQ(record.line_flags, 0);
    }
}

TEST(split_line, keeps_every_operand_and_the_comment_after_them)
{
    std::string line = "\tdb ";
    std::vector<std::string> expected;
    for (int n = 1; n <= 40; ++n) {
        line += std::to_string(n) + (n < 40 ? "," : " ; forty");
        expected.push_back(std::to_string(n) + (n < 40 ? "" : " "));
    }
    line_record record;
    split_line(line, record);
    EXPECT_EQ(record.count, 40);
    EXPECT_EQ(operand_texts(record), expected);
    EXPECT_EQ(record.comment, "# forty");
}

TEST(split_line, treats_nul_as_an_ordinary_character)
{
    const std::string line("\tmov a\0x, b\0 ;c\0d", 17);
    line_record record;
    split_line(line, record);
    EXPECT_EQ(operand_texts(record), (std::vector<std::string>{std::string("a\0x", 3), std::string("b\0 ", 3)}));
    EXPECT_EQ(record.comment, std::string("#c\0d", 4));
}

TEST(split_line, reused_record_keeps_nothing_from_the_line_before)
{
    line_record record;
    split_line("lbl\tmov ax, bx, cx ; one", record);
    record.operand(2).size_flags = SIZE_WORD;
    record.line_flags = LINE_DATA;
    record.clear();
    split_line("\tpush dx", record);
    EXPECT_EQ(record.label, "");
    EXPECT_EQ(record.mnemonic, "push");
    EXPECT_EQ(operand_texts(record), (std::vector<std::string>{"dx"}));
    EXPECT_EQ(record.comment, "");
    EXPECT_EQ(record.line_flags, 0);
    record.clear();
    split_line("\tx a, b, c", record);
    EXPECT_EQ(record.operand(2).size_flags, 0);
}

} // namespace
} // namespace dravent
