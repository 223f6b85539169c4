// Cuts a Tasm line by position: label, mnemonic, operands separated by commas, ";" comment.
#include "line/split_line.hpp"

#include "line/characters.hpp"

namespace dravent {
namespace {

// Labels and mnemonics end at a blank or at the ";" of a comment.
constexpr bool ends_token(char c) { return is_blank(c) || c == ';'; }

// Operands end at a comma or at the ";" of a comment; blanks belong to them.
constexpr bool ends_operand(char c) { return c == ',' || c == ';'; }

void take_comment(std::string_view text, std::size_t semicolon, line_record& record)
{
    record.comment.assign(1, '#');
    record.comment.append(text.data() + semicolon + 1, text.size() - semicolon - 1);
}

// Between operands a run of blanks and commas, in any order, is one separator.
std::size_t skip_separators(std::string_view text, std::size_t position)
{
    while (position < text.size() && (is_blank(text[position]) || text[position] == ',')) {
        ++position;
    }
    return position;
}

} // namespace

void split_line(std::string_view text, line_record& record)
{
    std::size_t position = 0;

    if (!text.empty() && text[0] == ';') {
        take_comment(text, 0, record);
        return;
    }
    // A statement in the first column is a label; a line that begins with white space has none.
    if (text.empty() || !is_white_space(text[0])) {
        position = find_from(text, 0, ends_token);
        record.label.assign(text.substr(0, position));
    }

    position = skip_blanks(text, position);
    const std::size_t mnemonic_end = find_from(text, position, ends_token);
    record.mnemonic.assign(text.substr(position, mnemonic_end - position));
    position = mnemonic_end;
    if (position < text.size() && text[position] == ';') {
        take_comment(text, position, record);
        return;
    }

    position = skip_blanks(text, position);
    while (position < text.size()) {
        if (text[position] == ';') {
            take_comment(text, position, record);
            return;
        }
        // An operand keeps the blanks that stand before the comma or ";" that ends it.
        const std::size_t operand_end = find_from(text, position, ends_operand);
        record.add_operand(text.substr(position, operand_end - position));
        position = skip_separators(text, operand_end);
    }
}

} // namespace dravent
