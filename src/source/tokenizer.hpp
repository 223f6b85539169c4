// Cuts operand text into tokens: names, numbers with their radix, quoted strings, and single
// other characters.
#pragma once

#include "text/characters.hpp"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace dravent {

enum class token_kind { name, number, string, other };

// Radix of a number token; invalid for a run of letters and digits that is no Tasm number (a hex
// digit in a decimal number, a suffix its digits do not fit), real for 1.5 or 2.0e3.
enum class number_radix { decimal, hexadecimal, binary, octal, real, invalid };

struct token {
    token_kind kind = token_kind::other;
    std::string_view text;    // the whole token as written
    std::string_view digits;  // a number's digits without its suffix; a string's characters
                              // between its quotes, doubled quotes still doubled
    number_radix radix = number_radix::decimal;
    bool closed = true;       // a string's closing quote was found
    bool misplaced_register = false;  // a register name where an expression needs a number
    bool unplaced_name = false;       // a stack slot from arg or local, or a name with a text
                                      // where Dravent does not put the text in
};

inline constexpr byte_set name_starts =
    byte_set::where([](char c) { return is_letter(c) || c == '@' || c == '_' || c == '$' || c == '?'; });
inline constexpr byte_set name_characters =
    byte_set::where([](char c) { return name_starts.contains(c) || is_decimal_digit(c); });

constexpr bool starts_name(char c) { return name_starts.contains(c); }
constexpr bool continues_name(char c) { return name_characters.contains(c); }
constexpr bool is_quote(char c) { return c == '\'' || c == '"'; }

// @@name: a local label, whose scope is a procedure or the lines between two other labels.
constexpr bool is_local_label(std::string_view name) { return name.size() > 2 && name[0] == '@' && name[1] == '@'; }

struct string_end {
    std::size_t end;  // just after the closing quote, or the end of the text
    bool closed;      // false when the string is left open
};

// Where the quoted string that begins at text[open] ends. A quote written twice stands for itself;
// a string left open runs to the end of the text.
constexpr string_end end_of_string(std::string_view text, std::size_t open)
{
    const char quote = text[open];
    std::size_t at = open + 1;
    while (at < text.size()) {
        if (text[at] != quote) {
            ++at;
        } else if (at + 1 < text.size() && text[at + 1] == quote) {
            at += 2;
        } else {
            return {at + 1, true};
        }
    }
    return {text.size(), false};
}

// The value of an integer number token (any radix), when it fits in 32 bits. False for a real,
// an invalid number, a larger one, or a token that is no number.
bool number_value(const token& t, std::uint32_t& value);

// Tokens in order; every character of the text belongs to exactly one token.
// - A name begins with a letter, "@", "_", "$" or "?" and goes on over those and digits: digits
//   inside a name are never a number. "$" and "?" alone are names too (the location counter, an
//   unknown value).
// - A number begins with a decimal digit and takes the letters and digits that follow it; its
//   last letter gives the radix: h hexadecimal, b or y binary, o or q octal, d or t decimal, none
//   decimal. Digits, a "." and digits make a real number, with an exponent e[+-]digits.
// - A string runs from a quote to the same quote; doubled, the quote stands for itself.
// - Any other character is a token of its own.
class tokenizer {
public:
    explicit tokenizer(std::string_view text) : text_(text) {}

    // Sets t to the next token; false at the end of the text.
    bool next(token& t)
    {
        if (position_ >= text_.size()) {
            return false;
        }
        const char c = text_[position_];
        if (is_decimal_digit(c)) {
            t = number_at(position_);
        } else if (starts_name(c)) {
            const std::size_t end = find_from(text_, position_ + 1, [](char d) { return !continues_name(d); });
            t = {token_kind::name, text_.substr(position_, end - position_), {}};
        } else if (is_quote(c)) {
            t = string_at(position_);
        } else {
            t = {token_kind::other, text_.substr(position_, 1), {}};
        }
        position_ += t.text.size();
        return true;
    }

private:
    token number_at(std::size_t first) const;
    token string_at(std::size_t open) const;

    std::string_view text_;
    std::size_t position_ = 0;
};

} // namespace dravent
