// The converter's fixed vocabulary: registers, renamed mnemonics, directives, size keywords.
#pragma once

#include "line/characters.hpp"
#include "line/line_record.hpp"

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <string_view>

namespace dravent {

// Rows of a sorted table compare by name with A-Z folded; every name is stored in lower case.
template <typename Rows>
constexpr bool is_sorted_by_name(const Rows& rows)
{
    return std::is_sorted(rows.begin(), rows.end(),
                          [](const auto& a, const auto& b) { return compare_folded(a.name, b.name) < 0; });
}

// A constant table of rows sorted by name, searched by binary search over the names' keys. The
// keys are computed when the program is compiled and padded to a power of two, so that the
// search is a fixed number of halving steps without branches.
template <typename Row, std::size_t N>
class keyword_table {
public:
    constexpr explicit keyword_table(const std::array<Row, N>& rows) : rows_(rows), keys_{}
    {
        for (std::size_t i = 0; i < padded_size; ++i) {
            keys_[i] = i < N ? fold_key(rows_[i].name) : padding_key;
        }
    }

    // The row whose name equals the text without regard to case, or nullptr.
    constexpr const Row* find(std::string_view text) const { return find(fold_key(text)); }

    constexpr const Row* find(name_key key) const
    {
        if (key == 0) {
            return nullptr;  // empty, or too long to be a name
        }
        // The last position whose key is not greater than the one sought.
        std::size_t at = 0;
        for (std::size_t half = padded_size / 2; half > 0; half /= 2) {
            at = keys_[at + half] <= key ? at + half : at;
        }
        return keys_[at] == key ? &rows_[at] : nullptr;
    }

    // Sorted by name, and every name short enough to have a key of its own.
    constexpr bool is_searchable() const
    {
        return is_sorted_by_name(rows_) &&
               std::all_of(rows_.begin(), rows_.end(), [](const Row& row) {
                   return !row.name.empty() && row.name.size() <= name_key_length &&
                          std::none_of(row.name.begin(), row.name.end(), [](char c) { return c >= 'A' && c <= 'Z'; });
               });
    }

    constexpr const std::array<Row, N>& rows() const { return rows_; }
    constexpr auto begin() const { return rows_.begin(); }
    constexpr auto end() const { return rows_.end(); }

private:
    static constexpr std::size_t padded_size = std::bit_ceil(N);
    static constexpr name_key padding_key = ~name_key{0};  // greater than every key of a name

    std::array<Row, N> rows_;
    std::array<name_key, padded_size> keys_;
};

// Register names an operand may use, with the size each names. Searched for the token at the
// start of an operand, or of a term inside brackets.
struct register_row {
    std::string_view name;
    int size;
};

inline constexpr keyword_table<register_row, 39> register_table{std::array<register_row, 39>{{
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
}}};
static_assert(register_table.is_searchable(), "register_table must stay sorted, names in lower case");

// Segment registers: registers in operands and in segment overrides, but they name no operand
// size, so they give the mnemonic no letter (the other operand sets it).
struct segment_register_row {
    std::string_view name;
};

inline constexpr keyword_table<segment_register_row, 6> segment_register_table{std::array<segment_register_row, 6>{{
    {"cs"}, {"ds"}, {"es"}, {"fs"}, {"gs"}, {"ss"},
}}};
static_assert(segment_register_table.is_searchable(), "segment_register_table must stay sorted, names in lower case");

// Tasm mnemonics and directives that GNU As spells differently, found in the mnemonic or the
// label field. movsx and movzx lose their suffix: the size letters of the operands complete them.
struct rename_row {
    std::string_view name;
    std::string_view replacement;
};

inline constexpr keyword_table<rename_row, 24> rename_table{std::array<rename_row, 24>{{
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
}}};
static_assert(rename_table.is_searchable(), "rename_table must stay sorted, names in lower case");

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

inline constexpr keyword_table<directive_row, 10> directive_table{std::array<directive_row, 10>{{
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
}}};
static_assert(directive_table.is_searchable(), "directive_table must stay sorted, names in lower case");

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

inline constexpr keyword_table<mnemonic_flags_row, 32> mnemonic_flags_table{std::array<mnemonic_flags_row, 32>{{
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
}}};
static_assert(mnemonic_flags_table.is_searchable(), "mnemonic_flags_table must stay sorted, names in lower case");

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
