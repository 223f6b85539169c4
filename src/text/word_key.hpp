// Keys for looking words up in the vocabulary: the word folded to lower case, packed and hashed.
#pragma once

#include "text/characters.hpp"

#include <bit>
#include <cstddef>
#include <cstring>
#include <type_traits>
#include <cstdint>
#include <string_view>

namespace dravent {

// Adds 0x20 to every byte of x that is an upper-case letter A-Z, all eight bytes at once.
constexpr std::uint64_t fold_case_bytes(std::uint64_t x)
{
    constexpr std::uint64_t ones = 0x0101010101010101;
    const std::uint64_t low_seven_bits = x & (0x7F * ones);
    const std::uint64_t above_z = low_seven_bits + (0x7F - 'Z') * ones;  // high bit set where byte > 'Z'
    const std::uint64_t from_a = low_seven_bits + (0x80 - 'A') * ones;   // high bit set where byte >= 'A'
    const std::uint64_t upper = ~x & from_a & ~above_z & (0x80 * ones);  // and the byte is below 0x80
    return x | (upper >> 2);
}

// A word as the tables see it. Words of any length have keys: the first eight bytes are compared
// as one integer, the rest (rare: "nolocals", "udataseg") byte by byte.
struct word_key {
    std::uint64_t head = 0;  // the first eight bytes, A-Z folded, zero-padded
    std::uint32_t hash = 0;  // of the whole folded word
    std::string_view text;   // the word as written
};

inline constexpr std::size_t word_key_head_length = 8;

// The first eight bytes of text (all of it when shorter), byte n in bits 8n to 8n + 7, zero-padded:
// a word key's head before its letters are folded.
constexpr std::uint64_t pack_head(std::string_view text)
{
    const std::size_t head_length = text.size() < word_key_head_length ? text.size() : word_key_head_length;
    std::uint64_t head = 0;
    if (!std::is_constant_evaluated() && std::endian::native == std::endian::little &&
        head_length == word_key_head_length) {
        std::memcpy(&head, text.data(), word_key_head_length);  // the same bytes the loop packs
    } else {
        for (std::size_t i = 0; i < head_length; ++i) {
            head |= std::uint64_t{static_cast<unsigned char>(text[i])} << (8 * i);
        }
    }
    return head;
}

// 32 bits of x in which every bit of x counts, low bits as much as high ones: tables take their
// slot from the low bits, and names often differ in their last byte alone (msg_0001, msg_0002),
// which a plain multiplication carries only into the product's top bits.
constexpr std::uint32_t mix_to_32(std::uint64_t x)
{
    constexpr std::uint64_t odd_constant = 0x9E3779B97F4A7C15;
#if defined(__SIZEOF_INT128__)
    // Both halves of the 128-bit product, folded: each depends on every bit of x.
    __extension__ using wide = unsigned __int128;
    const wide product = static_cast<wide>(x) * odd_constant;
    const std::uint64_t folded = static_cast<std::uint64_t>(product >> 64) ^ static_cast<std::uint64_t>(product);
#else
    std::uint64_t folded = (x ^ (x >> 33)) * odd_constant;
    folded = (folded ^ (folded >> 29)) * 0xBF58476D1CE4E5B9;
#endif
    return static_cast<std::uint32_t>(folded ^ (folded >> 32));
}

// The key of text, given its first bytes as pack_head packs them: for a reader that has loaded them.
constexpr word_key make_word_key(std::string_view text, std::uint64_t packed_head)
{
    const std::uint64_t head = fold_case_bytes(packed_head);
    std::uint64_t mixed = head ^ (text.size() * 0x9E3779B97F4A7C15);
    for (std::size_t i = word_key_head_length; i < text.size(); ++i) {
        mixed = (mixed ^ static_cast<unsigned char>(fold_case(text[i]))) * 0x100000001B3;
    }
    return {head, mix_to_32(mixed), text};
}

constexpr word_key make_word_key(std::string_view text) { return make_word_key(text, pack_head(text)); }

// Packs word, a view into a larger text whose bytes up to readable_end may be read, with one load
// as pack_head packs it, when it has one to length bytes (at most eight) and the text goes on far
// enough: false, and head untouched, otherwise.
inline bool pack_head_at_once(std::string_view word, const char* readable_end, std::size_t length,
                              std::uint64_t& head)
{
    if (std::endian::native != std::endian::little || word.empty() || word.size() > length ||
        readable_end - word.data() < static_cast<std::ptrdiff_t>(word_key_head_length)) {
        return false;
    }
    std::memcpy(&head, word.data(), word_key_head_length);
    head &= ~std::uint64_t{0} >> (8 * (word_key_head_length - word.size()));  // the word's bytes alone
    return true;
}

// The key of word, a view into a larger text whose bytes up to readable_end may be read: a word
// shorter than eight bytes is packed with one load where the text goes on far enough.
inline word_key make_word_key(std::string_view word, const char* readable_end)
{
    std::uint64_t head = 0;
    if (pack_head_at_once(word, readable_end, word_key_head_length - 1, head)) {
        return make_word_key(word, head);
    }
    return make_word_key(word);
}

// True when the key's word equals name, a word stored in lower case, without regard to case.
constexpr bool key_names(const word_key& key, std::uint64_t name_head, std::string_view name)
{
    return key.head == name_head && key.text.size() == name.size() &&
           (name.size() <= word_key_head_length ||
            equal_folded(key.text.substr(word_key_head_length), name.substr(word_key_head_length)));
}

} // namespace dravent
