// Plain lines written straight from their text. Every test here declines what the full
// conversion would treat in any other way than the plain rules below: a line declined is
// converted in full, so a test too strict costs time, never a different output.
#include "convert/plain_line.hpp"

#include "convert/memory_ref.hpp"
#include "convert/write_expression.hpp"
#include "source/tokenizer.hpp"
#include "text/characters.hpp"
#include "vocabulary/flags.hpp"
#include "vocabulary/mnemonics.hpp"
#include "vocabulary/registers.hpp"
#include "vocabulary/size_letters.hpp"
#include "text/word_key.hpp"

namespace dravent {
namespace {

// The line stands where nothing but its own text decides its output: outside comment blocks and
// structure declarations, on no include line and no line that goes on with an arg or local list.
bool stands_plainly(const conversion_context& context)
{
    if (context.comment != nullptr || context.structure != nullptr || context.include != nullptr) {
        return false;
    }
    const program_declarations* program = context.program;
    return program == nullptr || program->frame_list_lines.empty() || program->frame_list_at(context.line) == nullptr;
}

// A word that the program gives another meaning on the line: a stack slot's name, or a text
// equate's (mov ax, si after si equ <di> would read otherwise).
bool named_otherwise(std::string_view word, const conversion_context& context)
{
    return context.may_hold_unplaced_names() && context.names_unplaced(word);
}

// An instruction that the plain rules convert: known, written as in GNU As, sized by its operands
// alone (a shift count in cl and a port register aside), and none of the kinds with rules of
// their own (jumps, string instructions, x87, data, directives). ret is one outside far
// procedures; push and pop are ones with a single operand, which is no list.
bool is_plain_instruction(const mnemonic_row* row, const conversion_context& context)
{
    constexpr int plain_flags = LINE_SHIFT | LINE_PORT_IO | LINE_SOURCE_ORDER;
    if (row == nullptr || row->kind != word_kind::instruction || !row->rename.empty() ||
        (row->flags & ~plain_flags) != 0) {
        return false;
    }
    switch (row->rule) {
    case statement_rule::none:
    case statement_rule::push_or_pop:
        return true;
    case statement_rule::near_return:
        return context.procedure == nullptr || !context.procedure->far;
    default:
        return false;
    }
}

// A label alone ends in its colon: a name of letters, digits and "_" that begins with a letter or
// "_". Returns the label with its colon, or empty.
std::string_view label_alone(std::string_view text)
{
    if (text.empty() || !(is_letter(text[0]) || text[0] == '_')) {
        return {};
    }
    const std::size_t end = find_from(text, 1, [](char c) { return !(is_letter(c) || is_decimal_digit(c) || c == '_'); });
    return end < text.size() && text[end] == ':' ? text.substr(0, end + 1) : std::string_view();
}

// The words a memory operand of plain registers and numbers may hold besides them.
bool is_memory_keyword(std::string_view word)
{
    return equal_folded(word, "ptr") || equal_folded(word, "byte") || equal_folded(word, "word") ||
           equal_folded(word, "dword") || equal_folded(word, "qword");
}

// A general or segment register; no MMX register.
const register_row* plain_register(std::string_view word)
{
    const register_row* named = register_named(word);
    return named != nullptr && (named->size > 0 || named->segment) ? named : nullptr;
}

// A memory operand whose words are registers, numbers and size keywords, between "[", "]", "+",
// "-", "*", ":" and blanks: nothing in it names anything the program declares.
bool is_plain_memory(std::string_view text, const conversion_context& context)
{
    std::size_t at = 0;
    while (at < text.size()) {
        const char c = text[at];
        if (is_blank(c) || c == '[' || c == ']' || c == '+' || c == '-' || c == '*' || c == ':') {
            ++at;
            continue;
        }
        if (!continues_name(c)) {
            return false;
        }
        const std::size_t end = find_from(text, at, [](char d) { return !continues_name(d); });
        const std::string_view word = text.substr(at, end - at);
        if (is_decimal_digit(c)) {
            for (const char d : word) {
                if (!is_letter(d) && !is_decimal_digit(d)) {
                    return false;
                }
            }
        } else if ((plain_register(word) == nullptr && !is_memory_keyword(word)) || named_otherwise(word, context)) {
            return false;
        }
        at = end;
    }
    return true;
}

// A whole number in a radix Tasm reads (10, 0FFh, 1010b), written alone.
bool read_plain_number(std::string_view word, token& number)
{
    return tokenizer(word).next(number) && number.kind == token_kind::number && number.text.size() == word.size() &&
           number.radix != number_radix::real && number.radix != number_radix::invalid;
}

// Room for one output line, taken once; each piece is then copied into it.
class line_room {
public:
    line_room(text_buffer& out, std::size_t most) : out_(out), at_(out.room(most).begin) {}
    line_room(const line_room&) = delete;
    line_room& operator=(const line_room&) = delete;
    ~line_room() { out_.written_to(at_); }

