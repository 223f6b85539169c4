// The keyword tables' lookups: registers, size keywords and the name searches.
#include "statement/keyword_tables.hpp"

#include <gtest/gtest.h>

#include <string>

namespace dravent {
namespace {

TEST(lookup_register, reads_the_token_up_to_the_first_blank_in_any_case)
{
    EXPECT_EQ(lookup_register("ax"), SIZE_WORD);
    EXPECT_EQ(lookup_register("AX"), SIZE_WORD);
    EXPECT_EQ(lookup_register("Ax"), SIZE_WORD);
    EXPECT_EQ(lookup_register("Esp"), SIZE_DWORD);
    EXPECT_EQ(lookup_register("cr0"), SIZE_DWORD);
    EXPECT_EQ(lookup_register("bl"), SIZE_BYTE);
    EXPECT_EQ(lookup_register("ax\t"), SIZE_WORD);
    EXPECT_EQ(lookup_register("ax foo"), SIZE_WORD);
    for (const char* not_a_register : {"ds", "rax", "ax+2", "", "a", "eaxx", "ax\r", " ax"}) {
        EXPECT_EQ(lookup_register(not_a_register), 0) << not_a_register;
    }
    EXPECT_EQ(lookup_register(std::string("ax\0", 3)), 0);
    // Every row is found through its own name.
    for (const register_row& row : register_table) {
        EXPECT_EQ(lookup_register(row.name), row.size) << row.name;
    }
}

TEST(names_segment_register, knows_the_six_in_any_case)
{
    for (const char* name : {"cs", "DS", "Es", "fs", "gs", "ss", "es foo"}) {
        EXPECT_TRUE(names_segment_register(name)) << name;
    }
    for (const char* name : {"es:", "esx", "ax", "", "e"}) {
        EXPECT_FALSE(names_segment_register(name)) << name;
    }
}

TEST(match_size_keyword, moves_the_cursor_only_on_a_match)
{
    struct keyword_case {
        std::string text;
        std::size_t start;
        int size;
        std::size_t cursor_after;
    };
    const keyword_case cases[] = {
        {"word ptr [bp]", 0, SIZE_WORD, 4},
        {"DWORD\tx", 0, SIZE_DWORD, 5},
        {"byte x", 0, SIZE_BYTE, 4},
        {"QWord\rx", 0, SIZE_QWORD, 5},
        {"[byte bx]", 1, SIZE_BYTE, 5},
        {"words x", 0, 0, 0},
        {"byte[bx]", 0, 0, 0},
        {"qword", 0, 0, 0},
        {" byte x", 0, 0, 0},
        {"wor", 0, 0, 0},
        {"byte", 4, 0, 4},
    };
    for (const keyword_case& c : cases) {
        std::size_t cursor = c.start;
        EXPECT_EQ(match_size_keyword(c.text, cursor), c.size) << c.text;
        EXPECT_EQ(cursor, c.cursor_after) << c.text;
    }
}

TEST(keyword_table_find, compares_whole_names_without_regard_to_case)
{
    for (const char* name : {"db", "DB", "Db"}) {
        const rename_row* row = rename_table.find(name);
        ASSERT_NE(row, nullptr) << name;
        EXPECT_EQ(row->replacement, ".byte");
    }
    EXPECT_EQ(rename_table.find("MOVZX")->replacement, "movz");
    EXPECT_EQ(directive_table.find("=")->handler, &handle_assign);
    for (const char* name : {"db:", ".byte", "", "d", "dbb"}) {
        EXPECT_EQ(rename_table.find(name), nullptr) << name;
    }
    // Every row of every searched table is found through its own name.
    for (const rename_row& row : rename_table) {
        EXPECT_EQ(rename_table.find(row.name), &row) << row.name;
    }
    for (const directive_row& row : directive_table) {
        EXPECT_EQ(directive_table.find(row.name), &row) << row.name;
    }
    for (const mnemonic_flags_row& row : mnemonic_flags_table) {
        EXPECT_EQ(mnemonic_flags_table.find(row.name), &row) << row.name;
    }
}

// The static_asserts beside the tables rest on this check: it must see any pair of rows swapped.
template <typename Table>
void expect_every_swap_detected(Table table)
{
    EXPECT_TRUE(is_sorted_by_name(table));
    for (std::size_t n = 0; n + 1 < table.size(); ++n) {
        std::swap(table[n], table[n + 1]);
        EXPECT_FALSE(is_sorted_by_name(table)) << table[n].name << " before " << table[n + 1].name;
        std::swap(table[n], table[n + 1]);
    }
}

TEST(is_sorted_by_name, detects_any_table_out_of_order)
{
    expect_every_swap_detected(register_table.rows());
    expect_every_swap_detected(segment_register_table.rows());
    expect_every_swap_detected(rename_table.rows());
    expect_every_swap_detected(directive_table.rows());
    expect_every_swap_detected(mnemonic_flags_table.rows());
    // Case is folded: an upper-case name sorts as its lower-case spelling.
    EXPECT_TRUE(is_sorted_by_name(std::array<rename_row, 2>{{{"Align", ""}, {"cbw", ""}}}));
}

TEST(fold_key, folds_only_a_to_z_and_orders_like_the_names)
{
    // Every byte value, in every position of a name: only A-Z change, to a-z.
    for (int byte = 0; byte < 256; ++byte) {
        const char c = static_cast<char>(byte);
        for (std::size_t position = 0; position < name_key_length; ++position) {
            std::string upper(name_key_length, 'x');
            std::string lower(name_key_length, 'x');
            upper[position] = c;
            lower[position] = fold_case(c);
            EXPECT_EQ(fold_key(upper), fold_key(lower)) << byte;
            if (fold_case(c) == c) {
                std::string other = upper;
                other[position] = static_cast<char>(byte ^ 1);
                EXPECT_NE(fold_key(upper), fold_key(other)) << byte;
            }
        }
    }
    EXPECT_LT(fold_key("db"), fold_key("dbx"));
    EXPECT_LT(fold_key(".align"), fold_key("="));
    EXPECT_LT(fold_key("="), fold_key("ALIGN"));
    EXPECT_NE(fold_key("db"), fold_key(std::string("db\0", 3)));
    EXPECT_EQ(fold_key("toolong8"), 0U);
}

} // namespace
} // namespace dravent
