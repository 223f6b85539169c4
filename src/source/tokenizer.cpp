// Numbers, their radix and their digits; quoted strings.
#include "source/tokenizer.hpp"

#include <array>
#include <cstdint>
#include <iterator>

namespace dravent {
namespace {

// The value of each byte as a digit of a number, 0 to 15 for 0-9, a-f and A-F; 16, above every
// digit of every radix, for any other byte.
constexpr std::array<std::uint8_t, 256> digit_values = [] {
    std::array<std::uint8_t, 256> values{};
    for (int byte = 0; byte < 256; ++byte) {
        const char c = static_cast<char>(byte);
        values[static_cast<std::size_t>(byte)] = static_cast<std::uint8_t>(
            is_decimal_digit(c) ? c - '0' : is_hex_digit(c) ? fold_case(c) - 'a' + 10 : 16);
    }
    return values;
}();

bool all_digits_below(std::string_view digits, unsigned radix)
{
    for (const char c : digits) {
        if (digit_values[static_cast<unsigned char>(c)] >= radix) {
            return false;
        }
    }
    return !digits.empty();
}

struct suffix_row {
    char suffix;
    number_radix radix;
    unsigned base;
};

// The letter that ends a number names its radix.
constexpr suffix_row suffix_table[] = {
    {'h', number_radix::hexadecimal, 16}, {'b', number_radix::binary, 2},  {'y', number_radix::binary, 2},
    {'o', number_radix::octal, 8},        {'q', number_radix::octal, 8},   {'d', number_radix::decimal, 10},
    {'t', number_radix::decimal, 10},
};

// For each byte, in either case, the number of its suffix_table row plus one, or 0.
constexpr std::array<std::uint8_t, 256> suffix_rows = [] {
    std::array<std::uint8_t, 256> rows{};
    for (int byte = 0; byte < 256; ++byte) {
        for (std::size_t row = 0; row < std::size(suffix_table); ++row) {
            if (fold_case(static_cast<char>(byte)) == suffix_table[row].suffix) {
                rows[static_cast<std::size_t>(byte)] = static_cast<std::uint8_t>(row + 1);
            }
        }
    }
    return rows;
}();

// Digits "." digits, with an exponent: the length of the real number at text[first], or 0.
std::size_t real_length(std::string_view text, std::size_t first)
{
    std::size_t at = find_from(text, first, [](char c) { return !is_decimal_digit(c); });
    if (at + 1 >= text.size() || text[at] != '.' || !is_decimal_digit(text[at + 1])) {
        return 0;
    }
    at = find_from(text, at + 1, [](char c) { return !is_decimal_digit(c); });
    if (at < text.size() && fold_case(text[at]) == 'e') {
        std::size_t exponent = at + 1;
        if (exponent < text.size() && (text[exponent] == '+' || text[exponent] == '-')) {
            ++exponent;
        }
        if (exponent < text.size() && is_decimal_digit(text[exponent])) {
            at = find_from(text, exponent, [](char c) { return !is_decimal_digit(c); });
        }
    }
    return at - first;
}

} // namespace

token tokenizer::number_at(std::size_t first) const
{
    const std::size_t digits_end = find_from(text_, first, [](char c) { return !is_decimal_digit(c); });
    if (digits_end < text_.size() && text_[digits_end] == '.') {
        if (const std::size_t length = real_length(text_, first); length > 0) {
            const std::string_view real = text_.substr(first, length);
            return {token_kind::number, real, real, number_radix::real, true};
        }
    }
    const std::size_t end = find_from(text_, digits_end, [](char c) { return !letters_and_digits.contains(c); });
    const std::string_view run = text_.substr(first, end - first);
    if (end == digits_end) {
        return {token_kind::number, run, run, number_radix::decimal, true};  // digits alone
    }
    token t{token_kind::number, run, run, number_radix::invalid, true};
    if (const std::uint8_t row_number = suffix_rows[static_cast<unsigned char>(run.back())]; row_number != 0) {
        const suffix_row& row = suffix_table[row_number - 1];
        t.digits = run.substr(0, run.size() - 1);
        t.radix = all_digits_below(t.digits, row.base) ? row.radix : number_radix::invalid;
        return t;
    }
    if (all_digits_below(run, 10)) {
        t.radix = number_radix::decimal;
    }
    return t;
}

bool number_value(const token& t, std::uint32_t& value)
{
    unsigned base = 0;
    switch (t.kind == token_kind::number ? t.radix : number_radix::invalid) {
    case number_radix::decimal:
        base = 10;
        break;
    case number_radix::hexadecimal:
        base = 16;
        break;
    case number_radix::binary:
        base = 2;
        break;
    case number_radix::octal:
        base = 8;
        break;
    case number_radix::real:
    case number_radix::invalid:
        return false;
    }
    std::uint64_t sum = 0;
    for (const char c : t.digits) {
        sum = sum * base + digit_values[static_cast<unsigned char>(c)];
        if (sum > UINT32_MAX) {
            return false;
        }
    }
    value = static_cast<std::uint32_t>(sum);
    return true;
}

token tokenizer::string_at(std::size_t open) const
{
    const auto [end, closed] = end_of_string(text_, open);
    token t{token_kind::string, text_.substr(open, end - open), {}};
    t.closed = closed;
    t.digits = text_.substr(open + 1, end - open - 1 - (closed ? 1 : 0));
    return t;
}

} // namespace dravent