    void put(std::string_view text)
    {
        copy_short(at_, text.data(), text.size());
        at_ += text.size();
    }
    void put(char c) { *at_++ = c; }

private:
    text_buffer& out_;
    char* at_;
};

// A comment after a statement or label is written after a tab, behind "#".
void put_comment_and_ending(line_room& line, bool has_comment, std::string_view comment, std::string_view ending)
{
    if (has_comment) {
        line.put("\t#");
        line.put(comment);
    }
    line.put(ending);
}

// A decimal number that GNU As reads as written: digits, with no leading zero (which would make it
// octal). Most immediates and displacements are one.
bool is_plain_decimal(std::string_view word)
{
    if (word.empty() || (word[0] == '0' && word.size() > 1)) {
        return false;
    }
    for (const char c : word) {
        if (!is_decimal_digit(c)) {
            return false;
        }
    }
    return true;
}

// What ends an operand (a comma, ";" or a quote, which plain lines do not hold) or makes it memory.
constexpr byte_set operand_marks(",;'\"[");

} // namespace

// One operand, as the full conversion writes it: a register with "%", a number with "$", memory
// in AT&T form. False for any other.
bool plain_line_writer::convert_operand(std::string_view text, bool memory, const conversion_context& context,
                                        conversion_workspace& work, operand& converted)
{
    converted.begin = operands_.size();
    converted.size_flags = 0;
    converted.memory = memory;
    converted.count_register = false;
    if (memory) {
        if (!is_plain_memory(text, context)) {
            return false;
        }
        const memory_ref ref = parse_memory_ref(text, work.scratch);
        if (!write_memory_ref(ref, operands_, work.expressions).empty() ||
            (ref.size_flags & ~SIZE_LETTER_FLAGS) != 0) {
            return false;
        }
        // The operand ends at its last character that is not a blank.
        while (operands_.size() > converted.begin && is_blank(operands_.back())) {
            operands_.truncate(operands_.size() - 1);
        }
        converted.size_flags = ref.size_flags;
    } else {
        const std::string_view word = trim_trailing_blanks(text);
        if (const register_row* named = plain_register(word); named != nullptr) {
            if (named_otherwise(word, context)) {
                return false;
            }
            operands_ += '%';
            operands_ += word;
            converted.size_flags = named->size;
            converted.count_register = equal_folded(word, "cl");
        } else if (is_plain_decimal(word)) {
            operands_ += '$';
            operands_ += word;
        } else {
            token number;
            if (!read_plain_number(word, number)) {
                return false;
            }
            operands_ += '$';
            if (!write_single_token(number, operands_, work.expressions).empty()) {
                return false;
            }
        }
    }
    converted.end = operands_.size();
    return true;
}

plain_line plain_line_writer::write(std::string_view text, const char* readable_end,
                                    const conversion_context& context, data_directive open_data, text_buffer& out,
                                    conversion_workspace& work)
{
    std::string_view ending = "\n";
    if (!text.empty() && text.back() == '\r') {
        text.remove_suffix(1);
        ending = "\r\n";
    }
    if (!stands_plainly(context)) {
        return plain_line::not_plain;
    }
    std::size_t at = skip_blanks(text, 0);
    // A blank line, or a comment alone: an open data definition goes on after it.
    if (at == text.size() || text[at] == ';') {
        const std::string_view comment = at < text.size() ? text.substr(at + 1) : std::string_view();
        line_room line(out, comment.size() + 1 + ending.size());
        if (at < text.size()) {
            line.put('#');
            line.put(comment);
        }
        line.put(ending);
        return plain_line::passed_over;
    }
    if (open_data != data_directive::none) {
        return plain_line::not_plain;  // the line may go on with a data definition
    }
    // A label alone: a label written otherwise (@@, a case the program declares otherwise) is not.
    if (at == 0) {
        const std::string_view label = label_alone(text);
        if (label.empty() || (context.program != nullptr && context.program->declared_in_another_case)) {
            return plain_line::not_plain;
        }
        at = skip_blanks(text, label.size());
        if (at < text.size() && text[at] != ';') {
            return plain_line::not_plain;
        }
        const std::string_view comment = text.substr(at + (at < text.size() ? 1 : 0));
        line_room line(out, label.size() + 4 + comment.size() + ending.size());
        line.put(label);
        line.put("\t\t");
        put_comment_and_ending(line, at < text.size(), comment, ending);
        return plain_line::written;
    }

    // An instruction: its mnemonic ends at a blank or ";", its operands at a comma or ";". A run of
    // blanks and commas between operands is one separator.
    const std::size_t mnemonic_end = find_from(text, at, [](char c) { return is_blank(c) || c == ';'; });
    const std::string_view mnemonic = text.substr(at, mnemonic_end - at);
    const mnemonic_row* row = mnemonic_table.find(make_word_key(mnemonic, readable_end));
    if (!is_plain_instruction(row, context)) {
        return plain_line::not_plain;
    }
    work.expressions.local_label_prefix = context.local_label_prefix;
    work.expressions.context = &context;
    operands_.clear();
    std::size_t count = 0;
    at = skip_blanks(text, mnemonic_end);
    while (at < text.size() && text[at] != ';') {
        std::size_t end = at;
        bool memory = false;
        for (; end < text.size(); ++end) {
            if (operand_marks.contains(text[end])) {
                if (text[end] != '[') {
                    break;
                }
                memory = true;
            }
        }
        if (count == most_operands || (end < text.size() && is_quote(text[end])) ||
            !convert_operand(text.substr(at, end - at), memory, context, work, converted_[count])) {
            return plain_line::not_plain;
        }
        ++count;
        at = find_from(text, end, [](char c) { return !is_blank(c) && c != ','; });
    }
    if (row->rule == statement_rule::push_or_pop && count > 1) {
        return plain_line::not_plain;  // push ax, bx: a list
    }

    // The size letters: those of every operand but a shift count in cl; a port register gives none
    // beside another size. Memory with no size from anywhere takes a variable's, which is no
    // plain rule.
    const bool count_in_cl = (row->flags & LINE_SHIFT) != 0 && count >= 2 && converted_[count - 1].count_register;
    int flags = 0;
    bool memory = false;
    for (std::size_t n = 0; n < count; ++n) {
        flags |= n + 1 == count && count_in_cl ? 0 : converted_[n].size_flags;
        memory = memory || converted_[n].memory;
    }
    if ((row->flags & LINE_PORT_IO) != 0 && flags != SIZE_WORD) {
        flags &= ~SIZE_WORD;
    }
    if (memory && (flags & SIZE_LETTER_FLAGS) == 0) {
        return plain_line::not_plain;
    }

    const std::string_view letters = letters_of(flags);
    const bool has_comment = at < text.size();
    const std::string_view comment = text.substr(at + (has_comment ? 1 : 0));
    line_room line(out, mnemonic.size() + letters.size() + operands_.size() + count + comment.size() + 4 +
                            ending.size());
    line.put('\t');
    line.put(mnemonic);
    line.put(letters);
    line.put('\t');
    const bool reversed = (row->flags & LINE_SOURCE_ORDER) == 0;
    for (std::size_t n = 0; n < count; ++n) {
        const operand& o = converted_[reversed ? count - 1 - n : n];
        if (n > 0) {
            line.put(',');
        }
        line.put(std::string_view(operands_.data() + o.begin, o.end - o.begin));
    }
    put_comment_and_ending(line, has_comment, comment, ending);
    return plain_line::written;
}

} // namespace dravent
