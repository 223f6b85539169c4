// Character classes and ASCII case folding shared by every stage of the converter.
#pragma once

#include <cstddef>
#include <string_view>

namespace dravent {

// Blanks separate tokens: space and tab only.
constexpr bool is_blank(char c) { return c == ' ' || c == '\t'; }

// White space of the POSIX locale: space, tab, newline, vertical tab, form feed, carriage return.
constexpr bool is_white_space(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

constexpr bool is_decimal_digit(char c) { return c >= '0' && c <= '9'; }

constexpr bool is_letter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

constexpr bool is_upper_case_letter(char c) { return c >= 'A' && c <= 'Z'; }

constexpr bool is_hex_digit(char c)
{
    return is_decimal_digit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// A set of bytes that a test looks up with one load, for the loops that run over every
// character of a line.
class byte_set {
public:
    constexpr explicit byte_set(std::string_view members)
    {
        for (const char c : members) {
            contains_[static_cast<unsigned char>(c)] = true;
        }
    }
    // The bytes for which holds(c) is true.
    template <typename Predicate>
    static constexpr byte_set where(Predicate holds)
    {
        byte_set set("");
        for (int byte = 0; byte < 256; ++byte) {
            set.contains_[byte] = holds(static_cast<char>(byte));
        }
        return set;
    }
    constexpr bool contains(char c) const { return contains_[static_cast<unsigned char>(c)]; }

private:
    bool contains_[256] = {};
};

// The bytes of a word of letters and digits (a register, a mnemonic, a number).
inline constexpr byte_set letters_and_digits =
    byte_set::where([](char c) { return is_letter(c) || is_decimal_digit(c); });

// Folds A-Z to a-z; every other byte stays, as in the POSIX locale.
constexpr char fold_case(char c) { return is_upper_case_letter(c) ? static_cast<char>(c - 'A' + 'a') : c; }

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
    return equal_folded(text.substr(position, keyword.size()), keyword) &&
           is_white_space(text[position + keyword.size()]);
}

// The characters of text from begin up to end, for begin <= end <= text.size(): substr without
// its check, for readers that found both places inside the text.
constexpr std::string_view text_between(std::string_view text, std::size_t begin, std::size_t end)
{
    return {text.data() + begin, end - begin};
}

// The characters of text from begin on, for begin <= text.size().
constexpr std::string_view text_from(std::string_view text, std::size_t begin)
{
    return text_between(text, begin, text.size());
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

// The text without the blanks at its end.
constexpr std::string_view trim_trailing_blanks(std::string_view text)
{
    while (!text.empty() && is_blank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// The text without the blanks at either end.
constexpr std::string_view trim_blanks(std::string_view text)
{
    text = trim_trailing_blanks(text);
    text.remove_prefix(skip_blanks(text, 0));
    return text;
}

} // namespace dravent
