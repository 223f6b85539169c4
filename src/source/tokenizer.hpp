// Cuts operand text into tokens: names, numbers with their radix, and single other characters.
#pragma once

#include "text/characters.hpp"

#include <cstddef>
#include <string_view>

namespace dravent {

enum class token_kind { name, number, other };

// A number keeps its digits apart from its suffix: "0FFh" has the digits "0FF" and the radix 16.
struct token {
    token_kind kind = token_kind::other;
    std::string_view text;    // the whole token as written
    std::string_view digits;  // a number's digits, without its suffix
    int radix = 10;           // 16 for an h suffix, 2 for a b suffix, else 10
};

// Tokens in order; every character of the text belongs to exactly one token.
// - A name begins with a letter, "@" or "_" and goes on over letters, digits, "@" and "_": digits
//   inside a name are never a number.
// - A number begins with a decimal digit and takes the run of hexadecimal digits that follows it:
//   an h right after the run makes it hexadecimal; otherwise a run ending in b is binary (the hex
//   test comes first, so 0FBh is hexadecimal); otherwise it is a plain run (10d, 1e).
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
            t = {token_kind::name, text_.substr(position_, end - position_), {}, 10};
        } else {
            t = {token_kind::other, text_.substr(position_, 1), {}, 10};
        }
        position_ += t.text.size();
        return true;
    }

    static constexpr bool starts_name(char c) { return is_letter(c) || c == '@' || c == '_'; }
    static constexpr bool continues_name(char c) { return starts_name(c) || is_decimal_digit(c); }

private:
    token number_at(std::size_t first) const;

    std::string_view text_;
    std::size_t position_ = 0;
};

} // namespace dravent
