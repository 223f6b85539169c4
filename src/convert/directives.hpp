// Tasm directives that a handler rewrites, or that are dropped from the line; and the conversion
// of the lines that data definitions make.
#pragma once

#include "convert/conversion_context.hpp"
#include "convert/converted_line.hpp"
#include "convert/data_directive.hpp"
#include "convert/statement_draft.hpp"
#include "source/source_line.hpp"
#include "text/hashed_table.hpp"
#include "vocabulary/mnemonics.hpp"

#include <array>
#include <cstdint>
#include <string_view>

namespace dravent {

// A handler rewrites the draft of a line that carries its directive; it may write text of its own
// into the line's buffer.
using directive_handler = void (*)(statement_draft&, const conversion_context&, converted_line&);

// x = ... : a size keyword (and "ptr") in front of the one value goes.
void handle_assign(statement_draft& draft, const conversion_context& context, converted_line& line);
// name equ value becomes .equ name, value: the name moves into the mnemonic field.
void handle_equ(statement_draft& draft, const conversion_context& context, converted_line& line);
void handle_textequ(statement_draft& draft, const conversion_context& context, converted_line& line);

// A row without a handler drops the directive with its label and operands, leaving only the
// line's comment. found_in_label replaces how the statement was found once a handler has run: a
// label beside a handled directive gets no colon.
struct directive_row {
    std::string_view name;
    directive_handler handler;
    bool found_in_label;
};

inline constexpr hashed_table directive_table{std::to_array<directive_row>({
    {"=",       handle_assign,  true},
    {"dosseg",  nullptr,        false},
    {"end",     nullptr,        false},
    {"equ",     handle_equ,     true},
    {"extrn",   nullptr,        false},
    {"ideal",   nullptr,        false},
    {"model",   nullptr,        false},
    {"p386",    nullptr,        false},
    {"stack",   nullptr,        false},
    {"textequ", handle_textequ, true},
})};
static_assert(directive_table.is_searchable(), "directive_table: names in lower case, each once");

// The vocabulary knows every word of this table as a directive, so that a word it does not know
// as one is never searched for here.
constexpr bool vocabulary_knows_the_directives()
{
    for (const directive_row& row : directive_table) {
        const std::size_t word = mnemonic_table.find_index(make_word_key(row.name));
        if (word == mnemonic_table.not_found || mnemonic_table.rows()[word].kind != word_kind::directive) {
            return false;
        }
    }
    return true;
}
static_assert(vocabulary_knows_the_directives(), "mnemonic_table must know every directive of directive_table");

// What convert_whole_line made of a line.
enum class whole_line : std::uint8_t { not_converted, data };

// Converts the line by itself when it defines data or goes on with the data definition that the
// line before left open (continued): sets its label, statements, comment and leaves_open, and
// says so. Otherwise returns not_converted with only leaves_open set, for the statement converter
// to go on with the line. The data directive is searched for as the statement converter searches
// renames: by mnemonic, then, for a mnemonic with no rename, by label (a directive in the first
// column). A data definition that GNU As has no form for is left to the statement converter,
// which writes it in a form GNU As rejects.
whole_line convert_whole_line(const source_line& source, const conversion_context& context,
                              data_directive continued, converted_line& line);

} // namespace dravent
