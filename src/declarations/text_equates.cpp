// Which equates are Tasm text, and what their text is.
#include "declarations/text_equates.hpp"

#include "source/tokenizer.hpp"
#include "text/characters.hpp"
#include "vocabulary/mnemonics.hpp"
#include "vocabulary/registers.hpp"
#include "vocabulary/size_keywords.hpp"

namespace dravent {
namespace {

// Characters that make a text in angle brackets more than one operand (a comma), a string, a
// comment, an assignment, or a use of Tasm's text operators (nested brackets, ! % &), which
// Dravent leaves for a hand.
constexpr byte_set refused_characters("<>!%&;,'\"=\\");

bool is_size_keyword(std::string_view word)
{
    for (const size_keyword_row& row : size_keyword_table) {
        if (equal_folded(word, row.name)) {
            return true;
        }
    }
    return false;
}

// Brackets and parentheses close in order, each after it opens.
bool nests_in_order(std::string_view text)
{
    char open[16];
    std::size_t depth = 0;
    for (const char c : text) {
        if (c == '[' || c == '(') {
            if (depth == sizeof open) {
                return false;
            }
            open[depth++] = c;
        } else if (c == ']' || c == ')') {
            if (depth == 0 || open[--depth] != (c == ']' ? '[' : '(')) {
                return false;
            }
        }
    }
    return depth == 0;
}

// A text in angle brackets that an operand can hold: no instruction or directive as its first
// word, and no size keyword without the reference it sizes (<word ptr>).
bool holds_an_operand(std::string_view text)
{
    if (text.empty() || !nests_in_order(text)) {
        return false;
    }
    for (const char c : text) {
        if (refused_characters.contains(c) || static_cast<unsigned char>(c) < ' ') {
            if (c != '\t') {
                return false;
            }
        }
    }
    tokenizer tokens(text);
    token first;
    if (!tokens.next(first)) {
        return false;
    }
    if (first.kind == token_kind::name && register_named(first.text) == nullptr &&
        mnemonic_table.find(first.text) != nullptr) {
        return false;
    }
    if (first.kind == token_kind::name && is_size_keyword(first.text)) {
        std::string_view rest = trim_blanks(text.substr(first.text.size()));
        if (rest.size() >= 3 && equal_folded(rest.substr(0, 3), "ptr") && (rest.size() == 3 || !continues_name(rest[3]))) {
            rest = trim_blanks(rest.substr(3));
        }
        return !rest.empty();
    }
    return true;
}

// byte ptr count+1: a reference with its size, which Tasm keeps as a text, however it is written.
bool sized_reference(std::string_view value)
{
    tokenizer tokens(value);
    token first;
    return tokens.next(first) && first.kind == token_kind::name && is_size_keyword(first.text) &&
           holds_an_operand(value);
}

} // namespace

bool text_equate_text(std::string_view verb, std::string_view value, std::string_view& text)
{
    value = trim_blanks(value);
    if (value.empty()) {
        return false;
    }
    if (value.front() == '<') {
        if (value.size() < 2 || value.back() != '>' ||
            !(equal_folded(verb, "equ") || equal_folded(verb, "textequ"))) {
            return false;
        }
        text = trim_blanks(value.substr(1, value.size() - 2));
        return holds_an_operand(text);
    }
    if (!equal_folded(verb, "equ") ||
        (value.find('[') == std::string_view::npos && register_named(value) == nullptr && !sized_reference(value))) {
        return false;
    }
    text = value;
    return true;
}

std::string_view equated_name(std::string_view verb, std::string_view value)
{
    if (!equal_folded(verb, "equ") && !equal_folded(verb, "textequ")) {
        return {};
    }
    value = trim_blanks(value);
    tokenizer tokens(value);
    token name;
    return tokens.next(name) && name.kind == token_kind::name && name.text.size() == value.size() ? value
                                                                                                  : std::string_view();
}

bool takes_text_of_name(std::string_view verb, std::string_view other_text)
{
    std::string_view text;
    return equal_folded(verb, "textequ") || (equal_folded(verb, "equ") && text_equate_text(verb, other_text, text));
}

std::string_view this_type(std::string_view value)
{
    value = trim_blanks(value);
    constexpr std::size_t after_this = 4;
    if (value.size() <= after_this || !equal_folded(value.substr(0, after_this), "this") ||
        !is_blank(value[after_this])) {
        return {};
    }
    const std::string_view type = trim_blanks(value.substr(after_this));
    return is_size_keyword(type) || equal_folded(type, "proc") ? type : std::string_view();
}

} // namespace dravent
