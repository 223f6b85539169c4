// Data lists taken apart (parse_data_list, find_comment), and the one piece of state that passes
// from a line to the next: the data definition a list that ends in a comma leaves open.
#include "convert/data_list.hpp"
#include "declarations/collect_declarations.hpp"
#include "driver/line_converter.hpp"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
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

} // namespace
} // namespace dravent
