// Memory operand conversion: size keywords, prefix, segment overrides and the terms between
// "+", "-", "[" and "]"; then the AT&T text in output order.
#include "convert/memory_ref.hpp"

#include "convert/write_expression.hpp"
#include "source/tokenizer.hpp"
#include "text/characters.hpp"
#include "vocabulary/registers.hpp"
#include "vocabulary/size_keywords.hpp"

#include <algorithm>
#include <utility>

namespace dravent {
namespace {

std::size_t skip_white_space(std::string_view text, std::size_t position)
{
    return find_from(text, position, [](char c) { return !is_white_space(c); });
}

// The name that begins at text[position] (letters, digits, "_", "@", "$", "?"), or empty.
std::string_view name_at(std::string_view text, std::size_t position)
{
    if (position >= text.size() || !starts_name(text[position])) {
        return {};
    }
    const std::size_t end = find_from(text, position + 1, [](char c) { return !continues_name(c); });
    return text.substr(position, end - position);
}

// The name read at text[position] is the keyword (given in lower case), ended by white space or
// by the "[" of the reference: "byte ptr[bx]" reads as "byte ptr [bx]".
bool is_keyword(std::string_view text, std::size_t position, std::string_view name, std::string_view keyword)
{
    if (!equal_folded(name, keyword)) {
        return false;
    }
    const std::size_t after = position + keyword.size();
    return after < text.size() && (is_white_space(text[after]) || text[after] == '[');
}

// Position of the first c at or after position outside quotes, or text.size().
std::size_t find_outside_quotes(std::string_view text, std::size_t position, char c)
{
    while (position < text.size() && text[position] != c) {
        position = is_quote(text[position]) ? end_of_string(text, position).end : position + 1;
    }
    return position;
}

// Reads one reference from left to right. Size keywords count at the operand's start, right
// after a "[" and right after a segment override; a segment override counts at the start of any
// term, blanks before and after its ":" included.
class reference_reader {
public:
    reference_reader(std::string_view text, memory_ref& ref, text_buffer& displacement)
        : text_(text), ref_(ref), displacement_(displacement)
    {
    }

    void read()
    {
        take_sizes_and_override(skip_blanks(text_, 0));
        if (read_plain_brackets()) {
            order_16_bit_registers();
            return;
        }
        const std::size_t bracket = find_outside_quotes(text_, cursor_, '[');
        take_prefix(trim_blanks(text_.substr(cursor_, bracket - cursor_)));
        take_sizes_and_override(std::min(bracket + 1, text_.size()));
        // Every reference has at least one term, if only an empty one.
        for (;;) {
            take_override(skip_blanks(text_, cursor_));
            const std::size_t term_end = end_of_term(cursor_);
            take_term(trim_blanks(text_.substr(cursor_, term_end - cursor_)));
            cursor_ = term_end;
            if (cursor_ == text_.size()) {
                break;
            }
            const char separator = text_[cursor_++];
            if (separator == '+' || separator == '-') {
                pending_sign_ = separator;
                continue;
            }
            pending_sign_ = '+';
            if (separator == '[') {
                take_sizes_and_override(cursor_);
                continue;
            }
            if (!read_after_closing_bracket()) {
                break;
            }
        }
        order_16_bit_registers();
    }

private:
    // Most references are one pair of brackets around registers and numbers or names, without
    // blanks: [bx], [bp-6], [bx+si+38], [ebx+ecx*4+16]. Such a reference is read here in one go,
    // taken apart as the terms below would take it. False, with nothing taken, for any other form.
    bool read_plain_brackets()
    {
        std::size_t at = cursor_;
        if (at == text_.size() || text_[at] != '[') {
            return false;
        }
        std::string_view base;
        std::string_view index;
        std::string_view scale;
        char sign = '\0';
        for (;;) {
            const std::string_view word = plain_word(++at);
            at += word.size();
            if (word.empty() || at == text_.size()) {
                return give_up();
            }
            const register_row* named = register_named(word);
            if (named != nullptr && named->size > 0) {
                if (sign == '-') {
                    return give_up();  // the terms below drop that sign
                }
                if (text_[at] == '*') {
                    scale = plain_word(++at);
                    at += scale.size();
                    if (!index.empty() || scale.empty() || at == text_.size()) {
                        return give_up();
                    }
                    index = word;
                } else if (base.empty()) {
                    base = word;
                } else if (index.empty()) {
                    index = word;
                } else {
                    return give_up();
                }
            } else if (named != nullptr) {
                return give_up();  // a segment or MMX register: no base, no index
            } else {
                if (sign != '\0') {
                    displacement_ += sign;
                }
                displacement_ += word;
            }
            const char separator = text_[at];
            if (separator == ']') {
                break;
            }
            if (separator != '+' && separator != '-') {
                return give_up();
            }
            sign = separator;
        }
        if (skip_white_space(text_, at + 1) != text_.size()) {
            return give_up();
        }
        ref_.base = base;
        ref_.index = index;
        ref_.scale = scale;
        cursor_ = text_.size();
        return true;
    }

