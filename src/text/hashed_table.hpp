// Constant tables of rows named by words, searched through a hash of the folded word.
#pragma once

#include "text/word_key.hpp"

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace dravent {

// The rows keep the order they are written in; an index of slots, filled when the program is
// compiled, finds a row from its word's key by open addressing. The index has at least four times
// as many slots as rows, so a search probes one slot or two, and most words that name no row
// meet an empty slot at once. A slot holds a row number of two bytes, and the names' heads and
// lengths stand apart from the rows, so that the index and what a search compares stay small
// (some 17 KB for the mnemonics, where slots of heads took 64 KB).
template <typename Row, std::size_t N>
class hashed_table {
public:
    constexpr explicit hashed_table(const std::array<Row, N>& rows) : rows_(rows), names_{}, slots_{}, short_heads_{}, short_rows_{}
    {
        for (std::size_t row = 0; row < N; ++row) {
            const word_key key = make_word_key(rows_[row].name);
            names_[row] = {key.head, rows_[row].name.size()};
            std::size_t at = key.hash & mask;
            while (slots_[at] != 0) {
                at = (at + 1) & mask;
            }
            slots_[at] = static_cast<std::uint16_t>(row + 1);
            if (rows_[row].name.size() <= word_key_head_length) {
                std::size_t short_at = short_slot_of(key.head);
                while (short_heads_[short_at] != 0) {
                    short_at = (short_at + 1) & short_mask;
                }
                short_heads_[short_at] = key.head;
                short_rows_[short_at] = static_cast<std::uint16_t>(row);
            }
        }
    }

    static constexpr std::size_t not_found = N;

    // The index of the row whose name equals the key's word without regard to case, or not_found.
    constexpr std::size_t find_index(const word_key& key) const
    {
        for (std::size_t at = key.hash & mask; slots_[at] != 0; at = (at + 1) & mask) {
            const std::size_t row = slots_[at] - 1U;
            const name_head& name = names_[row];
            if (name.head == key.head && name.length == key.text.size() &&
                (name.length <= word_key_head_length || key_names(key, name.head, rows_[row].name))) {
                return row;
            }
        }
        return not_found;
    }

    // The row whose name equals the key's word without regard to case, or nullptr.
    constexpr const Row* find(const word_key& key) const
    {
        const std::size_t row = find_index(key);
        return row != not_found ? &rows_[row] : nullptr;
    }

    constexpr const Row* find(std::string_view text) const { return find(make_word_key(text)); }

    // The row named by a word of one to eight bytes, given as its key's head (folded and
    // zero-padded), or nullptr: one multiplication and mostly one probe, with no hash of the word.
    // Only names of eight bytes or fewer are in this index, so equal heads are equal words.
    constexpr const Row* find_short(std::uint64_t head) const
    {
        for (std::size_t at = short_slot_of(head); short_heads_[at] != 0; at = (at + 1) & short_mask) {
            if (short_heads_[at] == head) {
                return &rows_[short_rows_[at]];
            }
        }
        return nullptr;
    }

    // The same for a word in a larger text whose bytes up to readable_end may be read. A word
    // that holds a zero byte is searched with its length, which its padded head does not tell.
    constexpr const Row* find(std::string_view word, const char* readable_end) const
    {
        std::uint64_t head = 0;
        if (pack_head_at_once(word, readable_end, word_key_head_length, head) && !has_zero_byte(head, word.size())) {
            return find_short(fold_case_bytes(head));
        }
        return find(make_word_key(word, readable_end));
    }

    // Every name is a non-empty word in lower case and finds its own row: no name appears twice.
    constexpr bool is_searchable() const
    {
        for (std::size_t index = 0; index < N; ++index) {
            const Row& row = rows_[index];
            if (row.name.empty() || find_index(make_word_key(row.name)) != index ||
                (row.name.size() <= word_key_head_length && find_short(make_word_key(row.name).head) != &row)) {
                return false;
            }
            for (const char c : row.name) {
                if (is_upper_case_letter(c)) {
                    return false;
                }
            }
        }
        return true;
    }

    constexpr const std::array<Row, N>& rows() const { return rows_; }
    constexpr auto begin() const { return rows_.begin(); }
    constexpr auto end() const { return rows_.end(); }

private:
    // What a search compares before it reads a row: most words that name no row differ in their head.
    struct name_head {
        std::uint64_t head;  // the name's key head
        std::size_t length;
    };
    static constexpr std::size_t slot_count = std::bit_ceil(4 * N);
    static constexpr std::size_t mask = slot_count - 1;
    static_assert(N < 0xFFFF, "hashed_table: a slot holds a row number of 16 bits");

    std::array<Row, N> rows_;
    std::array<name_head, N> names_;              // row by row
    std::array<std::uint16_t, slot_count> slots_;  // index of a row plus one; 0 marks an empty slot
    // The names of eight bytes or fewer, by their heads (a name's head is never 0, which marks an
    // empty slot), and beside each its row: a search compares heads in one array, with no row
    // read until one is found.
    static constexpr std::size_t short_slot_count = std::bit_ceil(2 * N);
    static constexpr std::size_t short_mask = short_slot_count - 1;
    std::array<std::uint64_t, short_slot_count> short_heads_;
    std::array<std::uint16_t, short_slot_count> short_rows_;

    // Whether one of the first length bytes (one to eight) of head is zero: the classic test of
    // eight bytes at once, whose carries reach only bytes above a zero one.
    static constexpr bool has_zero_byte(std::uint64_t head, std::size_t length)
    {
        constexpr std::uint64_t ones = 0x0101010101010101;
        const std::uint64_t zeros = (head - ones) & ~head & (0x80 * ones);
        return (zeros & (~std::uint64_t{0} >> (8 * (word_key_head_length - length)))) != 0;
    }

    static constexpr std::size_t short_slot_of(std::uint64_t head)
    {
        return static_cast<std::size_t>((head * 0x9E3779B97F4A7C15) >> (64 - std::countr_zero(short_slot_count)));
    }
};

} // namespace dravent
