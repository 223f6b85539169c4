// convert_operand and write_expression on single operand texts.
#include "convert/convert_operand.hpp"
#include "convert/write_expression.hpp"
#include "vocabulary/flags.hpp"

#include <gtest/gtest.h>

#include <string>

namespace dravent {
namespace {

constexpr int ordinary = 0;

struct converted_operand {
    std::string text;
    int size_flags;
};

converted_operand convert(const std::string& text, int line_flags)
{
    text_buffer out;
    conversion_workspace scratch;
    const int size_flags = convert_operand(text, line_flags, conversion_context{}, out, scratch).size_flags;
    return {std::string(out.view()), size_flags};
}

struct operand_case {
    std::string text;
    int line_flags;
    std::string expected;
    int size_flags;
};

TEST(convert_operand, picks_the_first_treatment_that_applies)
{
    const operand_case cases[] = {
        // registers get "%" and their size on every kind of line; the token ends at a blank
        {"ax", ordinary, "%ax", SIZE_WORD},
        {"AX", ordinary, "%AX", SIZE_WORD},
        {"eax", LINE_DATA, "%eax", SIZE_DWORD},
        {"cl", LINE_JUMP, "%cl", SIZE_BYTE},
        {"cr0", ordinary, "%cr0", SIZE_DWORD},
        {"ax ", ordinary, "%ax", SIZE_WORD},
        {"ax 1", ordinary, "%ax 1", SIZE_WORD},
        // a register that is not the whole operand keeps its "%" in the expression, where GNU As
        // rejects it rather than read a symbol
        {"ax:", ordinary, "$%ax:", 0},
        {"ax+1", ordinary, "$%ax+1", 0},
        {"ax\r", ordinary, "$%ax\r", 0},
        // segment registers get "%" but name no size
        {"es", ordinary, "%es", 0},
        {"SS", ordinary, "%SS", 0},
        {"ds", LINE_DATA, "%ds", 0},
        // a segment override makes a memory operand, brackets or not
        {"es:x", ordinary, "%es:x", 0},
        {"es: x+2", ordinary, "%es:x+2", 0},
        // immediates, except on data and jump lines
        {"5", ordinary, "$5", 0},
        {"5", LINE_DATA, "5", 0},
        {"5", LINE_JUMP, "5", 0},
        {"", ordinary, "$", 0},
        {"", LINE_DATA, "", 0},
        {"", LINE_JUMP, "", 0},
        {"0FFh", ordinary, "$0x0FF", 0},
        {"1 + 2 ", ordinary, "$1 + 2", 0},
        // strings are no numbers to rewrite: on a data line they stay, in an instruction two to
        // four characters are one number
        {"'10h'", LINE_DATA, "'10h'", 0},
        {"'10h'", ordinary, "$0x313068", 0},
        // so does a size keyword
        {"byte ptr var", ordinary, "var", SIZE_BYTE},
        {"WORD PTR cs:x+2", ordinary, "%cs:x+2", SIZE_WORD},
        {"dword x", ordinary, "x", SIZE_DWORD},
        // address operands of lea and the far-pointer loads get no "$"
        {"Results", LINE_ADDRESS, "Results", 0},
        {"offset x", LINE_ADDRESS, "$x", 0},
        // offset: an immediate address, except on data lines
        {"offset msg", ordinary, "$msg", 0},
        {"offset msg", LINE_JUMP, "$msg", 0},
        {"OFFSET msg", LINE_DATA, "msg", 0},
        {"offset\t \tmsg", ordinary, "$msg", 0},
        {"offset 10h", ordinary, "$0x10", 0},
        {"offset ax", ordinary, "$%ax", 0},
        {"offset ", ordinary, "$", 0},
        {"offset ", LINE_DATA, "", 0},
        {"offset", ordinary, "$offset", 0},
        // "offset" is a Tasm operator also without a blank after it: the offset of +4 is 4
        {"offset+4", ordinary, "$+4", 0},
        {"offset", LINE_JUMP, "offset", 0},
        {"offset+4", LINE_DATA, "+4", 0},
        // short: dropped on jump lines only, and what follows it is not looked up
        {"short x", LINE_JUMP, "x", 0},
        {"SHORT  @@1", LINE_JUMP, "@@1", 0},
        {"label", LINE_JUMP, "label", 0},
        {"short", LINE_JUMP, "short", 0},
        {"shortcut", LINE_JUMP, "shortcut", 0},
        {"short ax", LINE_JUMP, "%ax", 0},
        {"short x", ordinary, "$short x", 0},
        {"short x", LINE_DATA, "short x", 0},
    };
    for (const operand_case& c : cases) {
        const converted_operand slot = convert(c.text, c.line_flags);
        EXPECT_EQ(slot.text, c.expected) << "\"" << c.text << "\" with line flags " << c.line_flags;
        EXPECT_EQ(slot.size_flags, c.size_flags) << "\"" << c.text << "\" with line flags " << c.line_flags;
    }
}

TEST(convert_operand, only_appends_to_the_output)
{
    text_buffer out;
    conversion_workspace scratch;
    out.assign("%eax,");
    EXPECT_EQ(convert_operand("bl ", ordinary, conversion_context{}, out, scratch).size_flags, SIZE_BYTE);
    EXPECT_EQ(out.view(), "%eax,%bl");
    // Trailing blanks go from the operand, never from what stood before it.
    out.assign("x\t");
    convert_operand("", LINE_DATA, conversion_context{}, out, scratch);
    EXPECT_EQ(out.view(), "x\t");
}

TEST(convert_operand, grows_long_operands_without_limit)
{
    std::string text;
    std::string expected = "$";
    for (int n = 0; n < 200; ++n) {
        text += "1h+";
        expected += "0x1+";
    }
    EXPECT_EQ(convert(text + "2", ordinary).text, expected + "2");
}

TEST(write_single_token, writes_and_leaves_what_write_expression_does_with_the_token_alone)
{
    for (const std::string text : {"@_", "_", "@", "@data", "@@next", "$", "?", "seg", "name", "0FFh", "010", "1010b",
                                   "12x", "1.5", "'a'", "'ab'", "'abcde'", "''", "'open", "+", "("}) {
        for (const string_meaning strings : {string_meaning::number, string_meaning::characters}) {
            expression_workspace work;
            token t;
            ASSERT_TRUE(tokenizer(text).next(t));
            ASSERT_EQ(t.text, text);
            text_buffer from_token;
            text_buffer from_text;
            EXPECT_EQ(write_single_token(t, from_token, work, strings), write_expression(text, from_text, work, strings))
                << text;
            EXPECT_EQ(from_token.view(), from_text.view()) << text;
        }
    }
}

TEST(write_expression, rewrites_suffixed_numbers_and_leaves_names_alone)
{
    const std::pair<std::string, std::string> cases[] = {
        {"0FFh", "0x0FF"},
        {"0ffH", "0x0ff"},
        {"0101b", "0B0101"},
        {"0101B", "0B0101"},
        // h is tested before b
        {"0FBh", "0x0FB"},
        {"1bh", "0x1b"},
        // digits are not checked against the radix
        // a suffix that its digits do not fit makes no number: it is written as it stands
        {"12b", "12b"},
        {"0FFy", "0FFy"},
        {"0b", "0B0"},
        // no suffix, or a run that swallows its letters
        {"10", "10"},
        // o and q octal, d and t decimal, y binary; a decimal number loses the leading zeros that
        // would make GNU As read it as octal
        {"10d", "10"},
        {"17o", "017"},
        {"777Q", "0777"},
        {"99T", "99"},
        {"101y", "0B101"},
        {"010", "10"},
        {"0", "0"},
        {"000", "0"},
        {"0FFH", "0x0FF"},
        {"1e", "1e"},
        // a number must begin with a decimal digit
        {"FFh", "FFh"},
        {"0x10", "0x10"},
        {"0B101", "0B101"},
        // digits after a letter, "@" or "_" belong to a name, with the whole run and its suffix
        {"table1", "table1"},
        {"@@1", "@@1"},
        {"x_1b", "x_1b"},
        {"loc_10h", "loc_10h"},
        {"A1h", "A1h"},
        {"%cr0", "%cr0"},
        {"%dr7", "%dr7"},
        {"ab12cdh", "ab12cdh"},
        // other characters end a name
        {"x+1h", "x+0x1"},
        // "$" and "?" belong to names; alone they are the location counter and an unknown value
        {"$0FFh", "$0FFh"},
        {"a$1h", "a$1h"},
        {"$+2", ".+2"},
        {"$ - msg", ". - msg"},
        {"?", "0"},
        {"table1+2h", "table1+0x2"},
        {"10h+101b", "0x10+0B101"},
        {"-2Bh(%bp)", "-0x2B(%bp)"},
        {"4*8h", "4*0x8"},
        // quotes: one character is a character constant, two to four one number
        {"'10h'", "0x313068"},
        {R"("x")", "'x'"},
        {"';'", "';'"},
        {R"('\')", R"('\\')"},
        {"''''", R"('\'')"},
        {R"("'")", R"('\'')"},
        {"'AB'", "0x4142"},
        {R"("AB")", "0x4142"},
        {"'it''s'", "0x69742773"},
        {"'\t'", "0x09"},
        {"'Hello'", "'Hello'"},
        {R"("Hello")", "'Hello'"},
        {"'open", "'open"},
        {"1.5", "1.5"},
        {"2.5e10", "2.5e10"},
        // scanning goes on right after a rewritten number, where no name test is made
        {"1h2h", "1h2h"},
        {"1hx2h", "1hx2h"},
        {"", ""},
    };
    for (const auto& [text, expected] : cases) {
        text_buffer converted;
        write_expression(text, converted);
        EXPECT_EQ(converted.view(), expected) << text;
    }
}

TEST(write_expression, writes_tasm_operators_as_gnu_as_groups_them)
{
    const std::pair<std::string, std::string> cases[] = {
        // or, and, xor bind looser than + in Tasm and tighter in GNU As
        {"2 + 3 or 4", "(2 + 3) | 4"},
        {"2 or 3 + 4", "2 | (3 + 4)"},
        {"a and b or c", "a & b | c"},
        {"a or b and c", "a | (b & c)"},
        {"a xor b", "a ^ b"},
        {"FLAG_A or FLAG_B", "FLAG_A | FLAG_B"},
        // shifts and mod bind like * in both
        {"1 shl 5 - 1", "1 << 5 - 1"},
        {"x shr 4 and 0Fh", "x >> 4 & 0x0F"},
        {"a mod 8", "a % 8"},
        {"(a + b) shl 2", "(a + b) << 2"},
        {"a + b shl 2", "a + b << 2"},
        // not covers a whole sum
        {"not 20h", "~ 0x20"},
        {"not a + b", "~(a + b)"},
        {"not a and b", "~ a & b"},
        {"NOT(a)", "~(a)"},
        // comparisons give -1 or 0; eq, le and ge are negations, as instruction operands accept no "="
        {"a eq b", "~(a <> b)"},
        {"a ne b", "a <> b"},
        {"a lt b", "a < b"},
        {"a gt b", "a > b"},
        {"a le b", "~(a > b)"},
        {"a ge b", "~(a < b)"},
        {"a eq b + c", "~(a <> (b + c))"},
        {"a + b eq c", "~(a + b <> c)"},
        {"(a eq 1) and (b ne 2)", "(~(a <> 1)) & (b <> 2)"},
        // high and low
        {"high 1234h", "((0x1234) >> 8 & 0xFF)"},
        {"low x", "((x) & 0xFF)"},
        {"high (a + 1)", "(((a + 1)) >> 8 & 0xFF)"},
        {"high TIMEOUT + 1", "((TIMEOUT) >> 8 & 0xFF) + 1"},
        // signs bind tighter than *
        {"-a * b", "-a * b"},
        {"- 2 or 1", "- 2 | 1"},
        // offset inside an expression is the address
        {"offset a + 2 or 1", "(a + 2) | 1"},
        // spacing stays, case does not matter
        {"  a  OR  b  ", "  a  |  b  "},
        {"a Shl 2", "a << 2"},
        // what no expression reads stays as written, its operator words too, for GNU As to reject
        {"a or", "a or"},
        {"(a or b", "(a or b"},
        {"seg x or 1", "seg x or 1"},
        {"es:x or 1", "es:x or 1"},
        {"or", "or"},
    };
    for (const auto& [text, expected] : cases) {
        text_buffer converted;
        write_expression(text, converted);
        EXPECT_EQ(converted.view(), expected) << text;
    }
}

TEST(write_expression, survives_deep_nesting)
{
    const std::string deep = std::string(100000, '(') + "a or b" + std::string(100000, ')');
    text_buffer converted;
    write_expression(deep, converted);
    EXPECT_EQ(converted.view(), deep) << "too deep to regroup: written as it stands";
    const std::string nots = [] {
        std::string text;
        for (int n = 0; n < 100000; ++n) {
            text += "not ";
        }
        return text + "1";
    }();
    converted.clear();
    write_expression(nots, converted);
    EXPECT_EQ(converted.view(), nots);
}

} // namespace
} // namespace dravent
