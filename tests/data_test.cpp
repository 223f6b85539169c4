// Data lists taken apart (parse_data_list, find_comment), and the one piece of state that passes
// from a line to the next: the data definition a list that ends in a comma leaves open.
#include "convert/data_list.hpp"
#include "declarations/collect_declarations.hpp"
#include "driver/line_converter.hpp"

#include <gtest/gtest.h>

#include <string>
#include <span>
#include <tuple>
#include <utility>
#include <vector>

namespace dravent {
namespace {

// The items of a list as "kind:text" strings; a repeat_begin also shows where its end is.
std::vector<std::string> items_of(std::string_view text, bool* open = nullptr)
{
    data_list list;
    parse_data_list(text, list);
    std::vector<std::string> shown;
    for (const data_item& item : list.items) {
        const char* kinds[] = {"value", "string", "real", "repeat", "end"};
        std::string entry = std::string(kinds[static_cast<int>(item.kind)]) + ":" + std::string(item.text);
        if (item.kind == data_item_kind::repeat_begin) {
            entry += '@';
            entry += std::to_string(item.end);
        }
        shown.push_back(entry);
    }
    if (open != nullptr) {
        *open = list.open;
    }
    return shown;
}

using items = std::vector<std::string>;

TEST(parse_data_list, splits_at_commas_outside_quotes_and_parentheses)
{
    EXPECT_EQ(items_of("'a,b', (1, 2), \"c;d\""), (items{"string:'a,b'", "value:(1, 2)", "string:\"c;d\""}));
    // Blanks before an item go; a value keeps those after it, as the operand splitter does.
    EXPECT_EQ(items_of("  1 ,2  "), (items{"value:1 ", "value:2  "}));
    // Empty items are skipped, as runs of separators are between operands.
    EXPECT_EQ(items_of("1,, ,2"), (items{"value:1", "value:2"}));
}

TEST(parse_data_list, tells_strings_reals_and_values_apart)
{
    EXPECT_EQ(items_of("'Hello', 'H', '''', '', 'open"),
              (items{"string:'Hello'", "value:'H'", "value:''''", "string:''", "string:'open"}));
    EXPECT_EQ(items_of("1.5, -2.5, + 3.0e2, 1.5 + 1, ?, 0FFh"),
              (items{"real:1.5", "real:-2.5", "real:+ 3.0e2", "value:1.5 + 1", "value:?", "value:0FFh"}));
}

TEST(parse_data_list, parses_dup_groups_with_their_ends)
{
    EXPECT_EQ(items_of("10 dup (?)"), (items{"repeat:10@2", "value:?", "end:)"}));
    EXPECT_EQ(items_of("2 DUP(3 dup (32, 212), -40), 1"),
              (items{"repeat:2@6", "repeat:3@4", "value:32", "value:212", "end:)", "value:-40", "end:)",
                     "value:1"}));
    EXPECT_EQ(items_of("(2 + 12 * 40) dup ('ab')"), (items{"repeat:(2 + 12 * 40)@2", "string:'ab'", "end:)"}));
}

TEST(parse_data_list, reads_a_dup_of_another_shape_as_a_value)
{
    EXPECT_EQ(items_of("dup (1)"), (items{"value:dup (1)"}));
    EXPECT_EQ(items_of("5 dup 1"), (items{"value:5 dup 1"}));
    EXPECT_EQ(items_of("5 dup (1) + 2"), (items{"value:5 dup (1) + 2"}));
    EXPECT_EQ(items_of("5 dup ()"), (items{"value:5 dup ()"}));
    EXPECT_EQ(items_of("5 dup (1"), (items{"value:5 dup (1"}));
    // Nesting deeper than any data needs stays a value at the depth where it stops.
    std::string deep;
    for (int n = 0; n < 100; ++n) {
        deep += "2 dup (";
    }
    deep += "1" + std::string(100, ')');
    const items parsed = items_of(deep);
    ASSERT_FALSE(parsed.empty());
    EXPECT_EQ(parsed.size(), 64 * 2 + 1);
    EXPECT_EQ(parsed[64].rfind("value:2 dup (", 0), 0u);
}

TEST(parse_data_list, is_open_when_it_ends_in_a_comma_outside_quotes_and_parentheses)
{
    bool open = false;
    items_of("1, 2,", &open);
    EXPECT_TRUE(open);
    items_of("1, 2,  ", &open);
    EXPECT_TRUE(open);
    items_of("1, 2", &open);
    EXPECT_FALSE(open);
    items_of("'a,', 'b,'", &open);
    EXPECT_FALSE(open);
    items_of("'open,", &open);
    EXPECT_FALSE(open);
    items_of("2 dup (1,)", &open);
    EXPECT_FALSE(open);
    items_of(",", &open);
    EXPECT_TRUE(open);
    items_of("", &open);
    EXPECT_FALSE(open);
}

TEST(find_comment, finds_the_first_semicolon_outside_quotes)
{
    const std::string_view line = "x db 'a;b', \";\" ; c ; d";
    EXPECT_EQ(find_comment(line, 0), line.find(" ; c") + 1);
    EXPECT_EQ(find_comment("db 'a;b", 0), 7u);
    EXPECT_EQ(find_comment("; all", 0), 0u);
    EXPECT_EQ(find_comment("db 1 ; c", 5), 5u);
}

std::string convert(line_converter& converter, const std::string& line)
{
    std::string out;
    converter.convert(line, out);
    out.pop_back();
    return out;
}

TEST(line_converter, carries_an_open_data_definition_to_the_next_line_only)
{
    line_converter converter;
    EXPECT_EQ(convert(converter, "t\tdw 1, 2,"), "t:\t.short\t1,2");
    EXPECT_EQ(converter.open_data(), data_directive::dw);
    // A blank or comment line keeps it open; the line that goes on takes the same directive.
    EXPECT_EQ(convert(converter, "; more"), "# more");
    EXPECT_EQ(converter.open_data(), data_directive::dw);
    EXPECT_EQ(convert(converter, "\t3, 'AB'"), "\t.short\t3,0x4142");
    EXPECT_EQ(converter.open_data(), data_directive::none);
    EXPECT_EQ(convert(converter, "\tmov ax, 3"), "\tmovw\t$3,%ax");
    // A data definition that GNU As has no form for leaves its list open all the same.
    EXPECT_EQ(convert(converter, "\tdt 5,"), "\t.octet\t$5");
    EXPECT_EQ(converter.open_data(), data_directive::dt);
    EXPECT_EQ(convert(converter, "\t6"), "\tdt\t6");
    EXPECT_EQ(converter.open_data(), data_directive::none);
}

TEST(line_converter, starts_from_the_data_definition_it_is_given)
{
    line_converter continued(nullptr, data_directive::db);
    EXPECT_EQ(convert(continued, "\t'Hi', 0 ; end"), "\t.ascii\t\"Hi\"; .byte 0\t# end");
    line_converter fresh;
    EXPECT_EQ(convert(fresh, "\t'Hi', 0 ; end"), "\t'Hi',\t$0\t# end");
}

// An instance lays out each field in its room, a field without a name with its default. Values
// the converter cannot place (past a field without a name) or whose length is not the field's
// (Tasm pads or cuts them in ways it does not know) leave the line as written, with a warning.
TEST(line_converter, lays_out_a_structure_instance_field_by_field)
{
    const std::string structure = "rec struc\n"
                                  "r_name db 'abcd'\n"
                                  "       db ?\n"
                                  "r_val  dw 5\n"
                                  "rec ends\n";
    const std::tuple<std::string, std::string, bool> instances[] = {
        {"a rec <>", "a:\t.ascii\t\"abcd\"; .byte 0; .short 5", false},
        {"b rec <'wxyz'>", "b:\t.ascii\t\"wxyz\"; .byte 0; .short 5", false},
        {"c rec <2 dup ('ab')>", "c:\t.rept\t2; .ascii \"ab\"; .endr; .byte 0; .short 5", false},
        {"d rec <'wxyz', 9>", "d\trec\t<'wxyz', 9>", true},
        {"e rec <'wx'>", "e\trec\t<'wx'>", true},
        {"f rec <'abcdef'>", "f\trec\t<'abcdef'>", true},
    };
    std::string text = structure;
    for (const auto& [line, expected, warned] : instances) {
        text += line + "\n";
    }
    program_declarations program;
    collect_declarations_from_text(text, ".", program);
    line_converter converter(&program);
    for (std::string_view rest = structure; !rest.empty(); rest.remove_prefix(rest.find('\n') + 1)) {
        convert(converter, std::string(rest.substr(0, rest.find('\n'))));
    }
    for (const auto& [line, expected, warned] : instances) {
        EXPECT_EQ(convert(converter, line), expected);
        EXPECT_EQ(converter.warnings().size(), warned ? 1U : 0U) << line;
    }
}

// Each line of a program converted in order with the program's declarations: its output and
// how many warnings it drew.
std::vector<std::pair<std::string, std::size_t>> convert_program(const std::string& text)
{
    program_declarations program;
    collect_declarations_from_text(text, ".", program);
    line_converter converter(&program);
    std::vector<std::pair<std::string, std::size_t>> lines;
    for (std::string_view rest = text; !rest.empty(); rest.remove_prefix(rest.find('\n') + 1)) {
        const std::string converted = convert(converter, std::string(rest.substr(0, rest.find('\n'))));
        lines.emplace_back(converted, converter.warnings().size());
    }
    return lines;
}

// A line of a program after its declaration lines, as converted, and whether it is warned.
using expected_line = std::tuple<std::string, std::string, bool>;

void expect_after(const std::string& declarations, std::span<const expected_line> cases)
{
    std::string text = declarations;
    for (const auto& [line, expected, warned] : cases) {
        text += line + "\n";
    }
    const auto lines = convert_program(text);
    const std::size_t first = lines.size() - cases.size();
    for (std::size_t n = 0; n < cases.size(); ++n) {
        const auto& [line, expected, warned] = cases[n];
        EXPECT_EQ(lines[first + n].first, expected) << line;
        EXPECT_EQ(lines[first + n].second, warned ? 1U : 0U) << line;
    }
}

// A union instance is its first field, with the value given or the field's default, when that
// field fills the union and no other field has a default that could lie over it. Otherwise, and
// for more than one value, what Tasm lays out is not certain: the line stays for a hand.
TEST(line_converter, lays_out_a_union_instance_as_its_first_field)
{
    const std::string declarations = "N equ 1\n"
                                      "u_word union\n"
                                      "uw_w   dw 7\n"
                                      "uw_b   db ?\n"
                                      "u_word ends\n"
                                      "u_short union\n"
                                      "us_b  db 1\n"
                                      "us_w  dw ?\n"
                                      "u_short ends\n"
                                      "u_def union\n"
                                      "ud_w  dw ?\n"
                                      "ud_b  db 5\n"
                                      "u_def ends\n"
                                      "u_dup union\n"
                                      "ux_b  db 4 dup (?)\n"
                                      "ux_w  dw ?, ?\n"
                                      "ux_d  dd N dup (?)\n"
                                      "u_dup ends\n"
                                      "u_dup2 union\n"
                                      "uy_b  db 4 dup (?)\n"
                                      "uy_w  dw 2 dup (?, 1)\n"
                                      "u_dup2 ends\n";
    const expected_line cases[] = {
        {"a u_word <>", "a:\t.short\t7", false},
        {"b u_word <1234h>", "b:\t.short\t0x1234", false},
        {"c u_word 2 dup (<3>)", "c:\t.rept\t2; .short 3; .endr", false},
        {"d u_word <1, 2>", "d\tu_word\t<1, 2>", true},
        {"e u_short <>", "e\tu_short\t<>", true},
        {"f u_def <1>", "f\tu_def\t<1>", true},
        {"g u_word <'abc'>", "g\tu_word\t<'abc'>", true},
        {"h u_dup <'abcd'>", "h:\t.ascii\t\"abcd\"", false},
        {"i u_dup2 <>", "i\tu_dup2\t<>", true},
    };
    expect_after(declarations, cases);
}

// A struc or union inside a structure is not laid out: its line, the fields from it on and the
// structure's instances are left for a hand; a record line there declares nothing.
TEST(line_converter, leaves_a_union_nested_in_a_structure_for_a_hand)
{
    const auto lines = convert_program("msg struc\n"
                                       "m_kind db ?\n"
                                       "  union\n"
                                       "m_w dw ?\n"
                                       "  ends\n"
                                       "m_tail db ?\n"
                                       "m_bits record mb_a:4\n"
                                       "msg ends\n"
                                       "one msg <>\n"
                                       "\tmov al, mask mb_a\n");
    const std::pair<std::string, std::size_t> expected[] = {
        {"", 0},
        {"\t.equ\tm_kind,0; .equ msg.m_kind,0", 0},
        {"\tunion\t", 1},
        {"\t.equ\tm_w,?; .equ msg.m_w,?", 1},
        {"", 0},
        {"\t.equ\tm_tail,?; .equ msg.m_tail,?", 1},
        {"\trecord\t", 1},
        {"", 0},
        {"one\tmsg\t<>", 1},
        {"\tmovb\t$mask mb_a,%al", 1},
    };
    ASSERT_EQ(lines.size(), std::size(expected));
    for (std::size_t n = 0; n < lines.size(); ++n) {
        EXPECT_EQ(lines[n], expected[n]) << "line " << n + 1;
    }
}

// A record instance is one value of the record's size, its fields packed with the values given
// or their defaults. A value that is no number or constant number, one too wide for its field,
// a default that is none, or too many values leave the line for a hand.
TEST(line_converter, packs_a_record_instance_into_one_value)
{
    const std::string declarations = "TWO equ 2\n"
                                      "flags record f_a:3, f_b:5 = TWO\n"
                                      "wide record w_a:9, w_b:7\n"
                                      "odd record o_a:4 = ?, o_b:4\n";
    const expected_line cases[] = {
        {"a flags <1, 2>", "a:\t.byte\t0x22", false},
        {"b flags <>", "b:\t.byte\t0x2", false},
        {"c flags <7, 1Fh>", "c:\t.byte\t0xFF", false},
        {"d flags <TWO>", "d:\t.byte\t0x42", false},
        {"e wide <1, 1>", "e:\t.short\t0x81", false},
        {"f flags 4 dup (<1>)", "f:\t.fill\t4,1,0x22", false},
        {"g odd <1, 2>", "g:\t.byte\t0x12", false},
        {"h flags <8>", "h\tflags\t<8>", true},
        {"i flags <1, 2, 3>", "i\tflags\t<1, 2, 3>", true},
        {"j flags <TWO + 1>", "j\tflags\t<TWO + 1>", true},
        {"k flags <?>", "k\tflags\t<?>", true},
        {"l odd <, 2>", "l\todd\t<, 2>", true},
        {"m flags <-1>", "m\tflags\t<-1>", true},
    };
    expect_after(declarations, cases);
}

// mask and width of a record or of a field of one are numbers; of anything else they stay for a
// hand, as do a record line's field names when one of them names something else.
TEST(line_converter, writes_mask_and_width_of_records_as_numbers)
{
    const std::string declarations = "count dw 0\n"
                                      "flags record f_a:3, f_b:5\n"
                                      "clash record count:4, c_b:4\n";
    const expected_line cases[] = {
        {"\tmov al, mask f_a", "\tmovb\t$0x0E0,%al", false},
        {"\tmov al, MASK flags", "\tmovb\t$0x0FF,%al", false},
        {"\tmov al, width f_b + width flags", "\tmovb\t$5 + 8,%al", false},
        {"\tmov al, f_a", "\tmovb\t$f_a,%al", false},
        {"\tdb mask f_b, width f_a", "\t.byte\t0x01F,3", false},
        {"\tmov ax, width other", "\tmovw\t$width other,%ax", true},
        {"\tmov ax, mask count", "\tmovw\tmask count,%ax", true},
        {"\tmov ax, mask c_b", "\tmovw\t$0x0F,%ax", false},
    };
    expect_after(declarations, cases);
    const auto lines = convert_program(declarations);
    EXPECT_EQ(lines[1], (std::pair<std::string, std::size_t>{"\t.equ\tf_a,5; .equ f_b,0", 0}));
    EXPECT_EQ(lines[2].second, 1U) << lines[2].first;
}

} // namespace
} // namespace dravent