    // The run of name characters at position (a register, a number or a name), or empty.
    std::string_view plain_word(std::size_t position) const
    {
        const std::size_t end = find_from(text_, position, [](char c) { return !continues_name(c); });
        return text_.substr(position, end - position);
    }

    bool give_up()
    {
        displacement_.clear();
        return false;
    }

    // A "]" does not end the reference: what follows it joins it like a "+", so [bx][si],
    // table[bx][si], [bx]+2, [bx].2 and [si].field keep every part. False at the end of the text.
    bool read_after_closing_bracket()
    {
        cursor_ = skip_white_space(text_, cursor_);
        if (cursor_ == text_.size()) {
            return false;
        }
        const char next = text_[cursor_];
        if (next == ']') {
            pending_sign_ = '\0';  // [byte [bp+6]], a text equate's brackets inside IDEAL's: no term follows
        } else if (next == '+' || next == '-') {
            pending_sign_ = next;
            ++cursor_;
        } else if (next == '.' && cursor_ + 1 < text_.size() &&
                   (is_decimal_digit(text_[cursor_ + 1]) || starts_name(text_[cursor_ + 1]))) {
            ++cursor_;  // "." and a number or a structure field: an offset added to the reference
        }
        cursor_ = skip_blanks(text_, cursor_);
        if (cursor_ < text_.size() && text_[cursor_] == '[') {
            take_sizes_and_override(cursor_ + 1);
        }
        return true;
    }

    // Size keywords with or without "ptr", before or after a segment override, from position on.
    void take_sizes_and_override(std::size_t position)
    {
        cursor_ = skip_blanks(text_, position);
        // Keywords and segment registers are names; most references begin with "[".
        if (cursor_ < text_.size() && starts_name(text_[cursor_])) {
            take_named_sizes_and_override();
        }
    }

    void take_named_sizes_and_override()
    {
        take_size_keyword();
        if (take_override(cursor_)) {
            take_size_keyword();
        }
    }

    void take_size_keyword()
    {
        const std::string_view name = name_at(text_, cursor_);
        if (name.size() < shortest_size_keyword || name.size() > longest_size_keyword) {
            return;
        }
        for (const size_keyword_row& row : size_keyword_table) {
            if (is_keyword(text_, cursor_, name, row.name)) {
                ref_.size_flags |= row.size;
                cursor_ = skip_blanks(text_, cursor_ + row.name.size());
                if (keyword_at(text_, cursor_, "ptr")) {
                    cursor_ = skip_blanks(text_, cursor_ + 3);
                }
                return;
            }
        }
    }

    // A segment register name, blanks, ":" and blanks at position: the override. Sets the cursor
    // to position or past the override.
    bool take_override(std::size_t position)
    {
        cursor_ = position;
        const std::string_view name = name_at(text_, position);
        const register_row* named = register_named(name);
        if (named == nullptr || !named->segment) {
            return false;
        }
        const std::size_t colon = skip_blanks(text_, position + name.size());
        if (colon == text_.size() || text_[colon] != ':') {
            return false;
        }
        ref_.segment = name;
        cursor_ = skip_blanks(text_, colon + 1);
        return true;
    }

