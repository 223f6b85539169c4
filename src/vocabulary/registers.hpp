// The register names operands may use, with the size each names.
#pragma once

#include "text/hashed_table.hpp"
#include "vocabulary/flags.hpp"

#include <array>
#include <string_view>

namespace dravent {

// Registers, searched for the token at the start of an operand or of a term inside brackets.
// Segment registers are registers in operands and in segment overrides, but they name no operand
// size (size 0), so they give the mnemonic no letter: the other operand sets it. MMX registers
// name none either.
struct register_row {
    std::string_view name;
    int size;
    bool segment = false;
};

inline constexpr hashed_table register_table{std::to_array<register_row>({
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
    {"cs", 0, true}, {"ds", 0, true}, {"es", 0, true}, {"fs", 0, true}, {"gs", 0, true}, {"ss", 0, true},
    // MMX registers: the mnemonic gives the size
    {"mm0", 0}, {"mm1", 0}, {"mm2", 0}, {"mm3", 0}, {"mm4", 0}, {"mm5", 0}, {"mm6", 0}, {"mm7", 0},
})};
static_assert(register_table.is_searchable(), "register_table: names in lower case, each once");

// The row of the register named by the token at the start of text (up to the first blank, any
// case), or nullptr.
const register_row* find_register(std::string_view text);

// The size of the register named by the token at the start of text (up to the first blank, any
// case), or 0 when it names none.
int lookup_register(std::string_view text);

// True when the token at the start of text (up to the first blank, any case) is cs, ds, es, fs,
// gs or ss.
bool names_segment_register(std::string_view text);

} // namespace dravent
