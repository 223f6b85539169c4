// Numbers, their radix and their digits; quoted strings.
#include "source/tokenizer.hpp"

namespace dravent {
namespace {

constexpr bool is_letter_or_digit(char c) { return is_letter(c) || is_decimal_digit(c); }

bool all_digits_below(std::string_view digits, int radix)
{
    for (const char c : digits) {
        const int value = is_decimal_digit(c) ? c - '0' : is_hex_digit(c) ? fold_case(c) - 'a' + 10 : radix;
        if (value >= radix) {
            return false;
        }
    }
    return !digits.empty();
}

struct suffix_row {
    char suffix;
    number_radix radix;
    int base;
};

// The letter that ends a number names its radix. h is tested first, so 0Bh is hexadecimal.
constexpr suffix_row suffix_table[] = {
    {'h', number_radix::hexadecimal, 16}, {'b', number_radix::binary, 2},  {'y', number_radix::binary, 2},
    {'o', number_radix::octal, 8},        {'q', number_radix::octal, 8},   {'d', number_radix::decimal, 10},
    {'t', number_radix::decimal, 10},
};

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
    const std::size_t end = find_from(text_, digits_end, [](char c) { return !is_letter_or_digit(c); });
    const std::string_view run = text_.substr(first, end - first);
    if (end == digits_end) {
        return {token_kind::number, run, run, number_radix::decimal, true};  // digits alone
    }
    token t{token_kind::number, run, run, number_radix::invalid, true};
    const char last = fold_case(run.back());
    for (const suffix_row& row : suffix_table) {
        if (last == row.suffix) {
            t.digits = run.substr(0, run.size() - 1);
            t.radix = all_digits_below(t.digits, row.base) ? row.radix : number_radix::invalid;
            return t;
        }
    }
    if (all_digits_below(run, 10)) {
        t.radix = number_radix::decimal;
    }
    return t;
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
