// Tasm directives that a handler rewrites, that a line writer converts whole, or that are dropped
// from the line; and the conversion of the lines that data definitions and line writers make.
#pragma once

#include "convert/conversion_context.hpp"
#include "convert/converted_line.hpp"
#include "convert/data_directive.hpp"
#include "convert/statement_draft.hpp"
#include "source/source_line.hpp"
#include "text/hashed_table.hpp"
#include "vocabulary/mnemonics.hpp"

#include <array>
#include <cstdint>
#include <string_view>

namespace dravent {

// A handler rewrites the draft of a line that carries its directive; it may write text of its own
// into the line's buffer.
using directive_handler = void (*)(statement_draft&, const conversion_context&, converted_line&);

// x = ... : a size keyword (and "ptr") in front of the one value goes.
void handle_assign(statement_draft& draft, const conversion_context& context, converted_line& line);
// name equ value becomes .equ name, value: the name moves into the mnemonic field.
void handle_equ(statement_draft& draft, const conversion_context& context, converted_line& line);
void handle_textequ(statement_draft& draft, const conversion_context& context, converted_line& line);

// A directive line as a line writer sees it.
struct directive_line {
    std::string_view label;      // the name written before the directive, or empty
    std::string_view word;       // the directive as written
    std::string_view arguments;  // what follows it up to the comment, without blanks at either end
};

// A line writer converts the whole line of its directive into line, whose label and statements
// are still empty; the comment is set already.
using line_writer = void (*)(const directive_line&, const conversion_context&, converted_line&);

// comm [near] name:type[:count], ...: .comm name, bytes for each communal variable (one the
// linker lays out once for every module that names it). A far one, one with a language or a type
// or count Dravent does not know stays as written.
void write_comm(const directive_line& directive, const conversion_context& context, converted_line& line);
// model, .model: .code16 for the models with near code (tiny, small, compact), .code32 for flat
// or use32. The models with far code (medium, large, huge, tpascal) stay as written: a proc
// without a distance is far there, and its ret a far return.
void write_model(const directive_line& directive, const conversion_context& context, converted_line& line);
// Conditional assembly: if, ife, elseif, ifdef, ifndef, else, endif become .if, .ifeq, .elseif,
// .ifdef, .ifndef, .else, .endif, the condition written as an expression (a name for ifdef and
// ifndef). The forms for macro arguments (ifb, ifidn, ...) and for passes (if1, if2) stay.
void write_conditional(const directive_line& directive, const conversion_context& context, converted_line& line);
// .data, .list, .nolist: GNU As has the same directive, written as it stands.
void write_gnu_as_directive(const directive_line& directive, const conversion_context& context, converted_line& line);
// .code: .text. .data?, udataseg: .bss. .const, const: .section .rodata.
void write_code_section(const directive_line& directive, const conversion_context& context, converted_line& line);
void write_bss_section(const directive_line& directive, const conversion_context& context, converted_line& line);
void write_rodata_section(const directive_line& directive, const conversion_context& context, converted_line& line);
// name segment [align] [combine] [use16|use32] ['class'] (IDEAL: segment name ...): a section of
// that name, "ax" for code, "aw" for data, then .code16 or .code32 where the line says use16 or
// use32. _TEXT, _DATA and _BSS are .text, .data and .bss. An AT segment stays as written.
void write_segment(const directive_line& directive, const conversion_context& context, converted_line& line);
void write_ends(const directive_line& directive, const conversion_context& context, converted_line& line);
// name proc [near] (IDEAL: proc name [near]): the label name:. A far proc, or one with a
// language, arguments or uses, stays as written: Tasm gives it code that GNU As would not.
void write_proc(const directive_line& directive, const conversion_context& context, converted_line& line);
// name label type (IDEAL: label name type): the label name:.
void write_label(const directive_line& directive, const conversion_context& context, converted_line& line);
// global a:word, b:proc: .globl a,b.
void write_global(const directive_line& directive, const conversion_context& context, converted_line& line);
// .8086, p286, .386, .287, jumps, nojumps, ...: .arch where the declarations change what GNU As is to
// assemble for there (arch_change). Elsewhere the line is dropped before the writer is called.
void write_processor(const directive_line& directive, const conversion_context& context, converted_line& line);
// even, evendata: .balign 2.
void write_even(const directive_line& directive, const conversion_context& context, converted_line& line);

// A row with neither handler nor writer drops the directive with its label and operands, leaving
// only the line's comment. found_in_label replaces how the statement was found once a handler has
// run: a label beside a handled directive gets no colon. A row with a writer gets the whole line.
struct directive_row {
    std::string_view name;
    directive_handler handler;
    bool found_in_label;
    line_writer write;
};

inline constexpr hashed_table directive_table{std::to_array<directive_row>({
    {"%conds",    nullptr,        false, nullptr},
    {"%cref",     nullptr,        false, nullptr},
    {"%ctls",     nullptr,        false, nullptr},
    {"%incl",     nullptr,        false, nullptr},
    {"%list",     nullptr,        false, nullptr},
    {"%macs",     nullptr,        false, nullptr},
    {"%noconds",  nullptr,        false, nullptr},
    {"%nocref",   nullptr,        false, nullptr},
    {"%noctls",   nullptr,        false, nullptr},
    {"%noincl",   nullptr,        false, nullptr},
    {"%nolist",   nullptr,        false, nullptr},
    {"%nomacs",   nullptr,        false, nullptr},
    {"%nosyms",   nullptr,        false, nullptr},
    {"%notrunc",  nullptr,        false, nullptr},
    {"%out",      nullptr,        false, nullptr},
    {"%pagesize", nullptr,        false, nullptr},
    {"%subttl",   nullptr,        false, nullptr},
    {"%syms",     nullptr,        false, nullptr},
    {"%title",    nullptr,        false, nullptr},
    {"%trunc",    nullptr,        false, nullptr},
    {".186",      nullptr,        false, write_processor},
    {".286",      nullptr,        false, write_processor},
    {".286c",     nullptr,        false, write_processor},
    {".286p",     nullptr,        false, write_processor},
    {".287",      nullptr,        false, write_processor},
    {".386",      nullptr,        false, write_processor},
    {".386c",     nullptr,        false, write_processor},
    {".386p",     nullptr,        false, write_processor},
    {".387",      nullptr,        false, write_processor},
    {".486",      nullptr,        false, write_processor},
    {".486c",     nullptr,        false, write_processor},
    {".486p",     nullptr,        false, write_processor},
    {".586",      nullptr,        false, write_processor},
    {".586c",     nullptr,        false, write_processor},
    {".586p",     nullptr,        false, write_processor},
    {".8086",     nullptr,        false, write_processor},
    {".8087",     nullptr,        false, write_processor},
    {".code",     nullptr,        false, write_code_section},
    {".const",    nullptr,        false, write_rodata_section},
    {".cref",     nullptr,        false, nullptr},
    {".data",     nullptr,        false, write_gnu_as_directive},
    {".data?",    nullptr,        false, write_bss_section},
    {".err",      nullptr,        false, write_conditional},
    {".errdef",   nullptr,        false, write_conditional},
    {".erre",     nullptr,        false, write_conditional},
    {".errndef",  nullptr,        false, write_conditional},
    {".errnz",    nullptr,        false, write_conditional},
    {".lall",     nullptr,        false, nullptr},
    {".list",     nullptr,        false, write_gnu_as_directive},
    {".lfcond",   nullptr,        false, nullptr},
    {".model",    nullptr,        false, write_model},
    {".nolist",   nullptr,        false, write_gnu_as_directive},
    {".sall",     nullptr,        false, nullptr},
    {".sfcond",   nullptr,        false, nullptr},
    {".stack",    nullptr,        false, nullptr},
    {".tfcond",   nullptr,        false, nullptr},
    {".xall",     nullptr,        false, nullptr},
    {".xcref",    nullptr,        false, nullptr},
    {".xlist",    nullptr,        false, nullptr},
    {"=",         handle_assign,  true,  nullptr},
    {"assume",    nullptr,        false, nullptr},
    {"comm",      nullptr,        false, write_comm},
    {"const",     nullptr,        false, write_rodata_section},
    {"dosseg",    nullptr,        false, nullptr},
    {"else",      nullptr,        false, write_conditional},
    {"elseif",    nullptr,        false, write_conditional},
    {"emul",      nullptr,        false, nullptr},
    {"end",       nullptr,        false, nullptr},
    {"endif",     nullptr,        false, write_conditional},
    {"endp",      nullptr,        false, nullptr},
    {"ends",      nullptr,        false, write_ends},
    {"equ",       handle_equ,     true,  nullptr},
    {"err",       nullptr,        false, write_conditional},
    {"errif",     nullptr,        false, write_conditional},
    {"errifdef",  nullptr,        false, write_conditional},
    {"errife",    nullptr,        false, write_conditional},
    {"errifndef", nullptr,        false, write_conditional},
    {"even",      nullptr,        false, write_even},
    {"evendata",  nullptr,        false, write_even},
    {"extrn",     nullptr,        false, nullptr},
    {"global",    nullptr,        false, write_global},
    {"group",     nullptr,        false, nullptr},
    {"ideal",     nullptr,        false, nullptr},
    {"if",        nullptr,        false, write_conditional},
    {"ifdef",     nullptr,        false, write_conditional},
    {"ife",       nullptr,        false, write_conditional},
    {"ifndef",    nullptr,        false, write_conditional},
    {"jumps",     nullptr,        false, write_processor},
    {"label",     nullptr,        false, write_label},
    {"locals",    nullptr,        false, nullptr},
    {"masm",      nullptr,        false, nullptr},
    {"masm51",    nullptr,        false, nullptr},
    {"model",     nullptr,        false, write_model},
    {"noemul",    nullptr,        false, nullptr},
    {"nojumps",   nullptr,        false, write_processor},
    {"nolocals",  nullptr,        false, nullptr},
    {"nomasm51",  nullptr,        false, nullptr},
    {"nosmart",   nullptr,        false, nullptr},
    {"p186",      nullptr,        false, write_processor},
    {"p286",      nullptr,        false, write_processor},
    {"p286n",     nullptr,        false, write_processor},
    {"p286p",     nullptr,        false, write_processor},
    {"p287",      nullptr,        false, write_processor},
    {"p386",      nullptr,        false, write_processor},
    {"p386n",     nullptr,        false, write_processor},
    {"p386p",     nullptr,        false, write_processor},
    {"p387",      nullptr,        false, write_processor},
    {"p486",      nullptr,        false, write_processor},
    {"p486n",     nullptr,        false, write_processor},
    {"p586",      nullptr,        false, write_processor},
    {"p586n",     nullptr,        false, write_processor},
    {"p8086",     nullptr,        false, write_processor},
    {"p8087",     nullptr,        false, write_processor},
    {"page",      nullptr,        false, nullptr},
    {"pno87",     nullptr,        false, nullptr},
    {"proc",      nullptr,        false, write_proc},
    {"segment",   nullptr,        false, write_segment},
    {"smart",     nullptr,        false, nullptr},
    {"stack",     nullptr,        false, nullptr},
    {"subttl",    nullptr,        false, nullptr},
    {"textequ",   handle_textequ, true,  nullptr},
    {"title",     nullptr,        false, nullptr},
    {"udataseg",  nullptr,        false, write_bss_section},
})};
static_assert(directive_table.is_searchable(), "directive_table: names in lower case, each once");

// The vocabulary knows every word of this table as a directive, so that a word it does not know
// as one is never searched for here.
constexpr bool vocabulary_knows_the_directives()
{
    for (const directive_row& row : directive_table) {
        const std::size_t word = mnemonic_table.find_index(make_word_key(row.name));
        if (word == mnemonic_table.not_found || mnemonic_table.rows()[word].kind != word_kind::directive) {
            return false;
        }
    }
    return true;
}
static_assert(vocabulary_knows_the_directives(), "mnemonic_table must know every directive of directive_table");

// What convert_whole_line made of a line.
enum class whole_line : std::uint8_t { not_converted, data, directive };

// Converts the line by itself when it defines data, holds a directive whose row has a writer, or
// goes on with the data definition that the line before left open (continued): sets its label,
// statements, comment and leaves_open, and says which it was. Otherwise returns not_converted
// with only leaves_open set, for the statement converter to go on with the line. The directive is
// searched for as the statement converter searches it: by mnemonic, then, for a mnemonic that
// names no directive or rename, by label (a directive in the first column). Two kinds of data
// definition are left to the statement converter: a list of plain values (no quote, parenthesis
// or point), which it writes the same, and one GNU As has no form for, which it writes in a form
// GNU As rejects.
// The word that makes a line a data definition or a directive line, in the order the statement
// converter searches the tables: by mnemonic, then, for a mnemonic that names no directive or
// rename, by label.
enum class whole_line_word : std::uint8_t { none, data_in_mnemonic, data_in_label, directive_in_mnemonic, directive_in_label };

inline whole_line_word whole_line_word_of(const source_line& source)
{
    const mnemonic_row* mnemonic = source.mnemonic_word;
    if (mnemonic != nullptr && mnemonic->kind == word_kind::data) {
        return whole_line_word::data_in_mnemonic;
    }
    if (mnemonic != nullptr && !mnemonic->rename.empty()) {
        return whole_line_word::none;
    }
    const mnemonic_row* label = source.label_word;
    if (label != nullptr && label->kind == word_kind::data && !label->rename.empty()) {
        return whole_line_word::data_in_label;
    }
    if (label != nullptr && !label->rename.empty()) {
        return whole_line_word::none;
    }
    if (mnemonic != nullptr && mnemonic->kind == word_kind::directive) {
        return whole_line_word::directive_in_mnemonic;
    }
    if (label != nullptr && label->kind == word_kind::data) {
        return whole_line_word::data_in_label;
    }
    if (label != nullptr && label->kind == word_kind::directive) {
        return whole_line_word::directive_in_label;
    }
    return whole_line_word::none;
}

// The conversion of a line that word or an open definition makes a whole line.
whole_line convert_whole_line(whole_line_word word, const source_line& source, const conversion_context& context,
                              data_directive continued, converted_line& line);

// Most lines, an instruction, are told apart here without a call.
inline whole_line convert_whole_line(const source_line& source, const conversion_context& context,
                                     data_directive continued, converted_line& line)
{
    const whole_line_word word = whole_line_word_of(source);
    if (continued == data_directive::none && word == whole_line_word::none) {
        return whole_line::not_converted;
    }
    return convert_whole_line(word, source, context, continued, line);
}

} // namespace dravent
