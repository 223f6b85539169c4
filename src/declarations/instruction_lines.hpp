// The question the declarations pass asks of most lines: does an indented line begin with a word
// that names an instruction? Such a line has neither label nor declaring directive.
#pragma once

#include "text/characters.hpp"
#include "text/word_key.hpp"
#include "vocabulary/mnemonics.hpp"

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace dravent {

// Words in the mnemonic field end at a blank or at the ";" of a comment.
inline constexpr byte_set word_ends(" \t;");

// The word that an indented line begins with, as split_line finds its mnemonic: after the blanks,
// up to a blank or ";", in the line without its ending. readable_end is where the bytes that may
// be read past the line end (the end of its block): where 16 bytes can be read, they are searched
// at once.
inline std::string_view leading_word(std::string_view text, const char* readable_end)
{
    if (!text.empty() && text.back() == '\r') {
        text.remove_suffix(1);
    }
#if defined(__SSE2__)
    if (readable_end - text.data() >= 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data()));
        const auto blanks = static_cast<unsigned>(_mm_movemask_epi8(
            _mm_or_si128(_mm_cmpeq_epi8(bytes, _mm_set1_epi8(' ')), _mm_cmpeq_epi8(bytes, _mm_set1_epi8('\t')))));
        const unsigned ends = blanks | static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, _mm_set1_epi8(';'))));
        const unsigned past_text = text.size() >= 16 ? 0 : 0xFFFFU << text.size();
        const auto begin = static_cast<unsigned>(std::countr_zero((~blanks & 0xFFFFU) | past_text | 0x10000U));
        if (begin < 16) {
            if (const unsigned after = (ends | past_text) >> begin; after != 0) {
                return std::string_view(text.data() + begin, static_cast<unsigned>(std::countr_zero(after)));
            }
        }
    }
#else
    static_cast<void>(readable_end);
#endif
    const std::size_t begin = skip_blanks(text, 0);
    return text.substr(begin, find_from(text, begin, [](char c) { return word_ends.contains(c); }) - begin);
}

// The instructions whose names have eight bytes or fewer, by their names' heads as word keys
// hold them (folded, zero-padded): whether the first word of an indented line names one is the
// question asked of most lines, answered here with one multiplication and, mostly, one probe.
class short_instruction_set {
public:
    constexpr short_instruction_set()
    {
        for (const mnemonic_row& row : mnemonic_table) {
            if (names_instruction(row.kind) && row.name.size() <= word_key_head_length) {
                const std::uint64_t head = make_word_key(row.name).head;
                std::size_t at = slot_of(head);
                while (slots_[at] != 0) {
                    at = (at + 1) & mask;
                }
                slots_[at] = head;
            }
        }
    }

    // head: a word of length bytes (one to eight), packed and folded as a word key's head.
    constexpr bool contains(std::uint64_t head, std::size_t length) const
    {
        for (std::size_t at = slot_of(head); slots_[at] != 0; at = (at + 1) & mask) {
            if (slots_[at] == head) {
                // The same head with zero bytes after the name is another word: the names hold none.
                return length == word_key_head_length - static_cast<std::size_t>(std::countl_zero(head)) / 8;
            }
        }
        return false;
    }

    // head: a word of one to eight bytes above the space, none of them zero, packed as a word
    // key's head but with every byte's 0x20 bit set (which folds A-Z and, among such bytes, makes
    // no other byte a letter or a digit): the length is the head's own.
    constexpr bool contains_lowered(std::uint64_t head) const
    {
        for (std::size_t at = slot_of(head); slots_[at] != 0; at = (at + 1) & mask) {
            if (slots_[at] == head) {
                return true;
            }
        }
        return false;
    }

private:
    static constexpr int slot_bits = 10;  // 1024 slots, for some 500 names
    static constexpr std::size_t mask = (std::size_t{1} << slot_bits) - 1;
    static constexpr std::size_t slot_of(std::uint64_t head)
    {
        return static_cast<std::size_t>((head * 0x9E3779B97F4A7C15) >> (64 - slot_bits));
    }

    std::array<std::uint64_t, std::size_t{1} << slot_bits> slots_{};  // 0: empty
};

inline constexpr short_instruction_set short_instructions;

