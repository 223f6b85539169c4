// Operand conversion: picks one of six treatments from the operand's start and the line's kind,
// writes the result in order with every suffixed number rewritten, and drops trailing blanks.
#include "convert/convert_operand.hpp"

#include "convert/memory_ref.hpp"
#include "convert/write_expression.hpp"
#include "text/characters.hpp"
#include "vocabulary/flags.hpp"
#include "vocabulary/registers.hpp"

namespace dravent {
namespace {

// What follows a keyword at position: past the keyword, the one white-space character after it
// and the blanks after that.
std::string_view after_keyword(std::string_view text, std::size_t position, std::string_view keyword)
{
    return text.substr(skip_blanks(text, position + keyword.size() + 1));
}

// A jump target's distance keyword goes: the target is written as it stands.
std::string_view without_distance(std::string_view text, std::size_t start)
{
    if (begins_with_keyword(text, start, "short")) {
        return after_keyword(text, start, "short");
    }
    if (begins_with_keyword(text, start, "near")) {
        const std::string_view rest = after_keyword(text, start, "near");
        return begins_with_keyword(rest, 0, "ptr") ? after_keyword(rest, 0, "ptr") : rest;
    }
    return text.substr(start);
}

// Writes the first treatment whose condition holds.
operand_result write_treatment(std::string_view text, int line_flags, text_buffer& out, conversion_workspace& work)
{
    if (text.find('[') != std::string_view::npos) {
        const memory_ref ref = parse_memory_ref(text, work.scratch);
        const std::string_view left = write_memory_ref(ref, out, work.expressions);
        return {ref.size_flags, operand_form::memory, -1, left};
    }
    // Whatever stands before the operand's first non-blank character stays as it is.
    const std::size_t start = skip_blanks(text, 0);
    const std::string_view at_start = text.substr(start);
    out.append(text.substr(0, start));
    if (begins_with_keyword(text, start, "offset")) {
        if ((line_flags & LINE_DATA) == 0) {
            out += '$';
        }
        return {0, operand_form::other, -1, write_expression(after_keyword(text, start, "offset"), out, work.expressions)};
    }
    if (const register_row* named = find_register(at_start)) {
        out += '%';
        const std::string_view written = trim_trailing_blanks(at_start);
        if (written.size() == named->name.size()) {
            out += written;  // the register alone: nothing to rewrite
            return {named->size, named->segment ? operand_form::segment_register : operand_form::general_register, -1, {}};
        }
        write_expression(at_start, out, work.expressions);
        return {named->size, named->segment ? operand_form::segment_register : operand_form::general_register, -1, {}};
    }
    if (const int index = x87_register_index(at_start); index >= 0) {
        out += "%st";
        if (at_start.find('(') != std::string_view::npos) {
            out += '(';
            out += static_cast<char>('0' + index);
            out += ')';
        }
        return {0, operand_form::x87_register, index, {}};
    }
    if ((line_flags & LINE_JUMP) != 0) {
        return {0, operand_form::other, -1, write_expression(without_distance(text, start), out, work.expressions)};
    }
    // Anything else is an immediate, except on data lines and where an address is expected.
    if ((line_flags & (LINE_DATA | LINE_ADDRESS)) == 0) {
        out += '$';
    }
    // A data line lays its strings out character by character.
    return {0, operand_form::other, -1,
            write_expression(at_start, out, work.expressions,
                             (line_flags & LINE_DATA) != 0 ? string_meaning::characters : string_meaning::number)};
}

} // namespace

int x87_register_index(std::string_view text)
{
    text = trim_trailing_blanks(text.substr(skip_blanks(text, 0)));
    if (text.size() < 2 || fold_case(text[0]) != 's' || fold_case(text[1]) != 't') {
        return -1;
    }
    std::size_t at = skip_blanks(text, 2);
    if (at == text.size()) {
        return text.size() == 2 ? 0 : -1;
    }
    if (text[at] != '(') {
        return -1;
    }
    at = skip_blanks(text, at + 1);
    if (at >= text.size() || text[at] < '0' || text[at] > '7') {
        return -1;
    }
    const int index = text[at] - '0';
    at = skip_blanks(text, at + 1);
    return at + 1 == text.size() && text[at] == ')' ? index : -1;
}

operand_form form_of_operand(std::string_view text)
{
    if (text.find('[') != std::string_view::npos) {
        return operand_form::memory;
    }
    const register_row* named = find_register(text.substr(skip_blanks(text, 0)));
    if (named == nullptr) {
        return operand_form::other;
    }
    return named->segment ? operand_form::segment_register : operand_form::general_register;
}

operand_result convert_operand(std::string_view text, int line_flags, const conversion_context& /*context*/,
                               text_buffer& out, conversion_workspace& work)
{
    const std::size_t begin = out.size();
    const operand_result result = write_treatment(text, line_flags, out, work);
    // The operand ends at its last character that is not a blank.
    out.truncate(begin + trim_trailing_blanks(out.view().substr(begin)).size());
    return result;
}

} // namespace dravent
