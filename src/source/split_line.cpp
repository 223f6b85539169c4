// Cuts a Tasm line by position: label, mnemonic, operands separated by commas, ";" comment.
#include "source/split_line.hpp"

#include "source/line_scanner.hpp"
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
std::size_t token_end(const line_scanner& scan, std::size_t position)
{
    return scan.find_first<' ', '\t', ';'>(position);
}

// Operands end at a comma or at the ";" of a comment, outside quotes; blanks belong to them, and
// a quote left open runs to the end of the line.
std::size_t operand_end(const line_scanner& scan, std::size_t position)
{
    const std::string_view text = scan.text();
    for (;;) {
        position = scan.find_first<',', ';', '\'', '"'>(position);
        if (position == text.size() || !is_quote(text[position])) {
            return position;
        }
        position = end_of_string(text, position).end;
    }
}

// Between operands a run of blanks and commas, in any order, is one separator.
std::size_t skip_separators(std::string_view text, std::size_t position)
{
    while (position < text.size() && (is_blank(text[position]) || text[position] == ',')) {
        ++position;
    }
    return position;
}

void take_comment(std::string_view text, std::size_t semicolon, source_line& line)
{
    line.has_comment = true;
    line.comment = text.substr(semicolon + 1);
}

// The helpers the splitting of every line goes through are written into it (always_inline): called,
// they cost a tenth of the splitter's instructions in saved and restored registers.

// The word at position: up to a blank or ";".
[[gnu::always_inline]] inline std::string_view word_at(const line_scanner& scan, std::size_t position)
{
    return std::string_view(scan.text().data() + position, token_end(scan, position) - position);
}

// The word that follows position, after blanks.
[[gnu::always_inline]] inline std::string_view next_word(const line_scanner& scan, std::size_t position)
{
    return word_at(scan, skip_blanks(scan.text(), position));
}

// What the vocabulary knows of word, a view into the scanner's line. The word's first eight bytes
// are loaded at once where that may be done.
[[gnu::always_inline]] inline const mnemonic_row* find_word(const line_scanner& scan, std::string_view word)
{
    if (word.empty()) {
        return nullptr;
    }
    std::uint64_t head = 0;
    if (std::endian::native == std::endian::little && word.size() < word_key_head_length &&
        scan.can_read_eight(word.data())) {
        std::memcpy(&head, word.data(), word_key_head_length);
        head &= ~std::uint64_t{0} >> (8 * (word_key_head_length - word.size()));  // the word's bytes alone
    } else {
        head = pack_head(word);
    }
    return mnemonic_table.find(make_word_key(word, head));
}

bool names_instruction(const mnemonic_row* row) { return row != nullptr && names_instruction(row->kind); }

// Declaring directives are all data directives or directives, so only those are searched for.
bool is_declaring(std::string_view word, const mnemonic_row* row)
{
    return row != nullptr && (row->kind == word_kind::data || row->kind == word_kind::directive) &&
           is_declaring_word(word);
}

// A word in the first column that names an instruction starts one (mul cx, movzx ax, bl, jmp next)
// when an operand follows it, unless a declaring directive follows it: then it names what is
// declared. Alone, or as a prefix before a bare instruction (rep movsb), it keeps the label's
// place, where GNU As reads it as the same instruction. The word after the
// mnemonic, in text from mnemonic_end on, is looked for only once the rest leaves it to decide.
bool label_starts_instruction(const source_line& line, const line_scanner& scan, std::size_t mnemonic_end)
{
    const std::string_view next = line.mnemonic;
    if (next.empty() || line.label.back() == ':' || !names_instruction(line.label_word) ||
        is_declaring(next, line.mnemonic_word)) {
        return false;
    }
    if (!next_word(scan, mnemonic_end).empty()) {
        return true;
    }
    if (line.label_word->kind == word_kind::prefix) {
        return line.mnemonic_word == nullptr || !line.mnemonic_word->rename.empty();
    }
    return true;
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

std::string_view first_word(std::string_view text)
{
    return word_at(line_scanner(text), 0);
}

namespace {

constexpr std::size_t whole_line_comment = std::string_view::npos;

// Clears line and gives it text without the carriage return that belongs to its ending.
std::string_view start_line(std::string_view text, source_line& line)
{
    line.clear();
    if (!text.empty() && text.back() == '\r') {
        text.remove_suffix(1);
        line.ending = "\r\n";
    }
    line.text = text;
    return text;
}

// Fills line, started on text, up to its mnemonic: returns where what follows the mnemonic
// begins, or whole_line_comment for a line that is nothing but a comment (then taken).
[[gnu::always_inline]] inline std::size_t split_up_to_operands(const line_scanner& scan, source_line& line)
{
    const std::string_view text = scan.text();
    if (!text.empty() && text[0] == ';') {
        take_comment(text, 0, line);
        return whole_line_comment;
    }

    std::size_t position = 0;
    // A word in the first column is a label; a line that begins with white space has none.
    if (text.empty() || !is_white_space(text[0])) {
        line.label = word_at(scan, 0);
        position = line.label.size();
    }

    line.mnemonic = next_word(scan, position);
    std::size_t mnemonic_end = static_cast<std::size_t>(line.mnemonic.data() - text.data()) + line.mnemonic.size();
    line.label_word = find_word(scan, line.label);
    line.mnemonic_word = find_word(scan, line.mnemonic);
    if (!line.label.empty()) {
        if (label_starts_instruction(line, scan, mnemonic_end)) {
            // The word after the instruction is its first operand.
            line.mnemonic = line.label;
            line.mnemonic_word = line.label_word;
            line.label = {};
            line.label_word = nullptr;
            mnemonic_end = line.mnemonic.size();
        }
    } else if (!line.mnemonic.empty() && !names_instruction(line.mnemonic_word)) {
        // An indented name before a declaring directive (count dw 0, size equ 4) is a label.
        const std::string_view after_mnemonic = next_word(scan, mnemonic_end);
        if (is_declaring_word(after_mnemonic)) {
            line.label = line.mnemonic;
            line.label_word = line.mnemonic_word;
            line.mnemonic = after_mnemonic;
            line.mnemonic_word = find_word(scan, after_mnemonic);
            mnemonic_end = static_cast<std::size_t>(after_mnemonic.data() - text.data()) + after_mnemonic.size();
        }
    }
    return mnemonic_end;
}

} // namespace

void split_label_and_mnemonic(std::string_view text, source_line& line)
{
    text = start_line(text, line);
    const line_scanner scan(text);
    split_up_to_operands(scan, line);
}

void split_line(std::string_view text, source_line& line) { split_line(text, text.data() + text.size(), line); }

void split_line(std::string_view text, const char* readable_end, source_line& line)
{
    text = start_line(text, line);
    const line_scanner scan(text, readable_end);
    std::size_t position = split_up_to_operands(scan, line);
    if (position == whole_line_comment) {
        return;
    }
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
        const std::size_t end = operand_end(scan, position);
        line.operands.push_back(text.substr(position, end - position));
        position = skip_separators(text, end);
    }
}

} // namespace dravent
