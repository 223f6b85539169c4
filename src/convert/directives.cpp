// The directive handlers.
#include "convert/directives.hpp"

#include "text/characters.hpp"
#include "vocabulary/flags.hpp"
#include "vocabulary/size_keywords.hpp"

namespace dravent {
namespace {

// The name moves into the mnemonic field, followed by a comma; the directive takes the label's
// place. The value stays as written, so the line is a data line.
void move_name_after(statement_draft& draft, std::string_view directive, converted_line& line)
{
    const std::size_t begin = line.text.size();
    line.text.append(line.view(draft.label));
    line.text += ',';
    draft.mnemonic = piece::in_buffer(begin, line.text.size());
    draft.label = directive;
    draft.line_flags |= LINE_DATA;
}

} // namespace

void handle_assign(statement_draft& draft, const conversion_context& /*context*/, converted_line& /*line*/)
{
    if (draft.operands.size() != 1) {
        return;
    }
    std::string_view& value = draft.operands[0];
    std::size_t cursor = 0;
    if (match_size_keyword(value, cursor) == 0) {
        return;
    }
    cursor = skip_blanks(value, cursor);
    if (begins_with_keyword(value, cursor, "ptr")) {
        cursor = skip_blanks(value, cursor + 4);
    }
    value.remove_prefix(cursor);
}

void handle_equ(statement_draft& draft, const conversion_context& /*context*/, converted_line& line)
{
    move_name_after(draft, ".equ", line);
}

void handle_textequ(statement_draft& draft, const conversion_context& /*context*/, converted_line& line)
{
    move_name_after(draft, ".textequ", line);
}

} // namespace dravent
