// Memory operand conversion: size keywords, prefix, segment overrides and the terms between
// "+", "-" and "]"; then the AT&T text in output order.
#include "convert/memory_ref.hpp"

#include "convert/write_expression.hpp"
#include "text/characters.hpp"
#include "vocabulary/registers.hpp"
#include "vocabulary/size_keywords.hpp"

#include <algorithm>

namespace dravent {
namespace {

// Skips a size keyword and a "ptr" after it at the start of the text; returns where the prefix
// begins.
std::size_t skip_size_keyword_and_ptr(std::string_view text, memory_ref& ref)
{
    std::size_t cursor = 0;
    ref.size_flags = match_size_keyword(text, cursor);
    if (ref.size_flags == 0) {
        return 0;  // a "ptr" after no size keyword, and any leading blank, belong to the prefix
    }
    cursor = skip_blanks(text, cursor);
    if (begins_with_keyword(text, cursor, "ptr")) {
        cursor = skip_blanks(text, cursor + 4);
    }
    return cursor;
}

// A segment register name directly followed by ":" at the start of text becomes the override;
// returns how many characters it took.
std::size_t take_segment_override(std::string_view text, memory_ref& ref)
{
    if (text.size() < 3 || text[2] != ':' || !names_segment_register(text.substr(0, 2))) {
        return 0;
    }
    ref.segment = text.substr(0, 2);
    return 3;
}

void append_without_parentheses(text_buffer& out, std::string_view text)
{
    for (const char c : text) {
        if (c != '(' && c != ')') {
            out += c;
        }
    }
}

void append_to_displacement(text_buffer& displacement, char pending_sign, std::string_view text)
{
    if (pending_sign != '\0') {
        displacement += pending_sign;
    }
    displacement.append(text);
}

// A register term becomes the base, or the index once the base is set; any other term, the
// empty one included, joins the displacement behind the pending sign. A sign before a register
// is lost.
void take_term(std::string_view term, char pending_sign, memory_ref& ref, text_buffer& displacement)
{
    const std::size_t star = term.find('*');
    if (star != std::string_view::npos) {
        const std::string_view left = term.substr(0, star);
        const std::string_view right = term.substr(star + 1);
        if (lookup_register(left) > 0) {
            ref.index = left;
            ref.scale = right;
        } else if (lookup_register(right) > 0) {
            ref.index = right;
            ref.scale = left;
        } else {
            append_to_displacement(displacement, pending_sign, term);
        }
        return;
    }
    if (lookup_register(term) > 0) {
        (ref.base.empty() ? ref.base : ref.index) = term;
        return;
    }
    append_to_displacement(displacement, pending_sign, term);
}

constexpr bool ends_term(char c) { return c == '+' || c == '-' || c == ']'; }

std::size_t skip_white_space(std::string_view text, std::size_t position)
{
    while (position < text.size() && is_white_space(text[position])) {
        ++position;
    }
    return position;
}

} // namespace

memory_ref parse_memory_ref(std::string_view text, text_buffer& scratch)
{
    memory_ref ref;
    scratch.clear();

    std::size_t cursor = skip_size_keyword_and_ptr(text, ref);
    const std::size_t bracket = std::min(text.find('[', cursor), text.size());
    std::string_view prefix = text.substr(cursor, bracket - cursor);
    prefix.remove_prefix(take_segment_override(prefix, ref));

    char pending_sign = '\0';
    if (!prefix.empty()) {
        append_without_parentheses(scratch, prefix);
        pending_sign = '+';
    }
    cursor = skip_blanks(text, std::min(bracket + 1, text.size()));
    ref.size_flags |= match_size_keyword(text, cursor);

    // Every reference has at least one term, if only an empty one.
    for (;;) {
        cursor = skip_blanks(text, cursor);
        cursor += take_segment_override(text.substr(cursor), ref);
        const std::size_t term_end = find_from(text, cursor, ends_term);
        take_term(text.substr(cursor, term_end - cursor), pending_sign, ref, scratch);
        cursor = term_end;
        if (cursor == text.size()) {
            break;
        }
        if (text[cursor] != ']') {
            pending_sign = text[cursor++];
            continue;
        }
        // A "]" does not end the reference: what follows it joins it like a "+", so
        // [bx][si], table[bx][si] and [bx]+2 keep every part.
        cursor = skip_white_space(text, cursor + 1);
        if (cursor == text.size()) {
            break;
        }
        pending_sign = '+';
        if (text[cursor] == '+' || text[cursor] == '-') {
            pending_sign = text[cursor++];
        }
        cursor = skip_blanks(text, cursor);
        if (cursor < text.size() && text[cursor] == '[') {
            ++cursor;
        }
    }
    ref.displacement = scratch.view();
    return ref;
}

std::string_view write_memory_ref(const memory_ref& ref, text_buffer& out, expression_workspace& work)
{
    std::string_view left_as_written;
    const auto keep_first = [&](std::string_view word) {
        if (left_as_written.empty()) {
            left_as_written = word;
        }
    };
    if (!ref.segment.empty()) {
        out += '%';
        out.append(ref.segment);
        out += ':';
    }
    std::string_view displacement = ref.displacement;
    if (!displacement.empty() && displacement.front() == '+') {
        displacement.remove_prefix(1);
    }
    keep_first(write_expression(displacement, out, work));
    if (ref.base.empty() && ref.index.empty()) {
        return left_as_written;
    }
    out += '(';
    if (!ref.base.empty()) {
        out += '%';
        keep_first(write_expression(ref.base, out, work));
    }
    if (!ref.index.empty()) {
        out += ",%";
        keep_first(write_expression(ref.index, out, work));
        if (!ref.scale.empty()) {
            out += ',';
            keep_first(write_expression(ref.scale, out, work));
        }
    }
    out += ')';
    return left_as_written;
}

} // namespace dravent
