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

// Appends text to out with each use of a text equate replaced by its text, as Tasm reads it.
// Returns false, and appends nothing, when text holds no use.
inline bool put_text_equates(std::string_view text, const conversion_context& context, std::string& out)
{
    if (context.program == nullptr || context.program->text_equates.empty()) {
        return false;
    }
    const char* written = text.data();
    for_each_text_equate(text, context, [&](const token& t, std::string_view equated) {
        out.append(written, t.text.data());
        out.append(equated);
        written = t.text.data() + t.text.size();
    });
    if (written == text.data()) {
        return false;
    }
    out.append(written, text.data() + text.size());
    return true;
}

} // namespace dravent
