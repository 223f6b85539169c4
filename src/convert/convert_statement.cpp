// Statement conversion: renames and directives from the vocabulary, label colons, line flags,
// then every operand and the size letters they give the mnemonic.
#include "convert/convert_statement.hpp"

#include "convert/convert_operand.hpp"
#include "convert/directives.hpp"
#include "text/characters.hpp"
#include "vocabulary/mnemonics.hpp"

#include <algorithm>
#include <array>

namespace dravent {
namespace {

// How a line's statement was found in the tables.
enum class found { in_mnemonic, in_label, nowhere };

// The AT&T size letters of every combination of size flags, in the order b, w, l, q (movzx: "b"
// before "w").
constexpr std::array<std::string_view, 16> size_letters_table{
    "",  "b",  "w",  "bw",  "l",  "bl",  "wl",  "bwl",
    "q", "bq", "wq", "bwq", "lq", "blq", "wlq", "bwlq",
};

int jump_flag_of(std::string_view mnemonic)
{
    return !mnemonic.empty() && fold_case(mnemonic.front()) == 'j' ? LINE_JUMP : 0;
}

// Searches the mnemonic table by mnemonic, then by label, for a rename; then the directive table
// the same way. The first hit wins. Returns how the statement was found, after any directive
// has been handled, and sets the line flags of the mnemonic as it ends up.
found replace_from_tables(statement_draft& draft, const source_line& source, const conversion_context& context,
                          converted_line& line)
{
    const word_key mnemonic_key = make_word_key(source.mnemonic);
    const mnemonic_row* mnemonic = mnemonic_table.find(mnemonic_key);
    if (mnemonic != nullptr && !mnemonic->rename.empty()) {
        draft.mnemonic = mnemonic->rename;
        draft.line_flags = mnemonic->flags;
        return found::in_mnemonic;
    }
    draft.line_flags = (mnemonic != nullptr ? mnemonic->flags : 0) | jump_flag_of(source.mnemonic);
    const mnemonic_row* label = source.label.empty() ? nullptr : mnemonic_table.find(source.label);
    if (label != nullptr && !label->rename.empty()) {
        draft.label = label->rename;
        return found::in_label;
    }
    found how = found::in_mnemonic;
    const directive_row* directive = nullptr;
    if (mnemonic != nullptr && mnemonic->kind == word_kind::directive) {
        directive = directive_table.find(mnemonic_key);
    } else if (label != nullptr && label->kind == word_kind::directive) {
        how = found::in_label;
        directive = directive_table.find(source.label);
    }
    if (directive == nullptr) {
        return found::nowhere;
    }
    if (directive->handler == nullptr) {
        // A Tasm-only directive is dropped with its label and operands; its comment stays.
        draft.label = {};
        draft.mnemonic = {};
        draft.operands.clear();
        draft.line_flags = 0;
        return how;
    }
    // The flags are those of the mnemonic the handler leaves, with any the handler sets itself.
    const int unhandled_flags = draft.line_flags;
    draft.line_flags = 0;
    directive->handler(draft, context, line);
    const std::string_view handled = line.view(draft.mnemonic);
    draft.line_flags |= handled == source.mnemonic ? unhandled_flags : line_flags_of(handled);
    return directive->found_in_label ? found::in_label : found::in_mnemonic;
}

bool is_count_register(std::string_view converted) { return equal_folded(converted, "%cl"); }

// The size flags that select the mnemonic's letters: those of all operands, except a shift count
// in cl and a port register beside another size.
int size_letter_flags(const statement_draft& draft, const converted_line& line, const std::vector<int>& operand_sizes)
{
    std::size_t operands_sized = draft.operands.size();
    if ((draft.line_flags & LINE_SHIFT) != 0 && operands_sized >= 2 &&
        is_count_register(line.view(line.operands[operands_sized - 1]))) {
        --operands_sized;
    }
    int flags = 0;
    for (std::size_t n = 0; n < operands_sized; ++n) {
        flags |= operand_sizes[n];
    }
    // In a port instruction the word-sized port register gives no letter beside another size.
    if ((draft.line_flags & LINE_PORT_IO) != 0 && flags != SIZE_WORD) {
        flags &= ~SIZE_WORD;
    }
    return flags;
}

} // namespace

int line_flags_of(std::string_view mnemonic)
{
    const mnemonic_row* row = mnemonic_table.find(mnemonic);
    return (row != nullptr ? row->flags : 0) | jump_flag_of(mnemonic);
}

void statement_converter::convert(const source_line& source, const conversion_context& context,
                                  converted_line& line, data_directive continued)
{
    line.clear();
    line.has_comment = source.has_comment;
    line.comment = source.comment;
    line.ending = source.ending;

    // Data definitions and the directives with a line writer (directives.hpp) convert the whole
    // line themselves.
    if (const whole_line written = convert_whole_line(source, context, continued, line);
        written != whole_line::not_converted) {
        draft_.clear();
        draft_.line_flags = written == whole_line::data ? LINE_DATA : 0;
        return;
    }

    statement_draft& draft = draft_;
    draft.clear();
    draft.label = source.label;
    draft.mnemonic = source.mnemonic;
    draft.operands.assign(source.operands.begin(), source.operands.end());

    const found how = replace_from_tables(draft, source, context, line);
    const std::string_view label = line.view(draft.label);
    line.label = draft.label;
    // A label beside a replaced mnemonic becomes a GNU As label; one that ends in a colon keeps it.
    line.label_colon = how == found::in_mnemonic && !label.empty() && label.back() != ':';

    if (line.view(draft.mnemonic).empty()) {
        return;
    }
    // Operands are converted in source order; instruction lines write them last to first.
    operand_sizes_.clear();
    for (const std::string_view operand : draft.operands) {
        const std::size_t begin = line.text.size();
        operand_sizes_.push_back(convert_operand(operand, draft.line_flags, context, line.text, line.work));
        line.operands.push_back(piece::in_buffer(begin, line.text.size()));
    }
    statement& only = line.statements.emplace_back();
    only.mnemonic = draft.mnemonic;
    only.size_letters = size_letters_table[static_cast<std::size_t>(size_letter_flags(draft, line, operand_sizes_))];
    if ((draft.line_flags & LINE_DATA) == 0) {
        std::reverse(line.operands.begin(), line.operands.end());
    }
    only.operand_count = line.operands.size();
}

} // namespace dravent
