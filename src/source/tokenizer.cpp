// Numbers: the digit run and its radix suffix.
#include "source/tokenizer.hpp"

namespace dravent {
namespace {

constexpr bool is_hex_suffix(char c) { return c == 'h' || c == 'H'; }

constexpr bool is_binary_suffix(char c) { return c == 'b' || c == 'B'; }

} // namespace

token tokenizer::number_at(std::size_t first) const
{
    const std::size_t run_end = find_from(text_, first, [](char c) { return !is_hex_digit(c); });
    const std::string_view run = text_.substr(first, run_end - first);
    if (run_end < text_.size() && is_hex_suffix(text_[run_end])) {
        return {token_kind::number, text_.substr(first, run.size() + 1), run, 16};
    }
    if (is_binary_suffix(run.back())) {
        return {token_kind::number, run, run.substr(0, run.size() - 1), 2};
    }
    return {token_kind::number, run, run, 10};
}

} // namespace dravent
