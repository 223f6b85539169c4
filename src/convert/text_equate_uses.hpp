// The uses of text equates in a text: the names a text equate gives a text on the line.
#pragma once

#include "convert/conversion_context.hpp"
#include "source/tokenizer.hpp"

#include <string>
#include <string_view>

namespace dravent {

// Calls f(token, text) for each name token of text that a text equate gives a text on the line.
// A name inside quotes is part of a string, no use.
template <typename F>
void for_each_text_equate(std::string_view text, const conversion_context& context, F f)
{
    tokenizer tokens(text);
    for (token t; tokens.next(t);) {
        std::string_view equated;
        if (t.kind == token_kind::name && context.program->text_of(t.text, context.line, equated)) {
            f(t, equated);
        }
    }
}

// Tasm reads a text put in place of a name again, and puts in the texts of the names it holds
// (r0 equ <r1>, r1 equ <ax>: mov r0, bx moves bx to ax). A text still holds names with texts after
// this many (names that stand for each other, a equ <b> and b equ <a>, never end): they stay.
inline constexpr int most_nested_texts = 16;
// Texts that each name others several times grow fast: past this length the texts of one
// operand are put in one level deep only, as they stand.
inline constexpr std::size_t longest_equated_operand = std::size_t{1} << 16;

namespace text_equate_detail {

// Appends text to out with each use put in, and the uses in what is put in, depth levels deep at
// most; false as soon as out holds more than limit bytes.
inline bool put_nested(std::string_view text, const conversion_context& context, std::string& out, int depth,
                       std::size_t limit)
{
    if (depth == most_nested_texts) {
        out.append(text);
        return out.size() <= limit;
    }
    const char* written = text.data();
    bool fits = true;
    for_each_text_equate(text, context, [&](const token& t, std::string_view equated) {
        if (fits) {
            out.append(written, t.text.data());
            fits = out.size() <= limit && put_nested(equated, context, out, depth + 1, limit);
        }
        written = t.text.data() + t.text.size();
    });
    out.append(written, text.data() + text.size());
    return fits && out.size() <= limit;
}

} // namespace text_equate_detail

// Appends text to out with each use of a text equate replaced by its text, as Tasm reads it.
// Returns false, and appends nothing, when text holds no use.
inline bool put_text_equates(std::string_view text, const conversion_context& context, std::string& out)
{
    if (context.program == nullptr || context.program->text_equates.empty()) {
        return false;
    }
    const std::size_t begin = out.size();
    const char* written = text.data();
    bool fits = true;
    for_each_text_equate(text, context, [&](const token& t, std::string_view equated) {
        out.append(written, t.text.data());
        fits = fits && text_equate_detail::put_nested(equated, context, out, 1, begin + longest_equated_operand);
        written = t.text.data() + t.text.size();
    });
    if (written == text.data()) {
        return false;
    }
    out.append(written, text.data() + text.size());
    if (!fits) {
        out.resize(begin);  // each text put in as it stands, one level deep
        text_equate_detail::put_nested(text, context, out, most_nested_texts - 1, ~std::size_t{0});
    }
    return true;
}

} // namespace dravent
