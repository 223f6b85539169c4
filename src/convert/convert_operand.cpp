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

// Writes the first treatment whose condition holds; returns the size flags it finds.
int write_treatment(std::string_view text, int line_flags, text_buffer& out, conversion_workspace& work)
{
    if (holds_memory_ref(text)) {
        const memory_ref ref = parse_memory_ref(text, work.scratch);
        write_memory_ref(ref, out, work.expressions);
        return ref.size_flags;
    }
    // Whatever stands before the operand's first non-blank character stays as it is.
    const std::size_t start = skip_blanks(text, 0);
    const std::string_view at_start = text.substr(start);
    out.append(text.substr(0, start));
    if (begins_with_keyword(text, start, "offset")) {
        if ((line_flags & LINE_DATA) == 0) {
            out += '$';
        }
        write_expression(after_keyword(text, start, "offset"), out, work.expressions);
        return 0;
    }
    if (const register_row* named = find_register(at_start)) {
        out += '%';
        write_expression(at_start, out, work.expressions);
        return named->size;
    }
    if ((line_flags & LINE_JUMP) != 0) {
        // A jump target is written as it stands; only the "short" keyword goes.
        write_expression(begins_with_keyword(text, start, "short") ? after_keyword(text, start, "short") : at_start,
                         out, work.expressions);
        return 0;
    }
    // Anything else is an immediate, except on data lines and where an address is expected.
    if ((line_flags & (LINE_DATA | LINE_ADDRESS)) == 0) {
        out += '$';
    }
    // A data line lays its strings out character by character.
    write_expression(at_start, out, work.expressions,
                     (line_flags & LINE_DATA) != 0 ? string_meaning::characters : string_meaning::number);
    return 0;
}

} // namespace

int convert_operand(std::string_view text, int line_flags, const conversion_context& /*context*/, text_buffer& out,
                    conversion_workspace& work)
{
    const std::size_t begin = out.size();
    const int size_flags = write_treatment(text, line_flags, out, work);
    // The operand ends at its last character that is not a blank.
    out.truncate(begin + trim_trailing_blanks(out.view().substr(begin)).size());
    return size_flags;
}

} // namespace dravent
