// Cuts a Tasm line by position: label, mnemonic, operands separated by commas, ";" comment.
#include "source/split_line.hpp"

#include "source/tokenizer.hpp"
#include "text/characters.hpp"
#include "vocabulary/declaring_words.hpp"
#include "vocabulary/mnemonics.hpp"
#include "vocabulary/registers.hpp"

#include <bit>
#include <cstdint>
#include <cstring>

namespace dravent {
namespace {

// Labels and mnemonics end at a blank or at the ";" of a comment.
constexpr byte_set token_ends(" \t;");
constexpr bool ends_token(char c) { return token_ends.contains(c); }

// The end of the token at position: the first blank or ";" at or after it, or text.size(). Eight
// bytes are looked at at once while eight are there: most words end within the first eight.
std::size_t token_end(std::string_view text, std::size_t position)
{
    constexpr std::uint64_t ones = 0x0101010101010101;
    constexpr std::uint64_t highs = 0x8080808080808080;
    const auto zero_bytes = [](std::uint64_t v) { return (v - ones) & ~v & highs; };  // the lowest is exact
    while (std::endian::native == std::endian::little && position + 8 <= text.size()) {
        std::uint64_t bytes = 0;
        std::memcpy(&bytes, text.data() + position, 8);
        const std::uint64_t found =
            zero_bytes(bytes ^ (' ' * ones)) | zero_bytes(bytes ^ ('\t' * ones)) | zero_bytes(bytes ^ (';' * ones));
        if (found != 0) {
            return position + static_cast<std::size_t>(std::countr_zero(found)) / 8;
        }
        position += 8;
    }
    return find_from(text, position, ends_token);
}

// Operands end at a comma or at the ";" of a comment, outside quotes; blanks belong to them, and
// a quote left open runs to the end of the line.
constexpr byte_set operand_stops(",;'\"");  // the ends of an operand, and the quotes that hide them

std::size_t operand_end(std::string_view text, std::size_t position)
{
    for (;;) {
        position = find_from(text, position, [](char c) { return operand_stops.contains(c); });
        if (position == text.size() || !is_quote(text[position])) {
            return position;
        }
        position = end_of_string(text, position).end;
    }
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

// The word that follows position, after blanks: up to a blank or ";".
std::string_view next_word(std::string_view text, std::size_t position)
{
    position = skip_blanks(text, position);
    return text.substr(position, token_end(text, position) - position);
}

const mnemonic_row* find_word(std::string_view word) { return word.empty() ? nullptr : mnemonic_table.find(word); }

bool names_instruction(const mnemonic_row* row) { return row != nullptr && names_instruction(row->kind); }

// Declaring directives are all data directives or directives, so only those are searched for.
bool is_declaring(std::string_view word, const mnemonic_row* row)
{
    return row != nullptr && (row->kind == word_kind::data || row->kind == word_kind::directive) &&
           is_declaring_word(word);
}

// A name or a number, and nothing else: no register, no keyword, no operator.
bool is_plain_target(std::string_view word)
{
    if (find_register(word) != nullptr || is_declaring_word(word)) {
        return false;
    }
    for (const char c : word) {
        if (!continues_name(c) && c != '.') {
            return false;
        }
    }
    return true;
}

// A word in the first column that names an instruction starts one (mul cx, movzx ax, bl) when an
// operand follows it, unless a declaring directive follows it: then it names what is declared.
// Alone, as a prefix before a bare instruction (rep movsb), or as a jump to a plain name (jmp next),
// it keeps the label's place, where GNU As reads it as the same instruction. The word after the
// mnemonic, in text from mnemonic_end on, is looked for only once the rest leaves it to decide.
bool label_starts_instruction(const source_line& line, std::string_view text, std::size_t mnemonic_end)
{
    const std::string_view next = line.mnemonic;
    if (next.empty() || line.label.back() == ':' || !names_instruction(line.label_word) ||
        is_declaring(next, line.mnemonic_word)) {
        return false;
    }
    if (!next_word(text, mnemonic_end).empty()) {
        return true;
    }
    if (line.label_word->kind == word_kind::prefix) {
        return line.mnemonic_word == nullptr || !line.mnemonic_word->rename.empty();
    }
    // jmp next: GNU As reads the jump to a plain name in the label's place the same way.
    return line.label_word->kind != word_kind::jump || !is_plain_target(next);
}

} // namespace

void source_line::clear()
{
    text = {};
    label_word = nullptr;
    mnemonic_word = nullptr;
    label = {};
    mnemonic = {};
    operands.clear();
    has_comment = false;
    comment = {};
    ending = "\n";
}

std::string_view first_word(std::string_view text) { return text.substr(0, token_end(text, 0)); }

namespace {

constexpr std::size_t whole_line_comment = std::string_view::npos;

// Fills line up to its mnemonic: returns where what follows the mnemonic begins, in line.text, or
// whole_line_comment for a line that is nothing but a comment (then taken).
std::size_t split_up_to_operands(std::string_view text, source_line& line)
{
    line.clear();
    if (!text.empty() && text.back() == '\r') {
        text.remove_suffix(1);
        line.ending = "\r\n";
    }
    line.text = text;
    if (!text.empty() && text[0] == ';') {
        take_comment(text, 0, line);
        return whole_line_comment;
    }

    std::size_t position = 0;
    // A word in the first column is a label; a line that begins with white space has none.
    if (text.empty() || !is_white_space(text[0])) {
        line.label = first_word(text);
        position = line.label.size();
    }

    position = skip_blanks(text, position);
    std::size_t mnemonic_end = token_end(text, position);
    line.mnemonic = text.substr(position, mnemonic_end - position);
    line.label_word = find_word(line.label);
    line.mnemonic_word = find_word(line.mnemonic);
    if (!line.label.empty()) {
        if (label_starts_instruction(line, text, mnemonic_end)) {
            // The word after the instruction is its first operand.
            line.mnemonic = line.label;
            line.mnemonic_word = line.label_word;
            line.label = {};
            line.label_word = nullptr;
            mnemonic_end = line.mnemonic.size();
        }
    } else if (!line.mnemonic.empty() && !names_instruction(line.mnemonic_word)) {
        // An indented name before a declaring directive (count dw 0, size equ 4) is a label.
        const std::string_view after_mnemonic = next_word(text, mnemonic_end);
        if (is_declaring_word(after_mnemonic)) {
            line.label = line.mnemonic;
            line.label_word = line.mnemonic_word;
            line.mnemonic = after_mnemonic;
            line.mnemonic_word = find_word(after_mnemonic);
            mnemonic_end = static_cast<std::size_t>(after_mnemonic.data() - text.data()) + after_mnemonic.size();
        }
    }
    return mnemonic_end;
}

} // namespace

void split_label_and_mnemonic(std::string_view text, source_line& line) { split_up_to_operands(text, line); }

void split_line(std::string_view text, source_line& line)
{
    std::size_t position = split_up_to_operands(text, line);
    if (position == whole_line_comment) {
        return;
    }
    text = line.text;
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