    // What stands before the first "[" (its override already taken) is a displacement; its
    // parentheses go.
    void take_prefix(std::string_view prefix)
    {
        if (prefix.empty()) {
            return;
        }
        for (const char c : prefix) {
            if (c != '(' && c != ')') {
                displacement_ += c;
            }
        }
        pending_sign_ = '+';
    }

    // A term ends at "]", or at "+", "-" or "[" outside parentheses and quotes.
    std::size_t end_of_term(std::size_t position) const
    {
        int depth = 0;
        while (position < text_.size()) {
            const char c = text_[position];
            if (is_quote(c)) {
                position = end_of_string(text_, position).end;
                continue;
            }
            if (c == ']' || (depth == 0 && (c == '+' || c == '-' || c == '['))) {
                return position;
            }
            if (c == '(') {
                ++depth;
            } else if (c == ')' && depth > 0) {
                --depth;
            }
            ++position;
        }
        return position;
    }

    // A register term becomes the base, or the index once the base is set; a scaled register the
    // index, so a register after it is the base ([4*ecx+esi]). Any other term, the empty one
    // included, joins the displacement behind the pending sign; so does a register that no
    // address can hold: one behind a minus ([bx-si]) or one more once both are set
    // ([bx+si+di]). Tasm rejects those, and GNU As rejects the register in the displacement.
    void take_term(std::string_view term)
    {
        const bool takes_register = pending_sign_ != '-' && ref_.index.empty();
        const bool takes_base = pending_sign_ != '-' && ref_.base.empty();
        const std::size_t star = term.find('*');
        if (star != std::string_view::npos) {
            const std::string_view left = trim_blanks(term.substr(0, star));
            const std::string_view right = trim_blanks(term.substr(star + 1));
            if (takes_register && lookup_register(left) > 0) {
                ref_.index = left;
                ref_.scale = right;
                return;
            }
            if (takes_register && lookup_register(right) > 0) {
                ref_.index = right;
                ref_.scale = left;
                return;
            }
        } else if ((takes_register || takes_base) && lookup_register(term) > 0) {
            (ref_.base.empty() ? ref_.base : ref_.index) = term;
            return;
        }
        if (pending_sign_ != '\0') {
            displacement_ += pending_sign_;
        }
        displacement_.append(term);
    }

    void order_16_bit_registers() { order_16_bit_pair(ref_.base, ref_.index, ref_.scale); }

    std::string_view text_;
    memory_ref& ref_;
    text_buffer& displacement_;
    std::size_t cursor_ = 0;
    char pending_sign_ = '\0';
};

} // namespace

void order_16_bit_pair(std::string_view& base, std::string_view& index, std::string_view scale)
{
    if (index_written_first(register_named(base), register_named(index), scale)) {
        std::swap(base, index);
    }
}

bool keyword_at(std::string_view text, std::size_t position, std::string_view keyword)
{
    return is_keyword(text, position, name_at(text, position), keyword);
}

bool holds_memory_ref(std::string_view text)
{
    // Most operands hold no "[" at all, in quotes or out; they are short, too short for memchr
    // to pay.
    for (const char c : text) {
        if (c == '[') {
            return find_outside_quotes(text, 0, '[') < text.size();
        }
    }
    return false;
}

memory_ref parse_memory_ref(std::string_view text, text_buffer& scratch)
{
    memory_ref ref;
    scratch.clear();
    reference_reader(text, ref, scratch).read();
    ref.displacement = scratch.view();
    return ref;
}

namespace {

// A register term is mostly the register alone (bx, ESI), written as it stands: write_expression
// would write it the same. A term with more after the register is written as an expression.
std::string_view write_register_term(std::string_view term, text_buffer& out, expression_workspace& work)
{
    for (const char c : term) {
        if (!is_letter(c) && !is_decimal_digit(c)) {
            return write_expression(term, out, work);
        }
    }
    out += term;
    return {};
}

} // namespace

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
        keep_first(write_register_term(ref.base, out, work));
    }
    if (!ref.index.empty()) {
        out += ",%";
        keep_first(write_register_term(ref.index, out, work));
        if (!ref.scale.empty()) {
            out += ',';
            keep_first(write_expression(ref.scale, out, work));
        }
    }
    out += ')';
    return left_as_written;
}

} // namespace dravent
