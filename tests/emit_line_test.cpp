// emit_line: column layout, statements on one line and line endings, on lines built by hand.
#include "emit/emit_line.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace dravent {
namespace {

struct statement_parts {
    std::string_view mnemonic;
    std::string_view size_letters;
    std::vector<std::string_view> operands;  // in output order
    std::string_view prefix = {};
};

converted_line make_line(std::string_view label, std::vector<statement_parts> statements, bool has_comment = false,
                         std::string_view comment = {})
{
    converted_line line;
    line.label = label;
    for (const statement_parts& parts : statements) {
        statement& s = line.statements.emplace_back();
        s.prefix = parts.prefix;
        s.mnemonic = parts.mnemonic;
        s.size_letters = parts.size_letters;
        s.first_operand = static_cast<std::uint32_t>(line.operands.size());
        s.operand_count = static_cast<std::uint32_t>(parts.operands.size());
        for (const std::string_view operand : parts.operands) {
            line.operands.push_back(operand);
        }
    }
    line.has_comment = has_comment;
    line.comment = comment;
    return line;
}

std::string emitted(const converted_line& line)
{
    std::string out = "previous line\n";
    emit_line(line, out);
    EXPECT_EQ(out.substr(0, 14), "previous line\n") << "the line is appended";
    return out.substr(14);
}

TEST(emit_line, writes_columns)
{
    EXPECT_EQ(emitted(make_line("", {{"mov", "w", {"4(%bx,%si)", "%ax"}}}, true, " load")),
              "\tmovw\t4(%bx,%si),%ax\t# load\n");
    EXPECT_EQ(emitted(make_line("start:", {})), "start:\t\t\n");
    EXPECT_EQ(emitted(make_line("", {{"ret", "", {}}})), "\tret\t\n");
    EXPECT_EQ(emitted(make_line("", {{"ret", "", {}}}, true, "done")), "\tret\t\t#done\n");
    EXPECT_EQ(emitted(make_line("label", {}, true, "c")), "label\t\t\t#c\n");
    EXPECT_EQ(emitted(make_line("", {}, true, " note")), "# note\n");
    EXPECT_EQ(emitted(make_line("", {}, true, "")), "#\n");
    EXPECT_EQ(emitted(make_line("", {})), "\n");
    EXPECT_EQ(emitted(make_line("", {{"push", "", {"ax", ""}}})), "\tpush\tax,\n");
    EXPECT_EQ(emitted(make_line("msg:", {{".byte", "", {"1", "2"}}})), "msg:\t.byte\t1,2\n");
}

TEST(emit_line, writes_a_colon_after_a_label_that_asks_for_one)
{
    converted_line line = make_line("msg", {{".byte", "", {"5"}}});
    line.label_colon = true;
    EXPECT_EQ(emitted(line), "msg:\t.byte\t5\n");
}

TEST(emit_line, writes_every_operand_of_a_long_list)
{
    std::vector<std::string> texts;
    std::string joined;
    for (int n = 1; n <= 40; ++n) {
        texts.push_back(std::to_string(n));
        joined += (n > 1 ? "," : "") + texts.back();
    }
    const std::vector<std::string_view> operands(texts.begin(), texts.end());
    EXPECT_EQ(emitted(make_line("", {{"x", "", operands}})), "\tx\t" + joined + "\n");
}

TEST(emit_line, joins_statements_on_one_line)
{
    EXPECT_EQ(emitted(make_line("msg:", {{".ascii", "", {"\"Hello\""}}, {".byte", "", {"13", "10"}},
                                         {".ascii", "", {"\"$\""}}})),
              "msg:\t.ascii\t\"Hello\"; .byte 13,10; .ascii \"$\"\n");
    EXPECT_EQ(emitted(make_line("", {{"push", "w", {"%ax"}}, {"push", "w", {"%bx"}}}, true, " save")),
              "\tpushw\t%ax; pushw %bx\t# save\n");
    EXPECT_EQ(emitted(make_line("", {{"movs", "b", {}, "rep"}, {"nop", "", {}}})), "\trep movsb\t; nop\n");
}

TEST(emit_line, ends_with_the_source_line_ending)
{
    converted_line line = make_line("", {{"ret", "", {}}});
    line.ending = "\r\n";
    EXPECT_EQ(emitted(line), "\tret\t\r\n");
    converted_line comment_only = make_line("", {}, true, " c");
    comment_only.ending = "\r\n";
    EXPECT_EQ(emitted(comment_only), "# c\r\n");
}

TEST(emit_line, reads_owned_pieces_from_the_line_buffer)
{
    converted_line line;
    line.text.assign("x,%ax");
    line.label = std::string_view(".equ");
    statement& s = line.statements.emplace_back();
    s.mnemonic = piece::in_buffer(0, 2);
    s.operand_count = 1;
    line.operands.push_back(piece::in_buffer(2, 5));
    EXPECT_EQ(emitted(line), ".equ\tx,\t%ax\n");
}

} // namespace
} // namespace dravent
