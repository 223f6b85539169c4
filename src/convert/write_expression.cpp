// Expressions, token by token, in output order.
#include "convert/write_expression.hpp"

#include "source/tokenizer.hpp"
#include "text/characters.hpp"

namespace dravent {
namespace {

bool has_decimal_digit(std::string_view text)
{
    for (const char c : text) {
        if (is_decimal_digit(c)) {
            return true;
        }
    }
    return false;
}

} // namespace

void write_expression(std::string_view text, text_buffer& out)
{
    if (!has_decimal_digit(text)) {
        out.append(text);
        return;
    }
    // Text between rewritten numbers is copied in one piece.
    std::size_t copied = 0;
    tokenizer tokens(text);
    for (token t; tokens.next(t);) {
        if (t.kind != token_kind::number || t.radix == 10) {
            continue;
        }
        const auto at = static_cast<std::size_t>(t.text.data() - text.data());
        out.append(text.substr(copied, at - copied));
        out += t.radix == 16 ? "0x" : "0B";
        out.append(t.digits);
        copied = at + t.text.size();
    }
    out.append(text.substr(copied));
}

} // namespace dravent
