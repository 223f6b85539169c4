// Cuts a Tasm line by position: label, mnemonic, operands separated by commas, ";" comment.
#include "line/split_line.hpp"

#include "line/characters.hpp"

namespace dravent {
namespace {

// End of the run that starts at position and stops before any character of stops, or at the end.
std::size_t run_end(std::string_view text, std::size_t position, std::string_view stops)
{
    const std::size_t end = text.find_first_of(stops, position);
    return end == std::string_view::npos ? text.size() : end;
}

void take_comment(std::string_view text, std::size_t semicolon, line_record& record)
{
    const std::string_view rest = text.substr(semicolon + 1);
    record.comment.resize(rest.size() + 1);
    record.comment[0] = '#';
    rest.copy(record.comment.data() + 1, rest.size());
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
    constexpr std::string_view token_stops = " \t;";
    std::size_t position = 0;

    if (!text.empty() && text[0] == ';') {
        take_comment(text, 0, record);
        return;
    }
    // A statement in the first column is a label; a line that begins with white space has none.
    if (text.empty() || !is_white_space(text[0])) {
        position = run_end(text, 0, token_stops);
        record.label.assign(text.substr(0, position));
    }

    position = skip_blanks(text, position);
    const std::size_t mnemonic_end = run_end(text, position, token_stops);
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
        const std::size_t operand_end = run_end(text, position, ",;");
        record.add_operand(text.substr(position, operand_end - position));
        position = skip_separators(text, operand_end);
    }
}

} // namespace dravent
