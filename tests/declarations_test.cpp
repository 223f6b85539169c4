// The declarations pass: the names a program declares, the lines its procedures, local-label
// scopes, code sizes and modes span, and the files it includes.
#include "declarations/collect_declarations.hpp"
#include "declarations/constant_expression.hpp"
#include "declarations/instruction_lines.hpp"
#include "declarations/name_table.hpp"
#include "declarations/text_equates.hpp"
#include "program_runner.hpp"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace dravent {
namespace {

using testing::scratch_folder;
using testing::write_file;

program_declarations collect(const std::string& text, const std::string& folder = ".")
{
    program_declarations d;
    collect_declarations_from_text(text, folder, d);
    return d;
}

const name_facts& facts_of(const program_declarations& d, std::string_view name)
{
    const name_facts* facts = d.find(name);
    static const name_facts none;
    EXPECT_NE(facts, nullptr) << name;
    return facts != nullptr ? *facts : none;
}

TEST(collect_declarations, variables_have_the_size_of_their_directive)
{
    const program_declarations d = collect(
        "count   dw 0\n"
        "flag    db 1\n"
        "  total dd ?\n"            // indented
        "ptrs    df 0\n"
        "wide    dq 1\n"
        "ten     dt 1.5\n"
        "buffer  db 80 dup (?)\n"
        "bytes   label byte\n"
        "start:  db 5\n"            // a colon makes a code label, no variable
        "        extrn far_count:word, handler:far, ext_proc:proc, raw:dword\n"
        "        global shared:byte\n");
    const std::pair<std::string_view, std::uint32_t> sizes[] = {
        {"count", 2}, {"flag", 1}, {"total", 4}, {"ptrs", 6}, {"wide", 8}, {"ten", 10}, {"buffer", 1},
        {"bytes", 1}, {"far_count", 2}, {"raw", 4}, {"shared", 1},
    };
    for (const auto& [name, size] : sizes) {
        EXPECT_EQ(facts_of(d, name).kind, declared::variable) << name;
        EXPECT_EQ(facts_of(d, name).size, size) << name;
    }
    EXPECT_EQ(facts_of(d, "start").kind, declared::label);
    EXPECT_EQ(facts_of(d, "handler").kind, declared::procedure);
    EXPECT_TRUE(facts_of(d, "handler").far);
    EXPECT_FALSE(facts_of(d, "ext_proc").far);
    // Names are found without regard to case.
    EXPECT_EQ(facts_of(d, "COUNT").size, 2U);
    EXPECT_EQ(d.find("undeclared"), nullptr);
}

TEST(collect_declarations, variables_count_their_first_values_where_tasm_length_is_certain)
{
    const program_declarations d = collect(
        "BUFSZ   equ 64\n"
        "buf     db 80 dup (?)\n"
        "words   dw BUFSZ dup (0)  ; a constant's count\n"
        "  ind   dw 3 dup (?)\n"        // indented
        "one     dd 5\n"
        "letter  db 'A'\n"
        "sum     dw 2 * 3 + 1\n"
        "msg     db 'hello'\n"         // a string of several characters: unknown
        "list    db 1, 2\n"            // several values: unknown
        "nested  db 2 dup (3 dup (0))\n"
        "pairs   db 4 dup (1, 2)\n"
        "empty   db\n"
        "odd     db n dup (0)\n"       // a count the program does not give
        "noted   db 4 dup (0)   ; four, all zero\n"
        "comma   db ','\n");
    const std::pair<std::string_view, std::uint32_t> counts[] = {
        {"buf", 80}, {"words", 64}, {"ind", 3}, {"one", 1}, {"letter", 1}, {"sum", 1}, {"msg", 0},
        {"list", 0}, {"nested", 0}, {"pairs", 0}, {"empty", 0}, {"odd", 0}, {"noted", 4}, {"comma", 1},
    };
    for (const auto& [name, count] : counts) {
        EXPECT_EQ(facts_of(d, name).count, count) << name;
    }
}

TEST(collect_declarations, procedures_span_their_lines_with_their_distance)
{
    const program_declarations d = collect(
        "        .model medium\n"        // 1
        "        .code\n"                // 2
        "main    proc\n"                 // 3: far by the model
        "        call helper\n"          // 4: a forward reference
        "        ret\n"                  // 5
        "main    endp\n"                 // 6
        "helper  proc near\n"            // 7
        "        ret\n"                  // 8
        "helper  endp\n"                 // 9
        "        ideal\n"                // 10
        "proc    fast far\n"             // 11: IDEAL
        "        ret\n"                  // 12
        "endp    fast\n");               // 13
    ASSERT_EQ(d.procedures.size(), 3U);
    EXPECT_EQ(d.procedures[0].first_line, 3U);
    EXPECT_EQ(d.procedures[0].last_line, 6U);
    EXPECT_TRUE(d.procedures[0].far);
    EXPECT_EQ(d.procedures[1].first_line, 7U);
    EXPECT_FALSE(d.procedures[1].far);
    EXPECT_EQ(d.procedures[2].first_line, 11U);
    EXPECT_EQ(d.procedures[2].last_line, 13U);
    EXPECT_TRUE(d.procedures[2].far);
    EXPECT_TRUE(facts_of(d, "main").far);
    EXPECT_FALSE(facts_of(d, "helper").far);
    ASSERT_EQ(d.modes.size(), 1U);
    EXPECT_EQ(d.modes[0].first_line, 10U);
    EXPECT_TRUE(d.modes[0].ideal);
}

TEST(collect_declarations, a_small_model_or_a_segment_keeps_procedures_near)
{
    EXPECT_FALSE(collect("  .model small\n  .code\np proc\n  ret\np endp\n").procedures.at(0).far);
    EXPECT_FALSE(collect("  .model large\ncode segment\np proc\n  ret\np endp\ncode ends\n").procedures.at(0).far);
    EXPECT_TRUE(collect("  .model large\n  .code\np proc\n  ret\np endp\n").procedures.at(0).far);
}

TEST(collect_declarations, local_label_scopes_open_at_procedures_and_at_labels_outside_them)
{
    const program_declarations d = collect(
        "        jmp @@a\n"     // 1: before the first label, a forward reference
        "first:  nop\n"         // 2: scope "first", which holds no @@ label: not kept
        "second: jmp @@a\n"     // 3: scope "second", and its @@ label on its own line
        "@@a:    nop\n"         // 4
        "p       proc\n"        // 5: scope "p"
        "inner:  nop\n"         // 6: inside a procedure a label opens no scope
        "@@a:    loop @@a\n"    // 7
        "p       endp\n"        // 8: after it, a scope without a name
        "@@b:    nop\n"         // 9
        "third   label near\n"  // 10: scope "third"
        "value   dw 0\n"        // 11: a variable opens none
        "        jmp @@b\n");   // 12
    ASSERT_EQ(d.scopes.size(), 5U);
    const std::tuple<std::uint64_t, std::string_view, std::uint32_t> expected[] = {
        {0, "", 0}, {3, "second", 2}, {5, "p", 3}, {9, "", 4}, {10, "third", 5}};
    for (std::size_t n = 0; n < 5; ++n) {
        const auto& [line, name, ordinal] = expected[n];
        EXPECT_EQ(d.scopes[n].first_line, line) << n;
        EXPECT_EQ(d.scopes[n].name == no_entry ? "" : d.names.name(d.scopes[n].name), name) << n;
        EXPECT_EQ(d.scopes[n].ordinal, ordinal) << n;
    }
}

TEST(collect_declarations, a_data_definition_without_a_name_keeps_the_scope_of_an_at_label_it_names)
{
    const program_declarations d = collect(
        "first:  nop\n"
        "        dw @@a, 0\n"  // the scope holds an @@ label through this line alone
        "second: nop\n");
    ASSERT_EQ(d.scopes.size(), 1U);
    EXPECT_EQ(d.names.name(d.scopes[0].name), "first");
}

TEST(collect_declarations, assume_and_group_tell_what_each_segment_register_reaches)
{
    const program_declarations d = collect(
        "        assume cs: code, ds:data\n"  // 1: a blank after the colon; segments named before their lines
        "DGROUP  group data, bss\n"           // 2
        "data    segment\n"                   // 3
        "v       dw 0\n"                      // 4
        "data    ends\n"                      // 5
        "code    segment\n"                   // 6
        "c       db 0\n"                      // 7
        "        assume ds:DGROUP, es:nothing, ss:seg v\n"  // 8: seg v is nothing the pass can tell
        "        assume nothing\n"            // 9
        "code    ends\n"
        "        extrn far_v:word\n");
    const auto segment = [&](std::string_view name) { return d.segment_names.facts(d.segment_names.find(name)); };
    ASSERT_EQ(d.assumes.size(), 3U);
    EXPECT_EQ(d.assumes[0].first_line, 1U);
    EXPECT_EQ(d.assumes[0].targets[cs_register], segment("code"));
    EXPECT_EQ(d.assumes[0].targets[ds_register], segment("data"));
    EXPECT_EQ(d.assumes[0].targets[es_register], assumed_unknown);
    const std::uint32_t data_group = d.assumes[1].targets[ds_register];
    EXPECT_EQ(d.assumes[1].first_line, 8U);
    EXPECT_NE(data_group & group_target, 0U);
    EXPECT_EQ(d.assumes[1].targets[es_register], assumed_nothing);
    EXPECT_EQ(d.assumes[1].targets[ss_register], assumed_unknown);
    EXPECT_EQ(d.assumes[2].targets[cs_register], assumed_nothing);
    // Variables lie in the segment of their line; an external one in none the pass knows.
    EXPECT_EQ(facts_of(d, "v").segment, segment("data"));
    EXPECT_EQ(facts_of(d, "c").segment, segment("code"));
    EXPECT_EQ(facts_of(d, "far_v").segment, no_entry);
    EXPECT_TRUE(d.reaches(data_group, segment("data")));
    EXPECT_TRUE(d.reaches(data_group, segment("bss")));
    EXPECT_FALSE(d.reaches(data_group, segment("code")));
    EXPECT_TRUE(d.reaches(segment("code"), segment("code")));
    EXPECT_FALSE(d.reaches(assumed_nothing, segment("code")));
}

TEST(collect_declarations, a_model_makes_dgroup_of_its_data_which_ds_and_ss_reach)
{
    for (const bool tiny : {false, true}) {
        const program_declarations d = collect(std::string(tiny ? ".model tiny\n" : ".model small\n") +
                                               ".data\nv dw 0\n.code\nc db 0\n.fardata\nf db 0\n");
        ASSERT_FALSE(d.assumes.empty());
        const auto& targets = d.assumes.back().targets;
        EXPECT_TRUE(d.reaches(targets[ds_register], facts_of(d, "v").segment)) << tiny;
        EXPECT_TRUE(d.reaches(targets[ss_register], facts_of(d, "v").segment)) << tiny;
        EXPECT_TRUE(d.reaches(targets[cs_register], facts_of(d, "c").segment)) << tiny;
        EXPECT_EQ(d.reaches(targets[ds_register], facts_of(d, "c").segment), tiny);  // tiny: code in DGROUP
        EXPECT_FALSE(d.reaches(targets[ds_register], facts_of(d, "f").segment)) << tiny;  // far data: no
    }
}

TEST(collect_declarations, an_ideal_fields_own_name_does_not_spell_the_programs_name)
{
    // IDEAL: the field is Cam.scale; the program's Scale is spelled as its data line spells it.
    // MASM: fields are the program's names, and the first declaration spells them.
    for (const bool ideal : {true, false}) {
        const program_declarations d = collect(ideal ? "ideal\nstruc Cam\nscale dd ?\nends Cam\nScale dd 1.2\n"
                                                     : "Cam struc\nscale dd ?\nCam ends\nScale dd 1.2\n");
        EXPECT_EQ(d.declared_spelling("SCALE"), ideal ? "Scale" : "scale") << ideal;
        EXPECT_EQ(d.declared_in_another_case, !ideal) << ideal;
        EXPECT_EQ(facts_of(d, "Cam.scale").kind, declared::field) << ideal;
        EXPECT_EQ(facts_of(d, "Scale").kind, declared::variable) << ideal;
    }
}

TEST(collect_declarations, names_and_local_labels_keep_the_spelling_they_are_first_declared_with)
{
    const program_declarations d = collect(
        "        global WinCount:word\n"  // 1: the global list comes first
        "wincount dw 0\n"                 // 2
        "Count   dw 0\n"                  // 3
        "COUNT   = 1\n"                   // 4: a redefinition keeps the first spelling
        "p       proc\n"                  // 5: scope p (ordinal 1)
        "@@Loop: jmp @@LOOP\n"            // 6
        "p       endp\n"                  // 7
        "q       proc\n"                  // 8: scope q (ordinal 3)
        "@@loop: jmp @@Loop\n"            // 9
        "q       endp\n");
    EXPECT_EQ(d.declared_spelling("WINCOUNT"), "WinCount");
    EXPECT_EQ(d.declared_spelling("count"), "Count");
    EXPECT_EQ(d.declared_spelling("Undeclared"), "Undeclared");
    ASSERT_EQ(d.scopes.size(), 2U);
    EXPECT_EQ(d.local_label_spelling(d.scopes[0].ordinal, "@@loop"), "Loop");
    EXPECT_EQ(d.local_label_spelling(d.scopes[1].ordinal, "@@LOOP"), "loop");
    EXPECT_EQ(d.local_label_spelling(d.scopes[1].ordinal, "@@Next"), "Next");  // defined nowhere: as written
    EXPECT_EQ(d.local_label_spelling(d.scopes[1].ordinal, "@@" + std::string(300, 'x')), std::string(300, 'x'));
}

TEST(collect_declarations, structures_give_their_fields_offsets_sizes_and_defaults)
{
    const program_declarations d = collect(
        "ball    struc\n"
        "x_pos   dw 40\n"
        "y_pos   dw 12\n"
        "color   db 0Eh\n"
        "shape   db '*'\n"
        "ball    ends\n"
        "        ideal\n"
        "struc   point\n"
        "px      dd ?\n"
        "py      dd ?\n"
        "ends    point\n"
        "        masm\n"
        "the_ball ball <>\n"
        "origin  point <1, 2>\n");
    EXPECT_EQ(facts_of(d, "ball").kind, declared::structure);
    EXPECT_EQ(facts_of(d, "ball").size, 6U);
    ASSERT_EQ(facts_of(d, "ball").field_count, 4U);
    const std::tuple<std::string_view, std::uint32_t, std::uint32_t, std::string_view> fields[] = {
        {"x_pos", 0, 2, "40"}, {"y_pos", 2, 2, "12"}, {"color", 4, 1, "0Eh"}, {"shape", 5, 1, "'*'"}};
    for (std::size_t n = 0; n < 4; ++n) {
        const auto& [name, offset, size, value] = fields[n];
        const structure_field& f = d.fields[facts_of(d, "ball").first_field + n];
        EXPECT_EQ(d.names.name(f.name), name);
        EXPECT_EQ(f.offset, offset);
        EXPECT_EQ(f.size, size);
        EXPECT_EQ(d.view(f.value), value);
        EXPECT_EQ(facts_of(d, name).kind, declared::field);
        EXPECT_EQ(facts_of(d, name).offset, offset);
    }
    EXPECT_EQ(facts_of(d, "point").size, 8U);
    EXPECT_EQ(facts_of(d, "the_ball").kind, declared::variable);
    EXPECT_EQ(facts_of(d, "the_ball").size, 6U);
    EXPECT_EQ(facts_of(d, "the_ball").structure, d.names.find("ball"));
    EXPECT_EQ(facts_of(d, "origin").structure, d.names.find("point"));
}

TEST(collect_declarations, union_fields_all_lie_at_0_and_the_union_is_as_long_as_the_longest)
{
    const program_declarations d = collect(
        "packet  union\n"
        "p_byte  db ?\n"
        "p_text  db 'abcdef'\n"
        "p_word  dw 2 dup (?)\n"
        "packet  ends\n"
        "        ideal\n"
        "union   Reg\n"
        "r_x     dd ?\n"
        "r_l     db ?\n"
        "ends\n"
        "        masm\n"
        "after   struc\n"
        "a_one   db ?\n"
        "a_two   dw ?\n"
        "after   ends\n"
        "pk      packet <>\n");
    EXPECT_EQ(facts_of(d, "packet").kind, declared::structure);
    EXPECT_EQ(facts_of(d, "packet").value, layout_union);
    EXPECT_EQ(facts_of(d, "packet").size, 6U);
    ASSERT_EQ(facts_of(d, "packet").field_count, 3U);
    for (const std::string_view field : {"p_byte", "p_text", "p_word", "packet.p_word", "Reg.r_x", "Reg.r_l"}) {
        EXPECT_EQ(facts_of(d, field).kind, declared::field) << field;
        EXPECT_EQ(facts_of(d, field).offset, 0U) << field;
    }
    EXPECT_EQ(facts_of(d, "p_word").size, 2U);
    EXPECT_EQ(facts_of(d, "Reg").size, 4U);
    EXPECT_EQ(facts_of(d, "Reg").value, layout_union);
    // A struc after a union lays its fields out one after another again.
    EXPECT_EQ(facts_of(d, "after").value, layout_struc);
    EXPECT_EQ(facts_of(d, "a_two").offset, 1U);
    EXPECT_EQ(facts_of(d, "pk").size, 6U);
    EXPECT_EQ(facts_of(d, "pk").structure, d.names.find("packet"));
}

TEST(collect_declarations, a_union_nested_in_a_structure_leaves_the_offsets_after_it_unknown)
{
    const program_declarations d = collect(
        "msg     struc\n"
        "m_kind  db ?\n"
        "        union\n"
        "m_word  dw ?\n"
        "m_byte  db ?\n"
        "        ends\n"
        "m_tail  db ?\n"
        "msg     ends\n"
        "m_after db ?\n");
    EXPECT_EQ(facts_of(d, "msg").kind, declared::structure);
    EXPECT_NE(facts_of(d, "msg").value & layout_nested, 0U);
    EXPECT_EQ(facts_of(d, "msg").size, 0U);
    EXPECT_EQ(facts_of(d, "m_kind").offset, 0U);
    for (const std::string_view field : {"m_word", "m_byte", "m_tail"}) {
        EXPECT_EQ(facts_of(d, field).offset, unknown_offset) << field;
    }
    // The union's ends closes the union, the structure's the structure.
    ASSERT_EQ(d.structures.size(), 1U);
    EXPECT_EQ(d.structures[0].last_line, 8U);
    EXPECT_EQ(facts_of(d, "m_after").kind, declared::variable);
}

TEST(collect_declarations, record_fields_are_shift_counts_from_the_last_field_up)
{
    const program_declarations d = collect(
        "DEF     equ 2\n"
        "rec     record a:3, b:5\n"
        "mode    record m_on:1, m_lvl:4 = 7, m_rate:DEF = DEF, m_pad:9\n"
        "        ideal\n"
        "record  Wide w_hi:16, w_lo:DEF\n"
        "        masm\n"
        "fl      rec <1, 2>\n"
        "md      mode <>\n"
        "wd      Wide <>\n");
    struct expected_record {
        std::string_view name;
        std::uint32_t width;
        std::uint32_t size;
        std::uint32_t field_count;
    };
    for (const expected_record& r : {expected_record{"rec", 8, 1, 2}, expected_record{"mode", 16, 2, 4},
                                     expected_record{"Wide", 18, 4, 2}}) {
        EXPECT_EQ(facts_of(d, r.name).kind, declared::record) << r.name;
        EXPECT_EQ(facts_of(d, r.name).value, r.width) << r.name;
        EXPECT_EQ(facts_of(d, r.name).size, r.size) << r.name;
        EXPECT_EQ(facts_of(d, r.name).field_count, r.field_count) << r.name;
    }
    struct expected_field {
        std::string_view name;
        std::uint32_t shift;
        std::uint32_t width;
        std::uint32_t default_value;
    };
    for (const expected_field& f :
         {expected_field{"a", 5, 3, 0}, expected_field{"b", 0, 5, 0}, expected_field{"m_on", 15, 1, 0},
          expected_field{"m_lvl", 11, 4, 7}, expected_field{"m_rate", 9, 2, 2}, expected_field{"m_pad", 0, 9, 0},
          expected_field{"w_hi", 2, 16, 0}, expected_field{"w_lo", 0, 2, 0}}) {
        const name_facts& facts = facts_of(d, f.name);
        EXPECT_EQ(facts.kind, declared::bit_field) << f.name;
        EXPECT_EQ(facts.value, f.shift) << f.name;
        ASSERT_LT(facts.first_field, d.bit_fields.size()) << f.name;
        const bit_field_row& row = d.bit_fields[facts.first_field];
        EXPECT_EQ(d.names.name(row.name), f.name);
        EXPECT_EQ(row.shift, f.shift) << f.name;
        EXPECT_EQ(row.width, f.width) << f.name;
        EXPECT_TRUE(row.has_default) << f.name;
        EXPECT_EQ(row.default_value, f.default_value) << f.name;
    }
    EXPECT_EQ(facts_of(d, "fl").kind, declared::variable);
    EXPECT_EQ(facts_of(d, "fl").size, 1U);
    EXPECT_EQ(facts_of(d, "md").size, 2U);
    EXPECT_EQ(facts_of(d, "wd").size, 4U);
}

TEST(collect_declarations, a_record_of_another_shape_declares_nothing)
{
    const program_declarations d = collect(
        "wide    record w_a:20, w_b:13\n"   // 33 bits
        "zero    record z_a:0, z_b:4\n"
        "sized   record s_a:WHAT\n"
        "bare    record n_a, n_b:2\n"
        "odd     record o_a:2 = ?, o_b:2\n");
    for (const std::string_view name : {"wide", "w_a", "zero", "z_b", "sized", "bare", "n_b"}) {
        EXPECT_EQ(d.find(name) == nullptr ? declared::unknown : d.find(name)->kind, declared::unknown) << name;
    }
    // A default that is no number leaves the record, with that default unknown.
    ASSERT_EQ(facts_of(d, "odd").kind, declared::record);
    EXPECT_FALSE(d.bit_fields[facts_of(d, "o_a").first_field].has_default);
    EXPECT_TRUE(d.bit_fields[facts_of(d, "o_b").first_field].has_default);
}

TEST(collect_declarations, a_field_lies_after_every_byte_of_the_fields_before_it)
{
    const program_declarations d = collect(
        "LEN     equ 13\n"
        "EXPR    equ LEN + 1\n"
        "LEN2    =   2\n"
        "rec     struc\n"
        "r_str   db 'abcd'\n"         // a string: a byte a character
        "r_list  db 1, 2, 3\n"
        "r_dup   dw 2 dup (1, 2)\n"   // count times the values
        "r_nest  db 2 dup ('ab', 3 dup (?))\n"
        "r_quote db 'it''s', \"\"\"\"\n"  // a doubled quote is one character
        "r_char  dw 'AB', 'C'\n"       // strings in a wider unit: one unit each
        "        db LEN dup (?)\n"     // a constant count, no name
        "r_const dd LEN2 dup (0)\n"
        "r_after dw ?\n"
        "r_expr  db EXPR dup (?)\n"    // a count that is an expression of numbers and constants
        "r_known dw ?\n"
        "r_var   db r_known dup (?)\n" // a count that is no number: the length is unknown
        "r_lost  dw ?\n"
        "rec     ends\n"
        "next    struc\n"
        "n_first dw ?\n"
        "next    ends\n"
        "cut     struc\n"
        "c_open  db 2 dup (\n"        // a dup cut short: the length is unknown
        "c_after dw ?\n"
        "cut     ends\n");
    const std::pair<std::string_view, std::uint32_t> offsets[] = {
        {"r_str", 0},   {"r_list", 4},  {"r_dup", 7},          {"r_nest", 15},        {"r_quote", 25},
        {"r_char", 30}, {"r_const", 47}, {"r_after", 55}, {"r_expr", 57}, {"r_known", 71},
        {"r_var", 73},  {"r_lost", unknown_offset},
        {"n_first", 0}, {"c_open", 0}, {"c_after", unknown_offset}};
    for (const auto& [name, offset] : offsets) {
        EXPECT_EQ(facts_of(d, name).offset, offset) << name;
    }
    EXPECT_EQ(facts_of(d, "rec").size, 0U);   // unknown
    EXPECT_EQ(facts_of(d, "rec").field_count, 13U);  // the field without a name too
    EXPECT_EQ(facts_of(d, "next").size, 2U);
    EXPECT_TRUE(facts_of(d, "LEN").evaluated);
    EXPECT_EQ(facts_of(d, "LEN").value, 13U);
    EXPECT_TRUE(facts_of(d, "EXPR").evaluated);
    EXPECT_EQ(facts_of(d, "EXPR").value, 14U);
}

TEST(collect_declarations, code_size_follows_the_model_and_the_segments)
{
    const program_declarations flat = collect("  .386\n  .model flat\n  .code\nmain: ret\n");
    ASSERT_EQ(flat.code_sizes.size(), 1U);
    EXPECT_EQ(flat.code_sizes[0].first_line, 2U);
    EXPECT_EQ(flat.code_sizes[0].bits, 32);
    const program_declarations segments = collect(
        "code32 segment para public use32 'CODE'\n"  // 1
        "       ret\n"
        "code32 ends\n"                              // 3
        "code16 segment use16\n"                     // 4: no change from 16
        "code16 ends\n");
    ASSERT_EQ(segments.code_sizes.size(), 2U);
    EXPECT_EQ(segments.code_sizes[0].first_line, 1U);
    EXPECT_EQ(segments.code_sizes[0].bits, 32);
    EXPECT_EQ(segments.code_sizes[1].first_line, 3U);
    EXPECT_EQ(segments.code_sizes[1].bits, 16);
}

// Where jumps is in force on a processor below the 80386 (Tasm's default is the 8086), GNU As is
// told that processor; anywhere else it assembles for any.
TEST(collect_declarations, arch_follows_jumps_and_the_processor)
{
    const program_declarations d = collect(
        "  .model small\n"  // 1
        "  jumps\n"         // 2: the 8086 with its 8087
        "  .386\n"          // 3: any
        "  P286\n"          // 4: the 80286; the 80387 stays allowed
        "  .287\n"          // 5: the 80287
        "  nojumps\n"       // 6: any
        "  .186\n"          // 7: no jumps: nothing
        "  JUMPS\n"         // 8: the 80186, the 80287 kept
        "  jumps\n");       // 9: no change
    struct expected {
        std::uint64_t line;
        cpu_level cpu;
        fpu_level fpu;
    };
    const std::array<expected, 6> rows{{{2, cpu_level::i8086, fpu_level::i8087},
                                        {3, cpu_level::any, fpu_level::i8087},
                                        {4, cpu_level::i286, fpu_level::i387},
                                        {5, cpu_level::i286, fpu_level::i287},
                                        {6, cpu_level::any, fpu_level::i8087},
                                        {8, cpu_level::i186, fpu_level::i287}}};
    ASSERT_EQ(d.arches.size(), rows.size());
    for (std::size_t n = 0; n < rows.size(); ++n) {
        EXPECT_EQ(d.arches[n].line, rows[n].line) << n;
        EXPECT_EQ(d.arches[n].cpu, rows[n].cpu) << n;
        EXPECT_EQ(d.arches[n].fpu, rows[n].fpu) << n;
    }
    EXPECT_EQ(d.arch_change_at(4), &d.arches[2]);
    EXPECT_EQ(d.arch_change_at(7), nullptr);
    EXPECT_TRUE(collect("  .386\n  jumps\n  .486\n").arches.empty());
}

TEST(collect_declarations, redefinitions_keep_the_latest_facts)
{
    const program_declarations d = collect("x dw 0\nx db 0\ny equ 5\ny = 6\nlbl: nop\nlbl dd 0\n");
    EXPECT_EQ(facts_of(d, "x").size, 1U);
    EXPECT_EQ(facts_of(d, "y").kind, declared::constant);
    EXPECT_EQ(facts_of(d, "lbl").kind, declared::variable);
    EXPECT_EQ(d.names.size(), 3U);
}

TEST(collect_declarations, includes_add_names_found_without_regard_to_case)
{
    scratch_folder folder;
    std::filesystem::create_directory(folder / "inc");
    write_file(folder / "globals.inc", "score dw 0\n  include inc\\MORE.INC\n");
    write_file(folder / "inc" / "more.inc", "lives db 3\nloop1: include ..\\globals.inc\n");  // a cycle
    write_file(folder / "self.inc", "include self.inc\nown db 0\n");
    const program_declarations d = collect(
        "  INCLUDE GLOBALS.INC\n"
        "  include \"Self.Inc\"\n"
        "  include missing.inc\n"
        "  include inc\n"          // a folder: no file
        "after dw 0\n",
        folder.path().string());
    EXPECT_EQ(facts_of(d, "score").size, 2U);
    EXPECT_EQ(facts_of(d, "lives").size, 1U);
    EXPECT_EQ(facts_of(d, "own").size, 1U);
    EXPECT_EQ(facts_of(d, "after").size, 2U);
    // Lines of included files are no lines of the program.
    EXPECT_TRUE(d.scopes.empty());
}

// comment X opens a block that the next X closes, on the same line or a later one (an indented
// instruction included); its lines declare nothing. An include's open block ends with the file.
TEST(collect_declarations, comment_blocks_span_their_lines_and_declare_nothing)
{
    scratch_folder folder;
    write_file(folder / "open.inc", "shared dw 0\ncomment ! never closed\nlost dw 0\n");
    const program_declarations d = collect(
        "comment * one line * hidden1 dw 0\n"  // 1
        "before dw 0\n"                        // 2
        "\tCOMMENT +\n"                        // 3
        "hidden2 dw 0\n"                       // 4
        "\tmov ax, bx +\n"                     // 5
        "\tinclude open.inc\n"                 // 6
        "after dw 0\n"                         // 7
        "comments dw 0\n"                      // 8: a name, no block
        "comment ~\n"                          // 9
        "hidden3 dw 0\n",                      // 10: the file ends in the block
        folder.path().string());
    ASSERT_EQ(d.comments.size(), 3U);
    const std::pair<std::uint64_t, std::uint64_t> spans[] = {{1, 1}, {3, 5}, {9, 10}};
    for (std::size_t n = 0; n < 3; ++n) {
        EXPECT_EQ(d.comments[n].first_line, spans[n].first) << n;
        EXPECT_EQ(d.comments[n].last_line, spans[n].second) << n;
    }
    for (const char* name : {"before", "shared", "after", "comments"}) {
        EXPECT_EQ(facts_of(d, name).kind, declared::variable) << name;
    }
    for (const char* name : {"hidden1", "hidden2", "hidden3", "lost"}) {
        EXPECT_EQ(d.find(name), nullptr) << name;
    }
}

// An equate of a memory reference or a register is a text for the lines after it, until another
// equate gives the name another text; one of a number is none. An equ of a name alone that has a
// text takes the text it has there when that is a reference or a register; a textequ takes any.
TEST(collect_declarations, text_equates_hold_from_the_line_after_them)
{
    const program_declarations d = collect("arg1 equ word ptr [bp+4]\n"  // 1
                                           "n equ 5\n"                     // 2
                                           "ARG1 equ cx\n"                 // 3
                                           "t1 equ < 5 + 2 >\n"            // 4
                                           "t2 textequ <[bx]>\n"           // 5
                                           "t3 equ <mov>\n"                // 6
                                           "a1 equ arg1\n"                 // 7
                                           "arg1 equ dx\n"                 // 8
                                           "a2 equ t1\n"                   // 9
                                           "a3 textequ t1\n"               // 10
                                           "a4 equ n\n");                  // 11
    struct text_case {
        std::string_view name;
        std::uint64_t line;
        std::string_view text;  // empty: none
    };
    const text_case cases[] = {
        {"arg1", 1, ""}, {"arg1", 2, "word ptr [bp+4]"}, {"Arg1", 3, "word ptr [bp+4]"}, {"arg1", 4, "cx"},
        {"n", 3, ""},    {"other", 4, ""},               {"t1", 5, "5 + 2"},
        {"t2", 6, "[bx]"}, {"t3", 7, ""},
        {"a1", 12, "cx"},  {"arg1", 12, "dx"},           {"a2", 12, ""},  {"a3", 12, "5 + 2"}, {"a4", 12, ""},
    };
    for (const text_case& c : cases) {
        std::string_view text;
        const bool found = d.text_of(c.name, c.line, text);
        EXPECT_EQ(found, !c.text.empty()) << c.name << " on line " << c.line;
        EXPECT_EQ(text, c.text) << c.name << " on line " << c.line;
    }
}

// arg and local (and the arguments of a proc line) name stack slots of the procedure they stand
// in, MASM or IDEAL, over several lines, with "returns" and "= size"; no other line, no other
// procedure, and no word Tasm reserves.
TEST(collect_declarations, frame_names_belong_to_their_procedure)
{
    const program_declarations d = collect(
        "count   dw 0\n"
        "        local outside\n"                                      // a macro's local
        "first   proc near uses si\n"
        "        arg count:word, buf[4]:byte, @@x:dword = argsize\n"
        "        uses di\n"
        "        ARG far_one:far returns result:word\n"
        "        local tmp, wide:dword:2 = locsize\n"
        "        local cont:word,   ; goes on\n"                     // 8
        "          more:byte = moresize\n"                          // 9: the rest of the list
        "        mov ax, count\n"
        "first   endp\n"
        "second  proc pascal far a1:word, a2:dword uses ax, a3:byte\n"
        "        arg word:word, ax:word, offset:word\n"                // reserved words
        "        arg last:word,\n"
        "        mov ax, bx\n"                                     // 14: an instruction, no list
        "notlisted dw 0\n"
        "second  endp\n"
        "        ideal\n"
        "proc    third near\n"
        "        local  near_one : word\n"
        "endp\n");
    ASSERT_EQ(d.procedures.size(), 3U);
    struct frame_case {
        std::string_view name;
        std::size_t procedure;
        bool slot;
    };
    const frame_case cases[] = {
        {"count", 0, true},   {"COUNT", 0, true},   {"buf", 0, true},      {"@@x", 0, true},
        {"argsize", 0, true}, {"far_one", 0, true}, {"result", 0, true},   {"tmp", 0, true},
        {"wide", 0, true},    {"locsize", 0, true}, {"di", 0, false},      {"outside", 0, false},
        {"returns", 0, false}, {"near", 0, false},  {"count", 1, false},   {"a1", 1, true},
        {"a2", 1, true},      {"a3", 1, true},      {"pascal", 1, false},  {"second", 1, false},
        {"word", 1, false},   {"ax", 1, false},     {"offset", 1, false},  {"near_one", 2, true},
        {"tmp", 2, false},    {"third", 2, false},    {"cont", 0, true},     {"more", 0, true},
        {"moresize", 0, true}, {"last", 1, true},   {"notlisted", 1, false},
    };
    for (const frame_case& c : cases) {
        EXPECT_EQ(d.names_frame_slot(c.name, d.procedures[c.procedure]), c.slot) << c.name << " in " << c.procedure;
    }
    // The line that goes on with a list that ends in a comma, and no other.
    ASSERT_EQ(d.frame_list_lines.size(), 1U);
    EXPECT_EQ(d.frame_list_lines[0].line, 9U);
    EXPECT_TRUE(d.frame_list_lines[0].local);
    EXPECT_EQ(facts_of(d, "notlisted").kind, declared::variable);
    // The variable of the same name stays a variable.
    EXPECT_EQ(facts_of(d, "count").kind, declared::variable);
    EXPECT_EQ(d.find("tmp"), nullptr);
}

// A name given many texts, interleaved with another's: each line finds the text of the last equ
// before it (searched by halving, so that many texts and many uses cost no time that grows with
// their product).
TEST(collect_declarations, each_line_finds_the_last_text_before_it)
{
    std::string text;
    for (int n = 0; n < 2000; ++n) {
        text += n % 2 == 0 ? "t equ <" + std::to_string(n) + ">\n" : "u equ [bp+" + std::to_string(n) + "]\n";
    }
    const program_declarations d = collect(text);
    for (std::uint64_t line = 1; line <= 2001; line += 37) {
        std::string_view found;
        const bool has_text = d.text_of("T", line, found);
        ASSERT_EQ(has_text, line > 1) << line;
        if (has_text) {
            // Line k holds the equ written for n = k - 1; t's are on the odd lines.
            const std::uint64_t last_t = (line - 2) % 2 == 0 ? line - 2 : line - 3;
            EXPECT_EQ(found, std::to_string(last_t)) << line;
        }
    }
}

// The texts that equ and textequ give a name: a reference or a register as written (equ only),
// or what stands between angle brackets when an operand can hold it; anything else stays for a
// hand.
TEST(text_equate_text, takes_what_an_operand_can_hold)
{
    struct value_case {
        std::string_view verb;
        std::string_view value;
        std::string_view text;  // empty: no text Dravent puts in
    };
    const value_case cases[] = {
        {"equ", "word ptr [bp+4]", "word ptr [bp+4]"}, {"equ", " cx ", "cx"},
        {"equ", "5", ""},                               {"textequ", "cx", ""},
        {"equ", "<[bp-2]>", "[bp-2]"},                  {"textequ", "< es:[di+2] >", "es:[di+2]"},
        {"equ", "<5 + 2>", "5 + 2"},                    {"EQU", "<cx>", "cx"},
        {"equ", "<word ptr [bx]>", "word ptr [bx]"},    {"equ", "<(n shl 2) or 1>", "(n shl 2) or 1"},
        {"equ", "<offset table>", "offset table"},      {"equ", "<byte ptr[si]>", "byte ptr[si]"},
        {"=", "<5>", ""},
        // empty, left open, nested brackets that do not close, an instruction, several operands,
        // strings, Tasm's text operators, a size keyword with nothing to size
        {"equ", "<>", ""},            {"equ", "< >", ""},          {"equ", "<[bp-2]", ""},
        {"equ", "<", ""},             {"equ", "<[bp-2>", ""},      {"equ", "<(1+2]>", ""},
        {"equ", "<stosb>", ""},       {"equ", "<mov ax, bx>", ""}, {"equ", "<rep movsb>", ""},
        {"equ", "<db 5>", ""},        {"equ", "<1, 2>", ""},       {"equ", "<'ab'>", ""},
        {"equ", "<a!>b>", ""},        {"equ", "<%n>", ""},         {"equ", "<a&b>", ""},
        {"equ", "<<x>>", ""},         {"equ", "<word ptr>", ""},   {"equ", "<word>", ""},
        {"equ", "<far ptr >", ""},    {"equ", "<x = 1>", ""},
    };
    for (const value_case& c : cases) {
        std::string_view text;
        const bool taken = text_equate_text(c.verb, c.value, text);
        EXPECT_EQ(taken, !c.text.empty()) << c.verb << " " << c.value;
        if (taken) {
            EXPECT_EQ(text, c.text) << c.verb << " " << c.value;
        }
    }
}

TEST(collect_declarations, passing_over_instruction_lines_misses_no_declaration)
{
    // Lines near the edges of the quick first look at a line: an indented word that names an
    // instruction, a label with a colon.
    struct line_case {
        std::string line;
        std::string name;  // empty: the line declares nothing
        declared kind = declared::unknown;
        std::uint32_t size = 0;
    };
    const std::vector<line_case> cases = {
        {"\tmovsx_flag dw 1", "movsx_flag", declared::variable, 2},  // an instruction begins the word
        {"\tadd2 db 3", "add2", declared::variable, 1},
        {" \t  shl_bits\tdd 0", "shl_bits", declared::variable, 4},
        {"\tPushes db 1", "pushes", declared::variable, 1},
        {std::string("\tmov\0 dw 1", 10), std::string("mov\0", 4), declared::variable, 2},
        {"                        total dw 0", "total", declared::variable, 2},  // blanks past 16 bytes
        {"\tcmpxchg8b_count dq 0", "cmpxchg8b_count", declared::variable, 8},
        {"\tcount dw 0\r", "count", declared::variable, 2},
        {"here:\r", "here", declared::label},
        {"there:\tdb 1", "there", declared::label},
        {"table\tdb 1, 2\r", "table", declared::variable, 1},
        {"\tinc;flag db 1", ""},
        {"\tPUSH\r", ""},
        {"\tcmpxchg8b [bx]", ""},
        {"\tdb 1, 2", ""},  // a data definition without a name: the rows of a table
        {"\tDW 0FFFFh\r", ""},
        {"\tdd;x dw 1", ""},
        {"\tdb_size dw 1", "db_size", declared::variable, 2},  // a data directive begins the word
        {"\tdwords\tdd 0", "dwords", declared::variable, 4},
        {"@@local:", ""},
        {":", ""},
    };
    // Each line alone, and with more text after it (read ahead of the line where it can be).
    for (const line_case& c : cases) {
        for (const std::string& text : {c.line, c.line + "\n", c.line + "\n; " + std::string(40, '-') + "\n"}) {
            const program_declarations d = collect(text);
            if (c.name.empty()) {
                EXPECT_EQ(d.names.size(), 0U) << text;
                continue;
            }
            EXPECT_EQ(facts_of(d, c.name).kind, c.kind) << text;
            EXPECT_EQ(facts_of(d, c.name).size, c.size) << text;
        }
    }
}

// What the first look asks of an indented line, read the plain way: the first word after the
// blanks, up to a blank or ";", in the line without a carriage return at its end, names an
// instruction in the mnemonic table.
bool first_word_names_instruction(std::string_view line)
{
    if (!line.empty() && line.back() == '\r') {
        line.remove_suffix(1);
    }
    std::size_t begin = 0;
    while (begin < line.size() && (line[begin] == ' ' || line[begin] == '\t')) {
        ++begin;
    }
    std::size_t end = begin;
    while (end < line.size() && line[end] != ' ' && line[end] != '\t' && line[end] != ';') {
        ++end;
    }
    const mnemonic_row* row = end > begin ? mnemonic_table.find(line.substr(begin, end - begin)) : nullptr;
    return row != nullptr && names_instruction(row->kind);
}

TEST(indented_instruction, answers_for_the_first_word_as_the_mnemonic_table_does)
{
    // Every indentation, word and ending of these, in every combination: the line alone, as the
    // last line of a text, and followed by more lines that may be read past its end.
    const std::vector<std::string> indents = {" ", "\t", "\t\t", "  \t", std::string(15, ' '), std::string(17, '\t'),
                                              "\v", "\r"};
    const std::vector<std::string> words = {
        "mov", "MOV", "Mov", "ret", "int", "in", "lodsb", "pushfd", "cmpxchg", "cmpxchg8b", "sysenter", "LOOPNZ",
        "db", "DW", "proc", "equ", "movsx_flag", "add2", "tbl12", "mov@", "m[v", "MOV\x7f", "\xcdov",
        "L123:", "@@x", std::string("mov\0", 4), std::string("\0mov", 4), "", ";", "mov\x0b", "m\rov"};
    const std::vector<std::string> endings = {"", " ax, bx", "\tax", ";c", "\r", "\r\r", "\rax", " \r", ";\r",
                                              "\x0b", "\f ax"};
    for (const std::string& indent : indents) {
        for (const std::string& word : words) {
            for (const std::string& ending : endings) {
                const std::string line = indent + word + ending;
                const bool expected = first_word_names_instruction(line);
                for (const std::string& after : {std::string(), "\n" + std::string(40, 'x'), std::string("\nm")}) {
                    const std::string text = line + after;
                    EXPECT_EQ(indented_instruction(std::string_view(text).substr(0, line.size()),
                                                   text.data() + text.size()),
                              expected)
                        << ::testing::PrintToString(text);
                }
            }
        }
    }
}

TEST(collect_declarations, stops_at_the_limit_and_says_so)
{
    std::string text;
    for (int n = 0; n < 100; ++n) {
        text.append("v").append(std::to_string(n)).append(" dw 0\n");
    }
    program_declarations all;
    collect_declarations_from_text(text, ".", all);
    EXPECT_FALSE(all.truncated);
    EXPECT_EQ(all.names.size(), 100U);
    // A smaller limit (the real one is four million) keeps the first names and no more.
    program_declarations some;
    some.limit = 40;
    collect_declarations_from_text(text + "p proc\nx: jmp @@a\np endp\n", ".", some);
    EXPECT_TRUE(some.truncated);
    EXPECT_EQ(some.limit_line, 41U);  // v40's line, where the conversion warns
    EXPECT_EQ(some.names.size(), 40U);
    EXPECT_NE(some.find("v39"), nullptr);
    EXPECT_EQ(some.find("v40"), nullptr);
    EXPECT_TRUE(some.procedures.empty());
    EXPECT_TRUE(some.scopes.empty());
}

// What include lines declare counts toward the limit too: a file included again and again adds
// its equates at each include line until the limit, and later include lines read as ones whose
// file cannot be read, so that repeating a line cannot make the pass keep more. Comment blocks
// count as well.
TEST(collect_declarations, repeated_includes_and_comment_blocks_stay_within_the_limit)
{
    scratch_folder folder;
    write_file(folder / "eq.inc", "a equ 1\nb equ 2\nc equ 3\nd equ 4\n");
    std::string text;
    for (int n = 0; n < 100; ++n) {
        text += "include eq.inc\ncomment ~ ~\n";
    }
    program_declarations d;
    d.limit = 60;
    collect_declarations_from_text(text, folder.path().string(), d);
    EXPECT_TRUE(d.truncated);
    EXPECT_LE(d.include_items.size() + d.includes.size() + d.comments.size() + d.names.size(), 60U);
    ASSERT_FALSE(d.includes.empty());
    EXPECT_TRUE(d.includes.front().found);
    EXPECT_EQ(d.includes.front().item_count, 4U);
    EXPECT_FALSE(d.includes.back().found);
}

// Included files are read up to a budget of bytes in all: the include whose file the budget cuts,
// and the ones after it, read as files that cannot be read.
TEST(collect_declarations, included_files_are_read_within_their_budget)
{
    scratch_folder folder;
    write_file(folder / "small.inc", "a equ 1\n");
    std::string large;
    for (int n = 0; n < 20000; ++n) {
        large.append("b").append(std::to_string(n)).append(" equ 2\n");
    }
    write_file(folder / "large.inc", large);
    program_declarations d;
    d.include_budget = large.size() / 2;
    collect_declarations_from_text("include small.inc\ninclude large.inc\ninclude small.inc\n", folder.path().string(), d);
    ASSERT_EQ(d.includes.size(), 3U);
    EXPECT_TRUE(d.includes[0].found);
    EXPECT_FALSE(d.includes[1].found);
    EXPECT_FALSE(d.includes[2].found);
    // And up to a number of files looked for, found or not: a file that includes another four
    // times takes five.
    write_file(folder / "four.inc", "include small.inc\ninclude small.inc\ninclude small.inc\ninclude small.inc\n");
    program_declarations counted;
    counted.include_file_budget = 6;
    collect_declarations_from_text("include four.inc\ninclude missing.inc\ninclude four.inc\ninclude small.inc\n",
                                   folder.path().string(), counted);
    ASSERT_EQ(counted.includes.size(), 4U);
    EXPECT_TRUE(counted.includes[0].found);
    EXPECT_FALSE(counted.includes[1].found);
    EXPECT_FALSE(counted.includes[2].found);  // its file would be the seventh looked for
    EXPECT_FALSE(counted.includes[3].found);
}

// Tasm's constant expressions, as far as both assemblers read the same number from them.
TEST(constant_value, works_out_what_tasm_and_gnu_as_agree_on)
{
    const program_declarations d = collect("SIX = 6\nTWO equ 2\nSUM = SIX + TWO\ncount dw 0\nNEG = -1\n");
    struct row {
        std::string_view text;
        std::optional<std::int64_t> value;  // none: not known
    };
    const row rows[] = {
        {"3", 3}, {"0FFh", 255}, {"SIX", 6}, {"six*two", 12}, {"SUM", 8}, {"( 7 )", 7},
        {"2 + 3 or 4", 5},                 // or is looser than +
        {"1 + 2 * 3", 7}, {"10 - 4 - 3", 3}, {"17 / 5", 3}, {"17 mod 5", 2},
        {"1 shl 7", 128}, {"256 shr 4", 16}, {"high 1234h", 0x12}, {"low 1234h", 0x34},
        {"SIX ge 3", -1}, {"SIX lt 3", 0}, {"3 eq 3", -1}, {"3 ne 3", 0}, {"2 le 2", -1}, {"2 gt 2", 0},
        {"not 0", -1}, {"not 1 eq 1", 0},   // not covers the comparison
        {"not SIX ge 7", -1},
        {"SIX ge 3 and TWO eq 2", -1}, {"0 or TWO eq 2", -1}, {"-1 xor -1", 0}, {"-5 + 5", 0},
        // Beyond what the pass knows, or where 32 and 64 bits differ:
        {"NEG", -1}, {"NEG + 1", 0}, {"count", std::nullopt}, {"undeclared", std::nullopt}, {"$", std::nullopt},
        {"'A'", std::nullopt}, {"ax", std::nullopt}, {"1 /", std::nullopt}, {"(1", std::nullopt},
        {"1 2", std::nullopt}, {"", std::nullopt}, {"5 / 0", std::nullopt}, {"5 mod 0", std::nullopt},
        {"-1 shr 1", std::nullopt}, {"1 shl 32", std::nullopt}, {"-1 lt 0", std::nullopt},
        {"0FFFFFFFFh + 1", std::nullopt}, {"(not 0) shr 4", std::nullopt}, {"10000h * 10000h", std::nullopt},
    };
    for (const row& r : rows) {
        std::int64_t value = 12345;
        const bool known = constant_value(r.text, d, value);
        EXPECT_EQ(known, r.value.has_value()) << r.text;
        if (known && r.value) {
            EXPECT_EQ(value, *r.value) << r.text;
        }
    }
    // Nesting past what is followed is unknown, not a deep recursion.
    std::int64_t value = 0;
    EXPECT_FALSE(constant_value(std::string(100000, '(') + "1" + std::string(100000, ')'), d, value));
    EXPECT_FALSE(constant_value(std::string(100000, '-') + "1", d, value));
    EXPECT_FALSE(constant_value(std::string(100000, 'n'), d, value));
    std::string nots;
    for (int n = 0; n < 30000; ++n) {
        nots += "not ";
    }
    EXPECT_FALSE(constant_value(nots + "0", d, value));
}

// A branch of conditional assembly that Tasm does not assemble declares nothing; the pass decides
// the conditions over the constants and names declared before them.
TEST(collect_declarations, conditional_assembly_declares_what_the_branch_tasm_takes_declares)
{
    struct row {
        std::string_view program;
        std::uint32_t size;  // of v
    };
    const row rows[] = {
        {"V = 3\n  if V ge 3\nv dw 0\n  else\nv db 0\n  endif\n", 2},
        {"V = 2\n  if V ge 3\nv dw 0\n  else\nv db 0\n  endif\n", 1},
        {"DEBUG equ 0\nIFE DEBUG\nv dd 0\nELSE\nv db 0\nENDIF\n", 4},               // in the first column
        {"M = 2\n if M eq 1\nv db 0\n elseif M eq 2\nv dw 0\n else\nv dd 0\n endif\n", 2},
        {"M = 3\n if M eq 1\nv db 0\n elseif M eq 2\nv dw 0\n else\nv dd 0\n endif\n", 4},
        {"M = 1\n if M eq 1\nv db 0\n elseif M eq 1\nv dw 0\n endif\n", 1},           // the first taken only
        {"FLAG = 1\n ifdef FLAG\nv dw 0\n else\nv db 0\n endif\n", 2},
        {"FLAG = 1\n ifndef FLAG\nv dw 0\n else\nv db 0\n endif\n", 1},
        {" if 0\n  if 1\nv dw 0\n  else\nv dq 0\n  endif\n else\nv db 0\n endif\n", 1},  // inside a skipped one
        {"N = 1 shl 3\nN = N + 1\n if N gt 8 ; nine\nv dw 0\n endif\n", 2},
        {"v dd 0\n if 0\nv db 0 ; skipped\n endif\n", 4},
        {"  ideal\n  if 1\nlabel v word\n  endif\n", 2},
    };
    for (const row& r : rows) {
        const program_declarations d = collect(std::string(r.program));
        EXPECT_EQ(facts_of(d, "v").size, r.size) << r.program;
        EXPECT_FALSE(facts_of(d, "v").conflicting) << r.program;
        EXPECT_FALSE(d.conflicting_names) << r.program;
    }
    // What a skipped branch would declare stays undeclared: a procedure, a structure, a constant,
    // a text, a count.
    const program_declarations d = collect(
        "DEBUG = 0\n if DEBUG\nMAX equ 1\nP equ <[bp+6]>\nS struc\nf db ?\nS ends\nwork proc far\nwork endp\n"
        " else\nMAX equ 5\nwork proc near\n ret\nwork endp\n endif\ntries db MAX dup (0)\n");
    EXPECT_EQ(facts_of(d, "MAX").value, 5U);
    EXPECT_EQ(facts_of(d, "tries").count, 5U);
    EXPECT_FALSE(facts_of(d, "work").far);
    EXPECT_EQ(d.find("S"), nullptr);
    EXPECT_EQ(d.find("f"), nullptr);
    EXPECT_TRUE(d.text_equates.empty());
    ASSERT_EQ(d.procedures.size(), 1U);
    EXPECT_EQ(d.procedures[0].first_line, 12U);
}

// A condition the pass cannot decide (a name the file does not define, as tasm /dDEBUG may)
// leaves every branch's declarations; a name that branches declare otherwise is conflicting, a
// constant given other values there has no known value.
TEST(collect_declarations, undecided_branches_mark_names_they_declare_otherwise)
{
    const program_declarations d = collect(
        " ifdef BIG\nv dw 0\nonce dw 0\nsame db 0\nMAX equ 10\nP equ word ptr [bp+6]\nwork proc far\n"
        " else\nv db 0\nsame db 0\nMAX equ 5\nP equ word ptr [bp+4]\nwork proc near\n endif\n"
        " ret\nwork endp\ntries db MAX dup (0)\n"
        " if BIG\nTRACE = 1\n endif\n ifdef TRACE\nw dw 0\n else\nw dd 0\n endif\n"
        "K = 1\n if 1\nK = 2\n endif\nbuf db K dup (0)\n");
    EXPECT_TRUE(d.conflicting_names);
    for (const std::string_view name : {"v", "work", "w"}) {
        EXPECT_TRUE(facts_of(d, name).conflicting) << name;
    }
    for (const std::string_view name : {"once", "same", "MAX", "tries", "K"}) {
        EXPECT_FALSE(facts_of(d, name).conflicting) << name;
    }
    EXPECT_TRUE(facts_of(d, "MAX").value_uncertain);
    EXPECT_EQ(facts_of(d, "tries").count, 0U);       // Tasm's length: 10 or 5
    EXPECT_FALSE(facts_of(d, "K").value_uncertain);  // a decided branch
    EXPECT_EQ(facts_of(d, "buf").count, 2U);
    ASSERT_EQ(d.text_equates.size(), 2U);
    EXPECT_FALSE(d.text_equates[0].conflicting);
    EXPECT_TRUE(d.text_equates[1].conflicting);
}

// Where a block asks for a name the file declares nowhere before (ifdef BIG, ifndef SMALL), the
// declarations are those of the branch assembled where nothing is defined outside the file, as
// GNU As assembles the converted lines: still marked, since tasm /dBIG may take the other.
TEST(collect_declarations, undecided_names_follow_the_branch_taken_where_nothing_is_defined_outside)
{
    const program_declarations d = collect(
        " ifndef SMALL\nv dw 0\nP equ <[bp+6]>\nMAX = 8\nwork proc far\n else\nv db 0\nP equ <[bp+4]>\n"
        "MAX = 2\nwork proc near\n endif\n ret\nwork endp\n"
        " ifdef BIG\nw dd 0\n elseifdef HUGE\nw dq 0\n else\nw dw 0\n endif\n"
        " ifdef SW\nu dw 0\n elseif 1\nu dd 0\n else\nu db 0\n endif\n");
    EXPECT_EQ(facts_of(d, "v").size, 2U);
    EXPECT_TRUE(facts_of(d, "v").conflicting);
    EXPECT_TRUE(facts_of(d, "work").far);
    ASSERT_EQ(d.procedures.size(), 1U);
    EXPECT_TRUE(d.procedures[0].far);
    EXPECT_TRUE(facts_of(d, "MAX").value_uncertain);
    std::string_view text;
    ASSERT_TRUE(d.text_of("P", 12, text));
    EXPECT_EQ(text, "[bp+6]");
    EXPECT_EQ(facts_of(d, "w").size, 2U);  // elseifdef HUGE gives the default up: the last declaration
    EXPECT_EQ(facts_of(d, "u").size, 4U);  // elseif 1 is taken where SW is not defined
}

// What comes after an undecidable branch and depends on it is not taken from either branch: a
// structure's fields after a field in such a branch of its own lie at unknown offsets, a model
// chosen there leaves the distance of procedures without one unknown, and a label there opens no
// scope for the @@ labels after the block.
TEST(collect_declarations, what_depends_on_an_undecided_branch_is_unknown)
{
    const program_declarations fields = collect(
        "s struc\nfirst db ?\n ifdef BIG\na dd ?\n else\na dw ?\n endif\nb db ?\ns ends\n"
        " ifdef BIG\nwhole struc\nw dd ?\nwhole ends\n endif\n");
    EXPECT_EQ(facts_of(fields, "first").offset, 0U);
    EXPECT_EQ(facts_of(fields, "b").offset, unknown_offset);
    EXPECT_TRUE(facts_of(fields, "a").conflicting);
    EXPECT_EQ(facts_of(fields, "s").size, 0U);        // unknown
    EXPECT_EQ(facts_of(fields, "whole").size, 4U);    // a whole structure in a branch is laid out
    const program_declarations model = collect(
        " ifdef BIG\n .model medium\n else\n .model small\n endif\n .code\np proc\n ret\np endp\n"
        "q proc near\n ret\nq endp\n");
    EXPECT_TRUE(facts_of(model, "p").conflicting);
    EXPECT_FALSE(facts_of(model, "q").conflicting);
    const program_declarations scopes = collect(
        "start: jmp @@go\n@@go: nop\n ifdef SW\nalt: nop\n endif\n jmp @@go\n");
    for (const local_scope& scope : scopes.scopes) {
        EXPECT_NE(scope.name, scopes.names.find("alt"));
    }
    EXPECT_EQ(facts_of(scopes, "alt").kind, declared::label);
    // Each branch begins in the segment the block began in; a code size set there is uncertain
    // until one is set elsewhere.
    const program_declarations segments = collect(
        " ifdef FLAT\ncode segment use32\n else\ncode segment use16\n endif\n nop\ncode ends\n"
        "more segment use16\n nop\nmore ends\n nop\n");
    ASSERT_FALSE(segments.code_sizes.empty());
    EXPECT_TRUE(segments.code_sizes[0].uncertain);
    EXPECT_EQ(segments.code_sizes.back().bits, 16);
    EXPECT_FALSE(segments.code_sizes.back().uncertain);
    ASSERT_FALSE(segments.segments.empty());
    EXPECT_EQ(segments.segments.back().segment, 0U);  // after more ends, no segment: code ended before
}

// An include file's guard (ifndef NAME followed by NAME = 1) is taken though NAME is defined
// nowhere before; conditions the pass decides leave an include declarations only, one it cannot
// decide does not.
TEST(collect_declarations, an_include_guard_is_taken_and_decided_conditions_keep_an_include_declarations_only)
{
    scratch_folder folder;
    write_file(folder / "hw.inc", "ifndef __HW_INC\n__HW_INC = 1\nPORT equ 3F8h\n if PORT gt 300h\nHIGH_PORT equ 1\n"
                                  " else\nHIGH_PORT equ 0\n endif\nendif\n");
    write_file(folder / "sw.inc", " ifdef SWITCH\nMODE equ 2\n endif\n");
    write_file(folder / "notguard.inc", " ifndef OTHER\nMODE2 equ 2\n endif\n");
    const program_declarations d = collect("include hw.inc\ninclude HW.INC\ninclude sw.inc\ninclude notguard.inc\n",
                                           folder.path().string());
    ASSERT_EQ(d.includes.size(), 4U);
    EXPECT_TRUE(d.includes[0].declarations_only);
    EXPECT_TRUE(d.includes[1].declarations_only);
    EXPECT_FALSE(d.includes[2].declarations_only);
    EXPECT_FALSE(d.includes[3].declarations_only);
    EXPECT_EQ(facts_of(d, "HIGH_PORT").value, 1U);
    EXPECT_FALSE(facts_of(d, "PORT").conditional);
    EXPECT_TRUE(facts_of(d, "MODE2").conditional);
    // The second reading declares nothing: its guard is defined.
    EXPECT_EQ(d.includes[1].item_count, 0U);
}

// Blocks that never close, ends without a block and blocks nested past what is followed read
// on without harm: inside the deepest ones everything is undecided.
TEST(collect_declarations, unbalanced_and_deep_conditionals_are_read_on)
{
    std::string deep;
    for (int n = 0; n < 200; ++n) {
        deep += " if 1\n";
    }
    deep += "v dw 0\n else\nv db 0\n";
    for (int n = 0; n < 200; ++n) {
        deep += " endif\n";
    }
    deep += " endif\n endif\n if 0\nlost db 0\n";
    const program_declarations d = collect(deep);
    EXPECT_TRUE(facts_of(d, "v").conflicting);
    EXPECT_EQ(d.find("lost"), nullptr);
    const program_declarations shallow = collect(" endif\n else\nv dw 0\n");
    EXPECT_EQ(facts_of(shallow, "v").size, 2U);
}

// The table of names: names that share their first bytes are told apart by their length and
// the rest, in any case, through the growing of the index.
TEST(name_table, finds_names_that_share_their_first_bytes_in_any_case)
{
    name_table<name_facts> names;
    const std::vector<std::string> sharing_a_head = {"abcdefg", "abcdefgh", "abcdefghi", "abcdefghijklmnop"};
    for (const std::string& name : sharing_a_head) {
        names.add(name);
    }
    for (int n = 0; n < 300; ++n) {
        std::string name = "n";
        name += std::to_string(n);
        names.add(name);  // the index grows several times
    }
    for (std::size_t at = 0; at < sharing_a_head.size(); ++at) {
        std::string upper = sharing_a_head[at];
        for (char& c : upper) {
            c = static_cast<char>(c - 'a' + 'A');
        }
        bool alike = false;
        EXPECT_EQ(names.find(make_word_key(sharing_a_head[at]), alike), at) << sharing_a_head[at];
        EXPECT_TRUE(alike);
        EXPECT_EQ(names.find(make_word_key(upper), alike), at) << upper;
        EXPECT_FALSE(alike);
    }
    // A name is compared with its length too: a zero byte in untrusted input pads nothing.
    const std::string_view with_zero("ab\0", 3);
    const std::uint32_t zero_entry = names.add(with_zero);
    EXPECT_EQ(names.find("ab"), names.none);
    EXPECT_NE(names.add("ab"), zero_entry);
    EXPECT_EQ(names.find(with_zero), zero_entry);
    EXPECT_EQ(names.find("abcdef"), names.none);
    EXPECT_EQ(names.find("abcdefghij"), names.none);
    EXPECT_EQ(names.find("n299"), sharing_a_head.size() + 299);

    // The lookup index finds what find finds, with each name's marks, until a name is added.
    names.facts(1).kind = declared::label;
    names.index_lookups([](const name_facts& facts) { return facts.kind == declared::label ? 5 : 0; });
    const auto find_marked = [&](std::string_view word, bool& alike, std::uint8_t& marks) {
        return names.find_marked(make_word_key(word), pack_head(word), alike, marks);
    };
    for (std::uint32_t entry = 0; entry < names.size(); ++entry) {
        std::string upper(names.name(entry));
        for (char& c : upper) {
            c = is_letter(c) ? static_cast<char>(c & ~0x20) : c;
        }
        for (const std::string_view word : {names.name(entry), std::string_view(upper)}) {
            bool alike = false;
            std::uint8_t marks = 0;
            EXPECT_EQ(find_marked(word, alike, marks), entry) << ::testing::PrintToString(std::string(word));
            EXPECT_EQ(alike, word == names.name(entry));
            EXPECT_EQ(marks, names.marks_known | (entry == 1 ? 5 : 0));
        }
    }
    bool alike = false;
    std::uint8_t marks = 0;
    EXPECT_EQ(find_marked("abcdefghij", alike, marks), names.none);
    EXPECT_EQ(find_marked("abc", alike, marks), names.none);
    names.add("new");
    EXPECT_EQ(find_marked("abcdefgh", alike, marks), 1U);
    EXPECT_EQ(marks, 0);  // the index is dropped: no marks known

    names.respell(0, "ABCDEFG");
    EXPECT_EQ(names.find(make_word_key("ABCDEFG"), alike), 0U);
    EXPECT_TRUE(alike);
    EXPECT_EQ(names.find(make_word_key("abcdefg"), alike), 0U);
    EXPECT_FALSE(alike);
}

} // namespace
} // namespace dravent
