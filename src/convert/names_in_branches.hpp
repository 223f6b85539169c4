// Names whose declaration depends on a branch of conditional assembly the declarations cannot
// decide: a line that uses one follows the branch assembled where nothing is defined outside the
// file (or the last declaration), which may not be the one Tasm reads.
#pragma once

#include "convert/conversion_context.hpp"
#include "source/tokenizer.hpp"
#include "text/characters.hpp"

#include <cstddef>
#include <string_view>

namespace dravent {

// The column (from 1) of the first name on line, up to its comment, that such branches declare
// otherwise (a name, or a text equate's text on this line); for a ret, that of the procedure it
// stands in. 0 for none. A name in the first column is the one the line declares: its own
// declaration is written the same in either branch.
inline std::size_t column_of_name_in_branches(std::string_view line, const conversion_context& context)
{
    const program_declarations& program = *context.program;
    tokenizer tokens(line);
    for (token t; tokens.next(t);) {
        if (t.kind == token_kind::other && t.text == ";") {
            break;
        }
        if (t.kind != token_kind::name || t.text.data() == line.data()) {
            continue;
        }
        const name_facts* facts = program.find(t.text);
        const text_equate* text = program.text_equate_at(t.text, context.line);
        const bool far_or_near = context.procedure != nullptr && context.procedure->name != no_entry &&
                                 (equal_folded(t.text, "ret") || equal_folded(t.text, "retn")) &&
                                 program.names.facts(context.procedure->name).conflicting;
        if ((facts != nullptr && facts->conflicting) || (text != nullptr && text->conflicting) || far_or_near) {
            return static_cast<std::size_t>(t.text.data() - line.data()) + 1;
        }
    }
    return 0;
}

} // namespace dravent
