// The register names operands may use, with the size each names.
#pragma once

#include "text/characters.hpp"
#include "vocabulary/flags.hpp"

#include <array>
#include <cstdint>
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

inline constexpr auto register_table = std::to_array<register_row>({
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
});

// Register names have two or three characters. Their folded bytes and their length, packed into
// one number, pick a slot of a small index by one multiplication; the multiplier is chosen when
// the program is compiled so that no two names share a slot. A word is then a register when the
// key in its slot is its own.
class register_index {
public:
    static constexpr std::size_t shortest_name = 2;
    static constexpr std::size_t longest_name = 3;

    // The key of a word of two or three characters: its bytes with A-Z folded, and its length.
    static constexpr std::uint32_t key_of(std::string_view word)
    {
        std::uint32_t key = static_cast<std::uint32_t>(word.size()) << 24;
        for (std::size_t i = 0; i < word.size(); ++i) {
            key |= std::uint32_t{static_cast<unsigned char>(fold_case(word[i]))} << (8 * i);
        }
        return key;
    }

    constexpr register_index() : multiplier_(collision_free_multiplier())
    {
        for (std::size_t row = 0; row < register_table.size(); ++row) {
            const std::uint32_t key = key_of(register_table[row].name);
            slots_[slot_of(key, multiplier_)] = {key, static_cast<std::uint8_t>(row)};
        }
    }

    // The row whose name has this key, or nullptr.
    constexpr const register_row* find(std::uint32_t key) const
    {
        const slot& s = slots_[slot_of(key, multiplier_)];
        return s.key == key ? &register_table[s.row] : nullptr;
    }

    // Every name is two or three characters in lower case and finds its own row.
    constexpr bool finds_every_row() const
    {
        for (std::size_t row = 0; row < register_table.size(); ++row) {
            const std::string_view name = register_table[row].name;
            if (name.size() < shortest_name || name.size() > longest_name || key_of(name) != key_of_lower(name) ||
                find(key_of(name)) != &register_table[row]) {
                return false;
            }
        }
        return true;
    }

private:
    static constexpr std::size_t slot_bits = 9;  // twice the slots of 8 bits: a multiplier is found in few tries
    static constexpr std::size_t slot_count = std::size_t{1} << slot_bits;

    struct slot {
        std::uint32_t key = 0;  // no word has the key 0: its length is in it
        std::uint8_t row = 0;
    };

    static constexpr std::size_t slot_of(std::uint32_t key, std::uint32_t multiplier)
    {
        return (key * multiplier) >> (32 - slot_bits);
    }

    // The key the name would have if nothing in it were folded: equal only for a lower-case name.
    static constexpr std::uint32_t key_of_lower(std::string_view name)
    {
        std::uint32_t key = static_cast<std::uint32_t>(name.size()) << 24;
        for (std::size_t i = 0; i < name.size(); ++i) {
            key |= std::uint32_t{static_cast<unsigned char>(name[i])} << (8 * i);
        }
        return key;
    }

    // The first odd multiplier after the golden ratio's that gives every name a slot of its own.
    static constexpr std::uint32_t collision_free_multiplier()
    {
        std::array<std::uint32_t, register_table.size()> keys{};
        for (std::size_t row = 0; row < register_table.size(); ++row) {
            keys[row] = key_of(register_table[row].name);
        }
        for (std::uint32_t multiplier = 0x9E3779B1;; multiplier += 2) {
            std::array<std::uint64_t, slot_count / 64> taken{};
            std::size_t placed = 0;
            for (; placed < keys.size(); ++placed) {
                const std::size_t at = slot_of(keys[placed], multiplier);
                const std::uint64_t bit = std::uint64_t{1} << (at % 64);
                if ((taken[at / 64] & bit) != 0) {
                    break;
                }
                taken[at / 64] |= bit;
            }
            if (placed == keys.size()) {
                return multiplier;
            }
        }
    }

    std::uint32_t multiplier_;
    std::array<slot, slot_count> slots_{};
};

static_assert(register_table.size() <= 256, "register_index keeps a row's number in one byte");
inline constexpr register_index register_names;
static_assert(register_names.finds_every_row(), "register_table: names of two or three lower-case characters, each once");

// The row of the register that word names, the whole word in any case, or nullptr.
constexpr const register_row* register_named(std::string_view word)
{
    if (word.size() < register_index::shortest_name || word.size() > register_index::longest_name) {
        return nullptr;
    }
    return register_names.find(register_index::key_of(word));
}

// The rows of the registers some rules name: a row found by register_named is one of them
// exactly when the word names that register.
inline constexpr const register_row* register_cl = register_named("cl");
inline constexpr const register_row* register_bx = register_named("bx");
inline constexpr const register_row* register_bp = register_named("bp");
inline constexpr const register_row* register_si = register_named("si");
inline constexpr const register_row* register_di = register_named("di");
static_assert(register_cl->name == "cl" && register_bx->name == "bx" && register_bp->name == "bp" &&
                  register_si->name == "si" && register_di->name == "di",
              "register_table: cl, bx, bp, si and di");

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
