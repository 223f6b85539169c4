// Mnemonics and data directives: the GNU As spelling of those Tasm writes differently, and the
// line flags that each gives its line.
#pragma once

#include "text/hashed_table.hpp"
#include "vocabulary/flags.hpp"

#include <array>
#include <string_view>

namespace dravent {

// A row names a Tasm mnemonic or directive, found in the mnemonic or the label field. rename is
// its GNU As text (empty when it has none); flags are the line flags of the line it ends up on,
// so a renamed row carries the flags of its replacement. movsx and movzx lose their suffix: the
// size letters of the operands complete them. Data directives keep their operands as written and
// in order; call and loop take a target like a jump (any mnemonic beginning with "j" does too);
// lea and the far-pointer loads take an address. A directive row names a Tasm directive whose
// treatment the converter's directive table gives.
struct mnemonic_row {
    std::string_view name;
    std::string_view rename;
    int flags;
    bool directive = false;
};

inline constexpr hashed_table mnemonic_table{std::to_array<mnemonic_row>({
    {".align",  "",        LINE_DATA},
    {".byte",   "",        LINE_DATA},
    {".equ",    "",        LINE_DATA},
    {".globl",  "",        LINE_DATA},
    {".int",    "",        LINE_DATA},
    {".quad",   "",        LINE_DATA},
    {".short",  "",        LINE_DATA},
    {"=",       "",        LINE_DATA,    true},
    {"align",   ".align",  LINE_DATA},
    {"call",    "",        LINE_JUMP},
    {"cbw",     "cbtw",    0},
    {"cdq",     "cltd",    0},
    {"cmpsd",   "cmpsl",   0},
    {"codeseg", ".text",   0},
    {"cwd",     "cwtd",    0},
    {"cwde",    "cwtl",    0},
    {"dataseg", ".data",   0},
    {"db",      ".byte",   LINE_DATA},
    {"dd",      ".int",    LINE_DATA},
    {"ddq",     ".octet",  0},
    {"do",      ".octet",  0},
    {"dosseg",  "",        0,            true},
    {"dq",      ".quad",   LINE_DATA},
    {"dt",      ".octet",  0},
    {"dw",      ".short",  LINE_DATA},
    {"end",     "",        0,            true},
    {"equ",     "",        0,            true},
    {"extrn",   "",        0,            true},
    {"ideal",   "",        0,            true},
    {"in",      "",        LINE_PORT_IO},
    {"insd",    "insl",    0},
    {"lds",     "",        LINE_ADDRESS},
    {"lea",     "",        LINE_ADDRESS},
    {"les",     "",        LINE_ADDRESS},
    {"lfs",     "",        LINE_ADDRESS},
    {"lgs",     "",        LINE_ADDRESS},
    {"lodsd",   "lodsl",   0},
    {"loop",    "",        LINE_JUMP},
    {"loope",   "",        LINE_JUMP},
    {"loopne",  "",        LINE_JUMP},
    {"loopnz",  "",        LINE_JUMP},
    {"loopz",   "",        LINE_JUMP},
    {"lss",     "",        LINE_ADDRESS},
    {"model",   "",        0,            true},
    {"movsd",   "movsl",   0},
    {"movsx",   "movs",    0},
    {"movzx",   "movz",    0},
    {"out",     "",        LINE_PORT_IO},
    {"outsd",   "outsl",   0},
    {"p386",    "",        0,            true},
    {"public",  ".globl",  LINE_DATA},
    {"rcl",     "",        LINE_SHIFT},
    {"rcr",     "",        LINE_SHIFT},
    {"rol",     "",        LINE_SHIFT},
    {"ror",     "",        LINE_SHIFT},
    {"sal",     "",        LINE_SHIFT},
    {"sar",     "",        LINE_SHIFT},
    {"scasd",   "scasl",   0},
    {"shl",     "",        LINE_SHIFT},
    {"shld",    "",        LINE_SHIFT},
    {"shr",     "",        LINE_SHIFT},
    {"shrd",    "",        LINE_SHIFT},
    {"stack",   "",        0,            true},
    {"stosd",   "stosl",   0},
    {"textequ", "",        0,            true},
})};
static_assert(mnemonic_table.is_searchable(), "mnemonic_table: names in lower case, each once");

// A renamed row carries the flags of the row of its replacement, or none when that has no row.
constexpr bool renamed_rows_carry_their_replacements_flags()
{
    for (const mnemonic_row& row : mnemonic_table) {
        if (row.rename.empty()) {
            continue;
        }
        const std::size_t replacement = mnemonic_table.find_index(make_word_key(row.rename));
        const bool has_row = replacement != mnemonic_table.not_found;
        if (row.flags != (has_row ? mnemonic_table.rows()[replacement].flags : 0)) {
            return false;
        }
    }
    return true;
}
static_assert(renamed_rows_carry_their_replacements_flags(), "mnemonic_table: a rename's flags are its replacement's");

} // namespace dravent
