// The converter's fixed vocabulary: registers, renamed mnemonics, directives, size keywords.
#pragma once

#include "line/characters.hpp"
#include "line/line_record.hpp"

#include <algorithm>
#include <array>
#include <cstddef>
#include <string_view>

namespace dravent {

// Rows of a sorted table compare by name with A-Z folded; every name is stored in lower case.
template <typename Table>
constexpr bool is_sorted_by_name(const Table& table)
{
    return std::is_sorted(table.begin(), table.end(),
                          [](const auto& a, const auto& b) { return compare_folded(a.name, b.name) < 0; });
}

// Binary search for the row whose name equals text without regard to case; nullptr when none does.
template <typename Table>
constexpr const typename Table::value_type* find_by_name(const Table& table, std::string_view text)
{
    const auto row = std::lower_bound(table.begin(), table.end(), text,
                                      [](const auto& r, std::string_view t) { return compare_folded(r.name, t) < 0; });
    return row != table.end() && compare_folded(row->name, text) == 0 ? &*row : nullptr;
}

// Register names an operand may use, with the size each names. Searched for the token at the
// start of an operand, or of a term inside brackets.
struct register_row {
    std::string_view name;
    int size;
};

inline constexpr std::array<register_row, 39> register_table{{
    {"ah",  SIZE_BYTE},  {"al",  SIZE_BYTE},  {"ax",  SIZE_WORD},  {"bh",  SIZE_BYTE},
    {"bl",  SIZE_BYTE},  {"bp",  SIZE_WORD},  {"bx",  SIZE_WORD},  {"ch",  SIZE_BYTE},
    {"cl",  SIZE_BYTE},  {"cr0", SIZE_DWORD}, {"cr1", SIZE_DWORD}, {"cr2", SIZE_DWORD},
    {"cr3", SIZE_DWORD}, {"cr4", SIZE_DWORD}, {"cx",  SIZE_WORD},  {"dh",  SIZE_BYTE},
    {"di",  SIZE_WORD},  {"dl",  SIZE_BYTE},  {"dr0", SIZE_DWORD}, {"dr1", SIZE_DWORD},
    {"dr2", SIZE_DWORD}, {"dr3", SIZE_DWORD}, {"dr4", SIZE_DWORD}, {"dr5", SIZE_DWORD},
    {"dr6", SIZE_DWORD}, {"dr7", SIZE_DWORD}, {"dx",  SIZE_WORD},  {"eax", SIZE_DWORD},
    {"ebp", SIZE_DWORD}, {"ebx", SIZE_DWORD}, {"ecx", SIZE_DWORD}, {"edi", SIZE_DWORD},
    {"edx", SIZE_DWORD}, {"esi", SIZE_DWORD}, {"esp", SIZE_DWORD}, {"si",  SIZE_WORD},
    {"sp",  SIZE_WORD},  {"tr6", SIZE_DWORD}, {"tr7", SIZE_DWORD},
}};
static_assert(is_sorted_by_name(register_table), "register_table must stay sorted for binary search");

// Segment registers: registers in operands and in segment overrides, but they name no operand
// size, so they give the mnemonic no letter (the other operand sets it).
struct segment_register_row {
    std::string_view name;
};

inline constexpr std::array<segment_register_row, 6> segment_register_table{{
    {"cs"}, {"ds"}, {"es"}, {"fs"}, {"gs"}, {"ss"},
}};
static_assert(is_sorted_by_name(segment_register_table), "segment_register_table must stay sorted");

// Tasm mnemonics and directives that GNU As spells differently, found in the mnemonic or the
// label field. movsx and movzx lose their suffix: the size letters of the operands complete them.
struct rename_row {
    std::string_view name;
    std::string_view replacement;
};

inline constexpr std::array<rename_row, 24> rename_table{{
    {"align",   ".align"},
    {"cbw",     "cbtw"},
    {"cdq",     "cltd"},
    {"cmpsd",   "cmpsl"},
    {"codeseg", ".text"},
    {"cwd",     "cwtd"},
    {"cwde",    "cwtl"},
    {"dataseg", ".data"},
    {"db",      ".byte"},
    {"dd",      ".int"},
    {"ddq",     ".octet"},
    {"do",      ".octet"},
    {"dq",      ".quad"},
    {"dt",      ".octet"},
    {"dw",      ".short"},
    {"insd",    "insl"},
    {"lodsd",   "lodsl"},
    {"movsd",   "movsl"},
    {"movsx",   "movs"},
    {"movzx",   "movz"},
    {"outsd",   "outsl"},
    {"public",  ".globl"},
    {"scasd",   "scasl"},
    {"stosd",   "stosl"},
}};
static_assert(is_sorted_by_name(rename_table), "rename_table must stay sorted for binary search");

// Tasm directives that are rewritten by a handler, or dropped (no handler) with their label and
// operands, leaving only the line's comment. result replaces the match result after a handler.
using directive_handler = void (*)(line_record&);

void handle_assign(line_record& record);
void handle_equ(line_record& record);
void handle_textequ(line_record& record);

struct directive_row {
    std::string_view name;
    directive_handler handler;
    int result;
};

inline constexpr std::array<directive_row, 10> directive_table{{
    {"=",       handle_assign,  1},
    {"dosseg",  nullptr,        0},
    {"end",     nullptr,        0},
    {"equ",     handle_equ,     1},
    {"extrn",   nullptr,        0},
    {"ideal",   nullptr,        0},
    {"model",   nullptr,        0},
    {"p386",    nullptr,        0},
    {"stack",   nullptr,        0},
    {"textequ", handle_textequ, 1},
}};
static_assert(is_sorted_by_name(directive_table), "directive_table must stay sorted for binary search");

// Size keywords of memory operands and assignments, tried in this order; the first match wins.
struct size_keyword_row {
    std::string_view name;
    int size;
};

inline constexpr std::array<size_keyword_row, 4> size_keyword_table{{
    {"byte",  SIZE_BYTE},
    {"word",  SIZE_WORD},
    {"dword", SIZE_DWORD},
    {"qword", SIZE_QWORD},
}};

// Line flags that a whole mnemonic (any case) gives its line, beside the jump rule for any
// mnemonic that begins with "j". Data directives keep their operands as written and in order;
// call and loop take a target like a jump; lea and the far-pointer loads take an address.
struct mnemonic_flags_row {
    std::string_view name;
    int flags;
};

inline constexpr std::array<mnemonic_flags_row, 32> mnemonic_flags_table{{
    {".align", LINE_DATA},
    {".byte",  LINE_DATA},
    {".equ",   LINE_DATA},
    {".globl", LINE_DATA},
    {".int",   LINE_DATA},
    {".quad",  LINE_DATA},
    {".short", LINE_DATA},
    {"=",      LINE_DATA},
    {"call",   LINE_JUMP},
    {"in",     LINE_PORT_IO},
    {"lds",    LINE_ADDRESS},
    {"lea",    LINE_ADDRESS},
    {"les",    LINE_ADDRESS},
    {"lfs",    LINE_ADDRESS},
    {"lgs",    LINE_ADDRESS},
    {"loop",   LINE_JUMP},
    {"loope",  LINE_JUMP},
    {"loopne", LINE_JUMP},
    {"loopnz", LINE_JUMP},
    {"loopz",  LINE_JUMP},
    {"lss",    LINE_ADDRESS},
    {"out",    LINE_PORT_IO},
    {"rcl",    LINE_SHIFT},
    {"rcr",    LINE_SHIFT},
    {"rol",    LINE_SHIFT},
    {"ror",    LINE_SHIFT},
    {"sal",    LINE_SHIFT},
    {"sar",    LINE_SHIFT},
    {"shl",    LINE_SHIFT},
    {"shld",   LINE_SHIFT},
    {"shr",    LINE_SHIFT},
    {"shrd",   LINE_SHIFT},
}};
static_assert(is_sorted_by_name(mnemonic_flags_table), "mnemonic_flags_table must stay sorted");

// The size of the register named by the token at the start of text (up to the first blank,
// any case), or 0 when it names none.
int lookup_register(std::string_view text);

// True when the token at the start of text (up to the first blank, any case) is cs, ds, es, fs,
// gs or ss.
bool names_segment_register(std::string_view text);

// When a size keyword followed by white space starts at text[cursor], moves cursor past the
// keyword (onto that white space) and returns its size; otherwise returns 0, cursor unchanged.
int match_size_keyword(std::string_view text, std::size_t& cursor);

} // namespace dravent
