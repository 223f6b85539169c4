// Cuts a Tasm line by position: label, mnemonic, operands separated by commas, ";" comment.
#include "source/split_line.hpp"

#include "source/tokenizer.hpp"
#include "text/characters.hpp"

namespace dravent {
namespace {

// Labels and mnemonics end at a blank or at the ";" of a comment.
constexpr bool ends_token(char c) { return is_blank(c) || c == ';'; }

// Operands end at a comma or at the ";" of a comment, outside quotes; blanks belong to them, and
// a quote left open runs to the end of the line.
std::size_t operand_end(std::string_view text, std::size_t position)
{
    while (position < text.size() && text[position] != ',' && text[position] != ';') {
        position = is_quote(text[position]) ? end_of_string(text, position).end : position + 1;
    }
    return position;
}

void take_comment(std::string_view text, std::size_t semicolon, source_line& line)
{
    line.has_comment = true;
    line.comment = text.substr(semicolon + 1);
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

void source_line::clear()
{
    label = {};
    mnemonic = {};
    operands.clear();
    has_comment = false;
    comment = {};
    ending = "\n";
}

void split_line(std::string_view text, source_line& line)
{
    line.clear();
    if (!text.empty() && text.back() == '\r') {
        text.remove_suffix(1);
        line.ending = "\r\n";
    }
    if (!text.empty() && text[0] == ';') {
        take_comment(text, 0, line);
        return;
    }

    std::size_t position = 0;
    // A statement in the first column is a label; a line that begins with white space has none.
    if (text.empty() || !is_white_space(text[0])) {
        position = find_from(text, 0, ends_token);
        line.label = text.substr(0, position);
    }

    position = skip_blanks(text, position);
    const std::size_t mnemonic_end = find_from(text, position, ends_token);
    line.mnemonic = text.substr(position, mnemonic_end - position);
    position = mnemonic_end;
    if (position < text.size() && text[position] == ';') {
        take_comment(text, position, line);
        return;
    }

    position = skip_blanks(text, position);
    while (position < text.size()) {
        if (text[position] == ';') {
            take_comment(text, position, line);
            return;
        }
        // An operand keeps the blanks that stand before the comma or ";" that ends it.
        const std::size_t end = operand_end(text, position);
        line.operands.push_back(text.substr(position, end - position));
        position = skip_separators(text, end);
    }
}

} // namespace dravent
