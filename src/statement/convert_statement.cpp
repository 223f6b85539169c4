// Statement conversion: renames and directives from the keyword tables, label colons, line
// flags, then every operand.
#include "statement/convert_statement.hpp"

#include "operand/convert_operand.hpp"
#include "statement/keyword_tables.hpp"

namespace dravent {
namespace {

// How a line's statement was found in the tables.
enum match_result : int {
    found_in_mnemonic = 0,
    found_in_label = 1,
    not_found = -1,
};

// Searches rename_table by mnemonic, then by label, then directive_table the same way; the first
// hit wins. Returns how the statement was found, after any directive has been handled.
int replace_from_tables(line_record& record)
{
    const name_key mnemonic = fold_key(record.mnemonic);
    const name_key label = fold_key(record.label);
    if (const rename_row* row = rename_table.find(mnemonic)) {
        record.mnemonic.assign(row->replacement);
        return found_in_mnemonic;
    }
    if (const rename_row* row = rename_table.find(label)) {
        record.label.assign(row->replacement);
        return found_in_label;
    }
    int match = found_in_mnemonic;
    const directive_row* directive = directive_table.find(mnemonic);
    if (directive == nullptr) {
        match = found_in_label;
        directive = directive_table.find(label);
    }
    if (directive == nullptr) {
        return not_found;
    }
    if (directive->handler != nullptr) {
        directive->handler(record);
        return directive->result;
    }
    // A Tasm-only directive is dropped with its label and operands; its comment stays.
    record.label.clear();
    record.mnemonic.clear();
    record.count = 0;
    return match;
}

// A label beside a replaced mnemonic becomes a GNU As label; one that ends in a colon keeps it.
void add_label_colon(line_record& record)
{
    if (!record.label.empty() && record.label.back() != ':') {
        record.label += ':';
    }
}

int line_flags_of(std::string_view mnemonic)
{
    int flags = 0;
    if (const mnemonic_flags_row* row = mnemonic_flags_table.find(mnemonic)) {
        flags |= row->flags;
    }
    if (!mnemonic.empty() && fold_case(mnemonic.front()) == 'j') {
        flags |= LINE_JUMP;
    }
    return flags;
}

// name equ value becomes .equ name, value: the name moves into the mnemonic field. The value
// stays as written, so the line is a data line.
void move_name_after(line_record& record, std::string_view directive)
{
    record.mnemonic.assign(record.label);
    record.mnemonic += ',';
    record.label.assign(directive);
    record.line_flags |= LINE_DATA;
}

} // namespace

void handle_assign(line_record& record)
{
    if (record.count != 1) {
        return;
    }
    std::string& text = record.operand(0).text;
    std::size_t cursor = 0;
    if (match_size_keyword(text, cursor) == 0) {
        return;
    }
    cursor = skip_blanks(text, cursor);
    if (begins_with_keyword(text, cursor, "ptr")) {
        cursor = skip_blanks(text, cursor + 4);
    }
    text.erase(0, cursor);
}

void handle_equ(line_record& record) { move_name_after(record, ".equ"); }

void handle_textequ(line_record& record) { move_name_after(record, ".textequ"); }

void convert_statement(line_record& record)
{
    if (replace_from_tables(record) == found_in_mnemonic) {
        add_label_colon(record);
    }
    record.line_flags |= line_flags_of(record.mnemonic);
    for (int n = 0; n < record.count; ++n) {
        convert_operand(record.operand(n), record.line_flags);
    }
}

} // namespace dravent
