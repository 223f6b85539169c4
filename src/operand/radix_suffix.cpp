// Radix suffix conversion: digit runs, the name test, then the h test before the b test.
#include "operand/radix_suffix.hpp"

#include "line/characters.hpp"

#include <algorithm>

namespace dravent {
namespace {

constexpr bool is_name_character(char c) { return is_letter(c) || c == '@' || c == '_'; }

constexpr bool is_hex_suffix(char c) { return c == 'h' || c == 'H'; }

constexpr bool is_binary_suffix(char c) { return c == 'b' || c == 'B'; }

std::size_t find_decimal_digit(const std::string& text, std::size_t position)
{
    while (position < text.size() && !is_decimal_digit(text[position])) {
        ++position;
    }
    return position;
}

std::size_t digit_run_end(const std::string& text, std::size_t position)
{
    while (position < text.size() && is_hex_digit(text[position])) {
        ++position;
    }
    return position;
}

// Turns digits followed by one suffix letter, text[first, first + digits + 1), into "0", the
// radix letter and the digits. Returns the position just after the last digit.
std::size_t rewrite_number(std::string& text, std::size_t first, std::size_t digits, char radix_letter)
{
    insert_character(text, first, '0');
    // The digits move one place right, over the suffix, to make room for the radix letter.
    const auto digits_begin = text.begin() + static_cast<std::ptrdiff_t>(first + 1);
    std::copy_backward(digits_begin, digits_begin + static_cast<std::ptrdiff_t>(digits),
                       digits_begin + static_cast<std::ptrdiff_t>(digits + 1));
    text[first + 1] = radix_letter;
    return first + 2 + digits;
}

} // namespace

void convert_radix_suffixes(std::string& text)
{
    std::size_t scan = 0;
    for (;;) {
        const std::size_t first = find_decimal_digit(text, scan);
        if (first == text.size()) {
            return;
        }
        const std::size_t run_end = digit_run_end(text, first);
        const std::size_t run_length = run_end - first;
        // Only a run that the search had to reach can belong to a name: a run right at the scan
        // position (the start of the text, or just after a rewritten number) never does.
        if (first > scan && is_name_character(text[first - 1])) {
            scan = run_end;
        } else if (run_end < text.size() && is_hex_suffix(text[run_end])) {
            scan = rewrite_number(text, first, run_length, 'x');
        } else if (is_binary_suffix(text[run_end - 1])) {
            scan = rewrite_number(text, first, run_length - 1, 'B');
        } else {
            scan = run_end;
        }
    }
}

} // namespace dravent
