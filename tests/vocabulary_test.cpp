// The vocabulary's lookups: registers, size keywords, mnemonics and directives, and the hashed
// tables and word keys beneath them.
#include "convert/directives.hpp"
#include "vocabulary/mnemonics.hpp"
#include "vocabulary/registers.hpp"
#include "vocabulary/size_keywords.hpp"

#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>
#include <utility>

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

TEST(hashed_table_find, compares_whole_names_without_regard_to_case)
{
    for (const char* name : {"db", "DB", "Db"}) {
        const mnemonic_row* row = mnemonic_table.find(name);
        ASSERT_NE(row, nullptr) << name;
        EXPECT_EQ(row->rename, ".byte");
        EXPECT_EQ(row->flags, LINE_DATA);
    }
    EXPECT_EQ(mnemonic_table.find("MOVZX")->rename, "movz");
    EXPECT_EQ(directive_table.find("=")->handler, &handle_assign);
    EXPECT_EQ(directive_table.find("TextEqu")->handler, &handle_textequ);
    for (const char* name : {"db:", "", "d", "dbb", "movzxx", "movz"}) {
        EXPECT_EQ(mnemonic_table.find(name), nullptr) << name;
    }
    EXPECT_EQ(mnemonic_table.find(std::string("db\0", 3)), nullptr);
    // The search of a word in a line, by its packed bytes where eight may be read past it, answers
    // the same, a zero byte inside the word included.
    const char words[] = "mov db\0 MOVZX movzxx pushfd cmpxchg8b";
    const std::string line = std::string(words, sizeof words - 1) + std::string(16, ' ');
    for (const auto& [at, size] : std::initializer_list<std::pair<std::size_t, std::size_t>>{
             {0, 3}, {4, 2}, {4, 3}, {8, 5}, {14, 6}, {21, 6}, {28, 9}, {0, 2}}) {
        const std::string_view word = std::string_view(line).substr(at, size);
        EXPECT_EQ(mnemonic_table.find(word, line.data() + line.size()), mnemonic_table.find(word))
            << ::testing::PrintToString(std::string(word));
    }
    // Every row of every table is found through its own name.
    for (const mnemonic_row& row : mnemonic_table) {
        EXPECT_EQ(mnemonic_table.find(row.name), &row) << row.name;
    }
    for (const directive_row& row : directive_table) {
        EXPECT_EQ(directive_table.find(row.name), &row) << row.name;
        // A row rewrites the draft through its handler or writes the whole line, not both.
        EXPECT_TRUE(row.handler == nullptr || row.write == nullptr) << row.name;
    }
    EXPECT_EQ(directive_table.find("Segment")->write, &write_segment);
    for (const register_row& row : register_table) {
        EXPECT_EQ(find_register(row.name), &row) << row.name;
    }
}

struct word_row {
    std::string_view name;
};

// The static_asserts beside the tables rest on this check: it must see a name written twice or
// in upper case, and it must find names of any length.
TEST(hashed_table, is_searchable_only_with_unique_lower_case_names)
{
    constexpr hashed_table good{std::to_array<word_row>({{"nolocals"}, {"udataseg"}, {"a_very_long_directive_name"},
                                                          {"a_very_long_directive_nam"}, {"x"}})};
    static_assert(good.is_searchable());
    EXPECT_NE(good.find("A_VERY_LONG_DIRECTIVE_NAME"), nullptr);
    EXPECT_EQ(good.find("a_very_long_directive_name")->name, "a_very_long_directive_name");
    EXPECT_EQ(good.find("A_very_long_directive_nam")->name, "a_very_long_directive_nam");
    EXPECT_EQ(good.find("a_very_long_directive_namx"), nullptr);
    EXPECT_EQ(good.find("nolocalz"), nullptr);
    constexpr hashed_table twice{std::to_array<word_row>({{"db"}, {"dw"}, {"db"}})};
    static_assert(!twice.is_searchable());
    constexpr hashed_table upper{std::to_array<word_row>({{"db"}, {"Dw"}})};
    static_assert(!upper.is_searchable());
    constexpr hashed_table empty_name{std::to_array<word_row>({{"db"}, {""}})};
    static_assert(!empty_name.is_searchable());
}

TEST(make_word_key, folds_only_a_to_z_and_tells_other_bytes_apart)
{
    // Every byte value, in every position of a word of ten (head and tail): only A-Z fold, to a-z;
    // any other change makes another word.
    constexpr std::size_t length = 10;
    for (int byte = 0; byte < 256; ++byte) {
        const char c = static_cast<char>(byte);
        for (std::size_t position = 0; position < length; ++position) {
            std::string upper(length, 'x');
            std::string lower(length, 'x');
            upper[position] = c;
            lower[position] = fold_case(c);
            const word_key a = make_word_key(upper);
            const word_key b = make_word_key(lower);
            EXPECT_EQ(a.head, b.head) << byte;
            EXPECT_EQ(a.hash, b.hash) << byte;
            if (fold_case(c) == c) {
                std::string other = upper;
                other[position] = static_cast<char>(byte ^ 1);
                EXPECT_FALSE(key_names(make_word_key(other), b.head, lower)) << byte << " at " << position;
            }
        }
    }
}

TEST(make_word_key, names_that_differ_in_their_last_bytes_take_slots_far_apart)
{
    // Tables take a slot from a hash's low bits. Names numbered in their last bytes (msg_0001 ...
    // of eight, the length a key's head holds, and v1 ... of any length) must spread over the
    // slots as random numbers would: piled on a few, every search would pass hundreds of names.
    constexpr std::uint32_t slots = 1024;
    for (const char* pattern : {"msg_%04d", "v%d", "buffer%02d", "table_%05d"}) {
        std::set<std::uint32_t> taken;
        for (int n = 0; n < 1000; ++n) {
            char name[32];
            std::snprintf(name, sizeof name, pattern, n);
            taken.insert(make_word_key(name).hash & (slots - 1));
        }
        // 1,000 random numbers below 1,024 take about 630 of them.
        EXPECT_GT(taken.size(), 550U) << pattern;
    }
}

} // namespace
} // namespace dravent
