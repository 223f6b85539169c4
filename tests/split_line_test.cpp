// split_line: how a line is cut into label, mnemonic, operands and comment.
#include "source/split_line.hpp"

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

std::vector<std::string> operand_texts(const source_line& line)
{
    return {line.operands.begin(), line.operands.end()};
}

// The comment as it is written out: "#" and what followed the ";", or nothing.
std::string written_comment(const source_line& line)
{
    std::string written;
    if (line.has_comment) {
        written.append("#").append(line.comment);
    }
    return written;
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
        // A word in the first column is a label, unless it names an instruction and an operand
        // follows it (a jump's target too: jmp fx_ptr may go through a variable); alone, or a
        // prefix before a bare instruction, it keeps the label's place.
        {"mov ax,bx", "", "mov", {"ax", "bx"}, ""},
        {"mul cx ; c", "", "mul", {"cx "}, "# c"},
        {"MOVZX ax, bl", "", "MOVZX", {"ax", "bl"}, ""},
        {"nop", "nop", "", {}, ""},
        {"cbw ; c", "cbw", "", {}, "# c"},
        {"rep movsb", "rep", "movsb", {}, ""},
        {"rep stosd", "", "rep", {"stosd"}, ""},
        {"rep movs byte ptr [di], [si]", "", "rep", {"movs byte ptr [di]", "[si]"}, ""},
        {"start: mov ax, bx", "start:", "mov", {"ax", "bx"}, ""},
        {"mov: nop", "mov:", "nop", {}, ""},
        {"jmp next", "", "jmp", {"next"}, ""},
        {"JZ done ; c", "", "JZ", {"done "}, "# c"},
        {"jmp ax", "", "jmp", {"ax"}, ""},
        {"jmp word ptr [bx]", "", "jmp", {"word ptr [bx]"}, ""},
        // ... and a word before a declaring directive names what it declares, in any column
        {"out dw 5", "out", "dw", {"5"}, ""},
        {"count dw 0", "count", "dw", {"0"}, ""},
        {"\tcount dw 0", "count", "dw", {"0"}, ""},
        {"   x = 5", "x", "=", {"5"}, ""},
        {"\tsize EQU 4 ; c", "size", "EQU", {"4 "}, "# c"},
        {"\tmain endp", "main", "endp", {}, ""},
        {"\tpush dw", "", "push", {"dw"}, ""},
        {"\tdw 5", "", "dw", {"5"}, ""},
        {"\tmov ax , bx ; c", "", "mov", {"ax ", "bx "}, "# c"},
        {"\tmov\tax, [bx+si+4]\t; load", "", "mov", {"ax", "[bx+si+4]\t"}, "# load"},
        // Commas: only between operands are they separators.
        {"\tpush ,ax", "", "push", {"", "ax"}, ""},
        {"\tpush, ax", "", "push,", {"ax"}, ""},
        {"\tpush ax,,bx,", "", "push", {"ax", "bx"}, ""},
        {"\tpush ax , , bx", "", "push", {"ax ", "bx"}, ""},
        // No quoting: ";" and "," inside quotes cut like anywhere else.
        // ";" and "," inside quotes belong to the operand; a doubled quote stands for itself, and a
        // quote left open runs to the end of the line
        {"\tdb 'a;b',0", "", "db", {"'a;b'", "0"}, ""},
        {"\tdb 'a,b'", "", "db", {"'a,b'"}, ""},
        {"\tdb \"a;b\" ;c", "", "db", {"\"a;b\" "}, "#c"},
        {"\tdb 'it''s; ok', 1 ; c", "", "db", {"'it''s; ok'", "1 "}, "# c"},
        {"\tcmp al, ';'", "", "cmp", {"al", "';'"}, ""},
        {"\tdb 'open; no comment", "", "db", {"'open; no comment"}, ""},
        {"\tdb \"'\", ';'", "", "db", {"\"'\"", "';'"}, ""},
        // White space that is not a blank ends no label but begins the mnemonic.
        {"\vfoo x", "", "\vfoo", {"x"}, ""},
        {"\fx", "", "\fx", {}, ""},
        {"msg db 1,2 ;; two", "msg", "db", {"1", "2 "}, "#; two"},
    };
    // Alone, and inside a block whose next lines hold every byte that ends a word or an operand:
    // what may be read past the line's end is never taken for part of it.
    const std::string next_lines = "\n;,'\" \t;,'\"\t x;,\n";
    for (const split_case& c : cases) {
        const std::string block = c.line + next_lines;
        for (const char* readable_end : {c.line.data() + c.line.size(), block.data() + block.size()}) {
            source_line line;
            const std::string_view text = readable_end == c.line.data() + c.line.size() ? std::string_view(c.line)
                                                                                        : std::string_view(block).substr(0, c.line.size());
            split_line(text, readable_end, line);
            SCOPED_TRACE("line: \"" + c.line + "\", in a block: " + std::to_string(text.data() == block.data()));
            EXPECT_EQ(line.label, c.label);
            EXPECT_EQ(line.mnemonic, c.mnemonic);
            EXPECT_EQ(operand_texts(line), c.operands);
            EXPECT_EQ(written_comment(line), c.comment);
            EXPECT_EQ(line.ending, "\n");
        }
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
    source_line split;
    split_line(line, split);
    EXPECT_EQ(split.operands.size(), 40U);
    EXPECT_EQ(operand_texts(split), expected);
    EXPECT_EQ(written_comment(split), "# forty");
}