// The set answers as the mnemonic table does for every word the table holds (and a word it does
// not hold has no head the set holds).
constexpr bool short_instructions_agree_with_the_table()
{
    for (const mnemonic_row& row : mnemonic_table) {
        if (row.name.size() <= word_key_head_length &&
            short_instructions.contains(make_word_key(row.name).head, row.name.size()) != names_instruction(row.kind)) {
            return false;
        }
    }
    return true;
}
static_assert(short_instructions_agree_with_the_table(), "short_instructions: not the mnemonic table's instructions");

// Whether a word of one to eight bytes at word names an instruction; the eight bytes at word may
// be read.
inline bool short_word_names_instruction(const char* word, std::size_t length)
{
    std::uint64_t head = 0;
    std::memcpy(&head, word, word_key_head_length);
    head &= ~std::uint64_t{0} >> (8 * (word_key_head_length - length));  // the word's bytes alone
    return short_instructions.contains(fold_case_bytes(head), length);
}

// The same question for any line that begins with white space, its word found by leading_word.
inline bool indented_instruction_word(std::string_view text, const char* readable_end)
{
    const std::string_view word = leading_word(text, readable_end);
    if (std::endian::native == std::endian::little && !word.empty() && word.size() <= word_key_head_length &&
        readable_end - word.data() >= static_cast<std::ptrdiff_t>(word_key_head_length)) {
        return short_word_names_instruction(word.data(), word.size());
    }
    const mnemonic_row* row = word.empty() ? nullptr : mnemonic_table.find(word);
    return row != nullptr && names_instruction(row->kind);
}

// The instructions the set holds are named with lower-case letters and digits alone: a byte above
// the space whose 0x20 bit is set names one of their bytes only when it is that byte or, for a
// letter, its capital.
constexpr bool short_instructions_are_letters_and_digits()
{
    for (const mnemonic_row& row : mnemonic_table) {
        if (!names_instruction(row.kind) || row.name.size() > word_key_head_length) {
            continue;
        }
        for (const char c : row.name) {
            if (!(c >= 'a' && c <= 'z') && !is_decimal_digit(c)) {
                return false;
            }
        }
    }
    return true;
}
static_assert(short_instructions_are_letters_and_digits(), "contains_lowered: an instruction name of other bytes");

// For the eight bytes of x (byte n the text's n-th): the high bit of the first byte that is a
// control character, a space or ";", and perhaps of bytes after it, never of one before it.
constexpr std::uint64_t first_stop_bits(std::uint64_t x)
{
    constexpr std::uint64_t ones = 0x0101010101010101;
    constexpr std::uint64_t high_bits = 0x80 * ones;
    // A subtraction borrows only from a byte below what it subtracts, and only into bytes after it.
    const std::uint64_t below_space = (x - 0x21 * ones) & ~x & high_bits;
    const std::uint64_t semicolon = ((x ^ (';' * ones)) - ones) & ~(x ^ (';' * ones)) & high_bits;
    return below_space | semicolon;
}

// The bytes that end the word of an indented line where they follow it: a blank, the ";" of a
// comment, the line feed after the line.
inline constexpr byte_set ends_of_leading_word(" \t;\n");

// Whether a line that begins with white space begins with a word that names an instruction.
// readable_end: the end of the text the line stands in, a line feed after the line when the text
// goes on. Most such lines hold one blank, a word of fewer than eight bytes and a blank or the
// line's end: the eight bytes after the blank are loaded at once, the word's end found among them
// and the word folded and looked up as they stand. Any other line (a carriage return that is
// not the line's last byte, more blanks, a longer word) is read as leading_word reads it.
inline bool indented_instruction(std::string_view text, const char* readable_end)
{
    if (std::endian::native == std::endian::little && is_blank(text[0]) && readable_end - text.data() >= 9) {
        std::uint64_t bytes = 0;
        std::memcpy(&bytes, text.data() + 1, 8);
        if (const std::uint64_t stops = first_stop_bits(bytes); stops != 0) {
            const auto length = static_cast<std::size_t>(std::countr_zero(stops)) / 8;
            const char stop = text.data()[1 + length];
            if (length != 0 && (ends_of_leading_word.contains(stop) || (stop == '\r' && length + 2 == text.size()))) {
                const std::uint64_t word_bytes = ~std::uint64_t{0} >> (64 - 8 * length);
                return short_instructions.contains_lowered((bytes | 0x2020202020202020) & word_bytes);
            }
        }
    }
    return indented_instruction_word(text, readable_end);
}

} // namespace dravent
