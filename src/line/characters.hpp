// Character classes and ASCII case folding shared by every stage of the converter.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace dravent {

// Blanks separate tokens: space and tab only.
constexpr bool is_blank(char c) { return c == ' ' || c == '\t'; }

// White space of the POSIX locale: space, tab, newline, vertical tab, form feed, carriage return.
constexpr bool is_white_space(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

constexpr bool is_decimal_digit(char c) { return c >= '0' && c <= '9'; }

constexpr bool is_letter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

constexpr bool is_hex_digit(char c)
{
    return is_decimal_digit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// Folds A-Z to a-z; every other byte stays, as in the POSIX locale.
constexpr char fold_case(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// Three-way comparison of two texts with A-Z folded, bytes compared as unsigned values.
constexpr int compare_folded(std::string_view a, std::string_view b)
{
    const std::size_t common = a.size() < b.size() ? a.size() : b.size();
    for (std::size_t i = 0; i < common; ++i) {
        const auto x = static_cast<unsigned char>(fold_case(a[i]));
        const auto y = static_cast<unsigned char>(fold_case(b[i]));
        if (x != y) {
            return x < y ? -1 : 1;
        }
    }
    if (a.size() == b.size()) {
        return 0;
    }
    return a.size() < b.size() ? -1 : 1;
}

constexpr bool equal_folded(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && compare_folded(a, b) == 0;
}

// True when text[position...] begins with keyword (any case) and a white-space character follows it.
// The end of the text is not white space. The keyword is given in lower case.
constexpr bool begins_with_keyword(std::string_view text, std::size_t position, std::string_view keyword)
{
    if (position + keyword.size() >= text.size() || fold_case(text[position]) != keyword[0]) {
        return false;
    }
    return equal_folded(text.substr(position, keyword.size()), keyword) && is_white_space(text[position + keyword.size()]);
}

// Position of the first character at or after position for which is_stop holds, or text.size().
template <typename Predicate>
constexpr std::size_t find_from(std::string_view text, std::size_t position, Predicate is_stop)
{
    while (position < text.size() && !is_stop(text[position])) {
        ++position;
    }
    return position;
}

// Position of the first character at or after position that is not a blank, or text.size().
constexpr std::size_t skip_blanks(std::string_view text, std::size_t position)
{
    while (position < text.size() && is_blank(text[position])) {
        ++position;
    }
    return position;
}

// Inserts c at position. Operands are short, so moving the tail one character at a time is
// cheaper than the general insert.
inline void insert_character(std::string& text, std::size_t position, char c)
{
    text.push_back(c);
    char* data = text.data();
    for (std::size_t i = text.size() - 1; i > position; --i) {
        data[i] = data[i - 1];
    }
    data[position] = c;
}

// A name of at most 7 characters, folded to lower case and packed into one integer: its
// characters from the high byte down, zero-padded, then its length in the lowest byte. Keys
// order like the names' bytes, so sorted tables can be searched with integer comparisons.
// A longer text gets the key 0, like the empty one: neither is a table name.
using name_key = std::uint64_t;
inline constexpr std::size_t name_key_length = 7;

// Adds 0x20 to every byte of x that is an upper-case letter A-Z, all eight bytes at once.
constexpr name_key fold_case_bytes(name_key x)
{
    constexpr name_key ones = 0x0101010101010101;
    const name_key low_seven_bits = x & (0x7F * ones);
    const name_key above_z = low_seven_bits + (0x7F - 'Z') * ones;   // high bit set where byte > 'Z'
    const name_key from_a = low_seven_bits + (0x80 - 'A') * ones;    // high bit set where byte >= 'A'
    const name_key upper = ~x & from_a & ~above_z & (0x80 * ones);   // and the byte is below 0x80
    return x | (upper >> 2);
}

constexpr name_key fold_key(std::string_view text)
{
    if (text.size() > name_key_length) {
        return 0;
    }
    name_key key = 0;
    for (const char c : text) {
        key = (key << 8) | static_cast<unsigned char>(c);
    }
    key <<= 8 * (name_key_length - text.size());  // pad to seven characters
    return (fold_case_bytes(key) << 8) | text.size();
}

} // namespace dravent