TEST(split_line, treats_nul_as_an_ordinary_character)
{
    const std::string line("\tmov a\0x, b\0 ;c\0d", 17);
    source_line split;
    split_line(line, split);
    EXPECT_EQ(operand_texts(split), (std::vector<std::string>{std::string("a\0x", 3), std::string("b\0 ", 3)}));
    EXPECT_EQ(written_comment(split), std::string("#c\0d", 4));
}

TEST(split_line, reused_line_keeps_nothing_from_the_line_before)
{
    source_line line;
    split_line("lbl\tmov ax, bx, cx ; one\r", line);
    EXPECT_EQ(line.ending, "\r\n");
    split_line("\tpush dx", line);
    EXPECT_EQ(line.label, "");
    EXPECT_EQ(line.mnemonic, "push");
    EXPECT_EQ(operand_texts(line), (std::vector<std::string>{"dx"}));
    EXPECT_FALSE(line.has_comment);
    EXPECT_EQ(line.ending, "\n");
}

TEST(split_line, takes_a_final_carriage_return_into_the_ending)
{
    source_line line;
    split_line("\tmov ax, bx\r", line);
    EXPECT_EQ(operand_texts(line), (std::vector<std::string>{"ax", "bx"}));
    EXPECT_EQ(line.ending, "\r\n");
    // Only the last one: a carriage return inside the line is an ordinary character.
    split_line("\tmov ax\r, bx\r\r", line);
    EXPECT_EQ(operand_texts(line), (std::vector<std::string>{"ax\r", "bx\r"}));
    EXPECT_EQ(line.ending, "\r\n");
}

TEST(split_line, views_the_whole_line_without_its_ending)
{
    source_line line;
    const std::string_view text = "msg db 'a;b' ; c\r";
    split_line(text, line);
    EXPECT_EQ(line.text, text.substr(0, text.size() - 1));
    EXPECT_EQ(line.text.data(), text.data());
    split_line("; only a comment", line);
    EXPECT_EQ(line.text, "; only a comment");
    split_line("", line);
    EXPECT_EQ(line.text, "");
}

} // namespace
} // namespace dravent

namespace dravent {
namespace {

// Words are cut eight bytes at a time where eight are left: every length of label and mnemonic,
// ended by each kind of end, and bytes that only look like one (0xA0 is a blank plus 0x80).
TEST(split_line, ends_words_of_any_length_at_the_first_blank_or_semicolon)
{
    for (std::size_t length = 1; length <= 19; ++length) {
        const std::string word = std::string(length - 1, 'w') + "\xA0";
        for (const std::string end : {" ", "\t", ";", ""}) {
            for (const std::string rest : {"", " x", "\tmov ax, bx ; text"}) {
                const std::string text = word + end + (end.empty() ? "" : rest);
                source_line line;
                split_line(text, line);
                EXPECT_EQ(line.label, word) << '"' << text << '"';
                const std::string indented = "\t" + text;
                split_line(indented, line);
                EXPECT_EQ(line.mnemonic, word) << "\"\\t" << text << '"';
            }
        }
    }
}

} // namespace
} // namespace dravent
