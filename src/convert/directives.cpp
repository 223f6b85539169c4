// The directive handlers, and the choice of the lines that data definitions make.
#include "convert/directives.hpp"

#include "convert/data.hpp"
#include "convert/data_list.hpp"
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

namespace {

statement& add_statement(converted_line& line, std::string_view mnemonic)
{
    statement& added = line.statements.emplace_back();
    added.mnemonic = mnemonic;
    added.first_operand = line.operands.size();
    return added;
}

void add_operand(converted_line& line, piece operand)
{
    line.operands.push_back(operand);
    ++line.statements.back().operand_count;
}

struct rest_of_line {
    std::string_view arguments;  // without blanks at either end
    std::string_view list;       // the same with the blanks at its end, as a data list keeps them
    bool has_comment = false;
    std::string_view comment;
};

// What follows position in the line: the arguments up to a ";" outside quotes, and the comment.
rest_of_line rest_from(std::string_view text, std::size_t position)
{
    const std::size_t semicolon = find_comment(text, position);
    rest_of_line rest;
    const std::size_t begin = skip_blanks(text, position);
    rest.list = text.substr(begin, semicolon > begin ? semicolon - begin : 0);
    rest.arguments = trim_trailing_blanks(rest.list);
    rest.has_comment = semicolon < text.size();
    rest.comment = rest.has_comment ? text.substr(semicolon + 1) : std::string_view();
    return rest;
}

rest_of_line rest_after(std::string_view text, std::string_view word)
{
    return rest_from(text, static_cast<std::size_t>(word.data() - text.data()) + word.size());
}

void take_comment(const rest_of_line& rest, converted_line& line)
{
    line.has_comment = rest.has_comment;
    line.comment = rest.comment;
}

// A line of blanks, a comment or nothing.
bool is_empty(const source_line& source)
{
    return source.label.empty() && source.mnemonic.empty() && source.operands.empty();
}

// A data definition in the first column without a label (db 1,2) that the statement converter
// wrote right, as ".byte<tab>1,2<tab>", keeps that form.
void keep_first_column_form(const source_line& source, std::string_view rename, converted_line& line)
{
    if (rename.empty() || !source.operands.empty() || line.leaves_open != data_directive::none ||
        line.statements.size() != 1 || line.view(line.statements[0].mnemonic) != rename ||
        line.has_comment != source.has_comment || line.comment != source.comment) {
        return;
    }
    std::string_view rest = source.mnemonic;
    const statement& only = line.statements[0];
    for (std::size_t n = 0; n < only.operand_count; ++n) {
        const std::string_view operand = line.view(line.operands[only.first_operand + n]);
        if (n > 0) {
            if (rest.empty() || rest.front() != ',') {
                return;
            }
            rest.remove_prefix(1);
        }
        if (rest.substr(0, operand.size()) != operand) {
            return;
        }
        rest.remove_prefix(operand.size());
    }
    if (!rest.empty()) {
        return;
    }
    line.label = rename;
    line.label_colon = false;
    line.operands.clear();
    line.statements.clear();
    add_statement(line, source.mnemonic);
}

whole_line define_data(const mnemonic_row& row, std::string_view word, std::string_view label,
                       const source_line& source, const conversion_context& context, converted_line& line)
{
    const data_directive directive = data_directive_of(word);
    if (directive == data_directive::none) {
        return whole_line::not_converted;
    }
    const rest_of_line rest = rest_after(source.text, word);
    if (!convert_data(directive, label, rest.list, context, line)) {
        return whole_line::not_converted;
    }
    take_comment(rest, line);
    if (word.data() == source.label.data()) {
        keep_first_column_form(source, row.rename, line);
    }
    return whole_line::data;
}

void continue_data(data_directive continued, const source_line& source, const conversion_context& context,
                   converted_line& line)
{
    const rest_of_line rest = rest_from(source.text, 0);
    if (!convert_data(continued, {}, rest.list, context, line)) {
        line.statements.clear();
        line.operands.clear();
        add_statement(line, tasm_word(continued));
        add_operand(line, rest.arguments);
    }
    take_comment(rest, line);
}

} // namespace

whole_line convert_whole_line(const source_line& source, const conversion_context& context,
                              data_directive continued, converted_line& line)
{
    if (continued != data_directive::none) {
        if (is_empty(source)) {
            line.leaves_open = continued;  // a blank or comment line between keeps the list open
            return whole_line::not_converted;
        }
        continue_data(continued, source, context, line);
        return whole_line::data;
    }
    const mnemonic_row* mnemonic = source.mnemonic.empty() ? nullptr : mnemonic_table.find(source.mnemonic);
    if (mnemonic != nullptr && mnemonic->kind == word_kind::data) {
        return define_data(*mnemonic, source.mnemonic, source.label, source, context, line);
    }
    if (mnemonic != nullptr && !mnemonic->rename.empty()) {
        return whole_line::not_converted;
    }
    const mnemonic_row* label = source.label.empty() ? nullptr : mnemonic_table.find(source.label);
    if (label != nullptr && label->kind == word_kind::data && !label->rename.empty()) {
        return define_data(*label, source.label, {}, source, context, line);
    }
    if (label != nullptr && !label->rename.empty()) {
        return whole_line::not_converted;
    }
    if (label != nullptr && label->kind == word_kind::data) {
        return define_data(*label, source.label, {}, source, context, line);
    }
    return whole_line::not_converted;
}

} // namespace dravent
