// Plain lines written straight from their text. Every test here declines what the full
// conversion would treat in any other way than the plain rules below: a line declined is
// converted in full, so a test too strict costs time, never a different output.
#include "convert/plain_line.hpp"

#include "convert/memory_ref.hpp"
#include "convert/write_expression.hpp"
#include "source/tokenizer.hpp"
#include "text/characters.hpp"
#include "text/word_key.hpp"
#include "vocabulary/flags.hpp"
#include "vocabulary/mnemonics.hpp"
#include "vocabulary/expression_words.hpp"
#include "vocabulary/registers.hpp"
#include "vocabulary/size_keywords.hpp"
#include "vocabulary/size_letters.hpp"

#include <algorithm>
#include <bit>
#include <optional>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace dravent {
namespace {

// An instruction that the plain rules convert: known, written as in GNU As, sized by its operands
// alone (a shift count in cl and a port register aside), and none of the kinds with rules of
// their own (jumps, string instructions, x87, data, directives). ret is one outside far
// procedures; push and pop are ones with a single operand, which is no list.
bool is_plain_instruction(const mnemonic_row* row, const conversion_context& context)
{
    constexpr int plain_flags = LINE_SHIFT | LINE_PORT_IO | LINE_SOURCE_ORDER;
    if (row == nullptr || row->kind != word_kind::instruction || !row->rename.empty() ||
        (row->flags & ~plain_flags) != 0) {
        return false;
    }
    switch (row->rule) {
    case statement_rule::none:
    case statement_rule::push_or_pop:
        return true;
    case statement_rule::near_return:
        return context.procedure == nullptr || !context.procedure->far;
    default:
        return false;
    }
}

// The words a memory operand of plain registers and numbers may hold besides them.
bool is_memory_keyword(std::string_view word)
{
    return equal_folded(word, "ptr") || equal_folded(word, "byte") || equal_folded(word, "word") ||
           equal_folded(word, "dword") || equal_folded(word, "qword");
}

// A general or segment register; no MMX register.
[[gnu::always_inline]] inline const register_row* plain_register(std::string_view word)
{
    const register_row* named = register_named(word);
    return named != nullptr && (named->size > 0 || named->segment) ? named : nullptr;
}

// A word that the program gives another meaning on the line: a stack slot's name, or a text
// equate's (mov ax, si after si equ <di> would read otherwise). renames: the line may hold such.
bool named_otherwise(std::string_view word, const conversion_context& context, bool renames)
{
    return renames && context.names_unplaced(word);
}

// A memory operand whose words are registers, numbers and size keywords, between "[", "]", "+",
// "-", "*", ":" and blanks: nothing in it names anything the program declares.
bool is_plain_memory(std::string_view text, const conversion_context& context)
{
    const bool renames = context.may_hold_unplaced_names();
    std::size_t at = 0;
    while (at < text.size()) {
        const char c = text[at];
        if (is_blank(c) || c == '[' || c == ']' || c == '+' || c == '-' || c == '*' || c == ':') {
            ++at;
            continue;
        }
        if (!continues_name(c)) {
            return false;
        }
        const std::size_t end = find_from(text, at, [](char d) { return !continues_name(d); });
        const std::string_view word = text_between(text, at, end);
        if (is_decimal_digit(c)) {
            for (const char d : word) {
                if (!is_letter(d) && !is_decimal_digit(d)) {
                    return false;
                }
            }
        } else if ((plain_register(word) == nullptr && !is_memory_keyword(word)) ||
                   named_otherwise(word, context, renames)) {
            return false;
        }
        at = end;
    }
    return true;
}

constexpr byte_set name_characters_plain =
    byte_set::where([](char c) { return is_letter(c) || is_decimal_digit(c) || c == '_'; });

// The letters and digits from at on: a word of a plain operand. Where the byte after text ends a
// word (stops: byte_after_ends_a_word), the bytes are counted up to the first of no word; where
// sixteen bytes may be read (up to readable_end, past the end of text), they are looked at at once.
[[gnu::always_inline]] inline std::size_t word_end(std::string_view text, std::size_t at, const char* readable_end,
                                                   bool stops)
{
    if (stops) {
        while (letters_and_digits.contains(text.data()[at])) {
            ++at;
        }
        return at;
    }
    // Most words are registers and mnemonics of two or three letters: looked at one by one.
    for (const std::size_t short_end = at + 4; at < short_end; ++at) {
        if (at == text.size() || !letters_and_digits.contains(text[at])) {
            return at;
        }
    }
#if defined(__SSE2__)
    const char* from = text.data() + at;
    if (at < text.size() && readable_end - from >= 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from));
        const __m128i folded = _mm_or_si128(bytes, _mm_set1_epi8(0x20));  // A-Z as a-z
        // Signed comparisons: a byte above 0x7F is below every bound, so no letter and no digit.
        const __m128i letters = _mm_and_si128(_mm_cmpgt_epi8(folded, _mm_set1_epi8('a' - 1)),
                                              _mm_cmplt_epi8(folded, _mm_set1_epi8('z' + 1)));
        const __m128i digits = _mm_and_si128(_mm_cmpgt_epi8(bytes, _mm_set1_epi8('0' - 1)),
                                             _mm_cmplt_epi8(bytes, _mm_set1_epi8('9' + 1)));
        const auto in_word = static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(letters, digits)));
        const auto length = static_cast<std::size_t>(std::countr_zero(~in_word | 0x10000U));
        if (length < 16 || at + 16 >= text.size()) {
            return std::min(at + length, text.size());
        }
        at += 16;
    }
#else
    static_cast<void>(readable_end);
#endif
    while (at < text.size() && letters_and_digits.contains(text[at])) {
        ++at;
    }
    return at;
}

// A decimal number that GNU As reads as written: digits, with no leading zero (which would make it
// octal). Most immediates and displacements are one.
bool is_plain_decimal(std::string_view word)
{
    if (word[0] == '0' && word.size() > 1) {
        return false;
    }
    for (const char c : word) {
        if (!is_decimal_digit(c)) {
            return false;
        }
    }
    return true;
}

// The letters, digits and "_" from at on: a name of a plain operand.
std::size_t name_end(std::string_view text, std::size_t at)
{
    while (at < text.size() && name_characters_plain.contains(text[at])) {
        ++at;
    }
    return at;
}

// A local label alone, @@ and letters, digits and "_" before its colon, which a line of a
// program's scope names. Returns the label with its colon, or empty.
std::string_view local_label_alone(std::string_view text)
{
    if (!is_local_label(text)) {
        return {};
    }
    const std::size_t end = name_end(text, 2);
    return end > 2 && end < text.size() && text[end] == ':' ? text_between(text, 0, end + 1) : std::string_view();
}

// A name that a jump's target or an offset may be written as it stands: it begins with a letter or
// "_", and is no register and no word with a meaning of its own in an operand (an operator, a
// size, a distance, a register stack).
bool is_plain_name(std::string_view word)
{
    if (word.empty() || is_decimal_digit(word[0]) || register_named(word) != nullptr) {
        return false;
    }
    // The words with a meaning of their own have letters alone; most names hold a digit.
    for (const char c : word) {
        if (is_decimal_digit(c)) {
            return true;
        }
    }
    if (find_expression_word(word) != nullptr) {
        return false;
    }
    for (const size_keyword_row& row : size_keyword_table) {
        if (equal_folded(word, row.name)) {
            return false;
        }
    }
    for (const std::string_view keyword : {"ptr", "short", "large", "small", "st"}) {
        if (equal_folded(word, keyword)) {
            return false;
        }
    }
    return true;
}

// A plain name as the line's program declares it: true when the program declares it in no other
// spelling (or not at all). near_target: the program declares no such name, or a label or
// procedure that a near jump or call reaches as it stands. The name is a view into a text whose
// bytes up to readable_end may be read.
bool declared_as_written(std::string_view name, const char* readable_end, const conversion_context& context,
                         bool& near_target)
{
    near_target = true;
    if (context.program == nullptr) {
        return true;
    }
    const name_table<name_facts>& names = context.program->names;
    std::uint64_t bytes = 0;
    if (!pack_head_at_once(name, readable_end, word_key_head_length, bytes)) {
        bytes = pack_head(name);
    }
    bool written_alike = false;
    std::uint8_t marks = 0;
    const std::uint32_t entry = names.find_marked(make_word_key(name, bytes), bytes, written_alike, marks);
    if (entry == names.none) {
        return true;
    }
    if ((marks & names.marks_known) != 0) {
        near_target = (marks & program_declarations::mark_near_target) != 0;
    } else {
        const name_facts& facts = names.facts(entry);
        near_target = facts.kind != declared::variable && !facts.far;
    }
    return written_alike;
}

// The word at text[at] is keyword, followed by a blank: "offset msg", "short next".
bool keyword_before_blank(std::string_view text, std::size_t at, std::string_view keyword)
{
    return text.size() - at > keyword.size() && is_blank(text[at + keyword.size()]) &&
           equal_folded(text.substr(at, keyword.size()), keyword);
}

// A character constant as GNU As reads it, 'c', for each printable character but the quotes and
// the backslash (which take escapes).
constexpr bool is_plain_character(char c) { return c >= ' ' && c <= '~' && c != '\'' && c != '"' && c != '\\'; }
constexpr std::array<std::array<char, 3>, 128> quoted_characters = [] {
    std::array<std::array<char, 3>, 128> quoted{};
    for (int c = 0; c < 128; ++c) {
        quoted[static_cast<std::size_t>(c)] = {'\'', static_cast<char>(c), '\''};
    }
    return quoted;
}();

// A number that is neither decimal, nor hexadecimal, nor binary as the plain readers read them,
// read by the tokenizer: kept out of line, so that the readers of the common numbers do not make
// room for a token.
[[gnu::noinline]] std::optional<gnu_as_number> read_other_number(std::string_view word)
{
    token t;
    if (!tokenizer(word).next(t) || t.text.size() != word.size() || t.radix == number_radix::invalid) {
        return std::nullopt;
    }
    return gnu_as_number_of(t);
}

// The forms of number a byte may stand in, as bits: the common numbers are decimal digits (with
// no leading zero, which would make GNU As read them as octal), hexadecimal digits behind a
// decimal one ended by an h (0FFh, 21h), and binary digits ended by a b (1010b). Every letter and
// digit is a byte of a word.
enum number_form : unsigned char { decimal_form = 1, hexadecimal_form = 2, binary_form = 4, word_byte = 8 };
constexpr unsigned every_number_form = decimal_form | hexadecimal_form | binary_form;
constexpr std::array<unsigned char, 256> number_forms = [] {
    std::array<unsigned char, 256> forms{};
    for (int byte = 0; byte < 256; ++byte) {
        const char c = static_cast<char>(byte);
        forms[static_cast<std::size_t>(byte)] = static_cast<unsigned char>(
            (is_decimal_digit(c) ? decimal_form : 0) | (is_hex_digit(c) ? hexadecimal_form : 0) |
            (c == '0' || c == '1' ? binary_form : 0) | (letters_and_digits.contains(c) ? word_byte : 0));
    }
    return forms;
}();

// A word of letters and digits that begins with a decimal digit, as a number in GNU As form, given
// the forms its bytes but the last stand in; nothing for a word that is no number (a digit its radix
// does not have, an unknown suffix). The last byte says the form: a decimal digit, or the h or b
// that ends the others. The common numbers are read here, the rest by the tokenizer.
[[gnu::always_inline]] inline std::optional<gnu_as_number> number_of_forms(std::string_view word, unsigned forms)
{
    const std::size_t last = word.size() - 1;
    const char suffix = fold_case(word[last]);
    if (is_decimal_digit(suffix)) {
        if ((forms & decimal_form) != 0 && (word[0] != '0' || last == 0)) {
            return gnu_as_number{{}, word};
        }
    } else if (last > 0 && suffix == 'h' && (forms & hexadecimal_form) != 0 && is_decimal_digit(word[0])) {
        return gnu_as_number{"0x", text_between(word, 0, last)};
    } else if (last > 0 && suffix == 'b' && (forms & binary_form) != 0) {
        return gnu_as_number{"0B", text_between(word, 0, last)};
    }
    return read_other_number(word);
}

// A word of letters and digits that begins with a decimal digit, as a number in GNU As form: the
// same as number_of_forms, which it gives the forms of the word's bytes but the last.
[[gnu::always_inline]] inline bool read_number(std::string_view word, gnu_as_number& number)
{
    unsigned forms = every_number_form;
    for (std::size_t n = 0; n + 1 < word.size() && forms != 0; ++n) {
        forms &= number_forms[static_cast<unsigned char>(word[n])];
    }
    const std::optional<gnu_as_number> read = number_of_forms(word, forms);
    if (!read) {
        return false;
    }
    number = *read;
    return true;
}

// The word of letters and digits that begins at text[at]: where it ends, and the forms of number
// its bytes but the last stand in, read in one look at each byte. Where the byte after text ends a
// word (stops: byte_after_ends_a_word), the bytes are looked at up to the first of no word without
// counting them.
struct number_word {
    std::size_t end;
    unsigned forms;
};
[[gnu::always_inline]] inline number_word scan_number_word(std::string_view text, std::size_t at, bool stops)
{
    unsigned forms = every_number_form;
    unsigned with_last = every_number_form;
    const auto takes = [&](char c) {
        const unsigned byte_forms = number_forms[static_cast<unsigned char>(c)];
        forms = (byte_forms & word_byte) != 0 ? with_last : forms;
        with_last &= byte_forms;
        return (byte_forms & word_byte) != 0;
    };
    if (stops) {
        while (takes(text.data()[at])) {
            ++at;
        }
    } else {
        while (at < text.size() && takes(text[at])) {
            ++at;
        }
    }
    return {at, forms};
}

// What a byte is between two values of a data list: a run of blanks and commas is one separator,
// which holds a comma.
enum separator_byte : unsigned char { blank_between = 1, comma_between = 2 };
constexpr std::array<unsigned char, 256> separator_bytes = [] {
    std::array<unsigned char, 256> kinds{};
    kinds[' '] = blank_between;
    kinds['\t'] = blank_between;
    kinds[','] = comma_between;
    return kinds;
}();

// What ends an operand: a comma or ";", or a quote, which plain lines do not hold.
constexpr byte_set operand_ends(",;'\"");

// A comment after a statement or label is written after a tab, behind "#".
[[gnu::always_inline]] inline void put_comment_and_ending(line_room& line, bool has_comment, std::string_view comment,
                                                         std::string_view ending)
{
    if (has_comment) {
        line.put("\t#");
        line.put(comment);
    }
    line.put(ending);
}

} // namespace

plain_line_writer::plain_line_writer(const program_declarations* program)
    : short_declared_(program != nullptr && program->find("short") != nullptr),
      frame_lists_(program != nullptr && !program->frame_list_lines.empty())
{
}

// Memory written the usual way, [size keyword [ptr]] [segment:] [base+index*scale+number] with no
// blank inside the brackets and one number at most, as the operand that begins at text[at],
// converted straight into operands_ as the full conversion converts it: disp(base,index,scale),
// with bx or bp the base of a 16-bit pair whichever stands first. Returns where the operand ends
// (at a comma, ";" or the end of the line), or 0, writing nothing, for any other form.
std::size_t plain_line_writer::write_usual_memory(std::string_view text, std::size_t at, operand& converted)
{
    int size_flags = 0;
    std::string_view segment;
    if (is_letter(text[at])) {
        size_flags = match_size_keyword(text, at);
        if ((size_flags & ~SIZE_LETTER_FLAGS) != 0) {
            return 0;  // tbyte, fword, near, far: no memory of an ordinary instruction
        }
        if (size_flags != 0) {
            at = skip_blanks(text, at);
            if (keyword_at(text, at, "ptr")) {
                at = skip_blanks(text, at + 3);
            }
        }
        const std::size_t end = word_end(text, at, readable_end_, stops_);
        const std::string_view word = text_between(text, at, end);
        if (!word.empty()) {
            const register_row* named = register_named(word);
            if (named == nullptr || !named->segment || end == text.size() || text[end] != ':') {
                return 0;
            }
            segment = word;
            at = skip_blanks(text, end + 1);
        }
    }
    if (at == text.size() || text[at] != '[') {
        return 0;
    }
    std::string_view base;
    std::string_view index;
    const register_row* base_row = nullptr;
    const register_row* index_row = nullptr;
    std::string_view scale;
    std::string_view displacement;
    char displacement_sign = '\0';
    char sign = '\0';
    for (;;) {
        const std::size_t end = word_end(text, ++at, readable_end_, stops_);
        const std::string_view word = text_between(text, at, end);
        if (word.empty() || end == text.size()) {
            return 0;
        }
        at = end;
        if (const register_row* named = register_named(word); named != nullptr) {
            if (named->size == 0 || sign == '-') {
                return 0;
            }
            if (text[at] == '*') {
                const std::size_t scale_end = word_end(text, at + 1, readable_end_, stops_);
                scale = text_between(text, at + 1, scale_end);
                if (!index.empty() || scale.empty() || !is_plain_decimal(scale) || scale_end == text.size()) {
                    return 0;
                }
                index = word;
                index_row = named;
                at = scale_end;
            } else if (base.empty()) {
                base = word;
                base_row = named;
            } else if (index.empty()) {
                index = word;
                index_row = named;
            } else {
                return 0;
            }
        } else if (!is_decimal_digit(word[0]) || !displacement.empty()) {
            return 0;
        } else {
            displacement = word;
            displacement_sign = sign;
        }
        if (text[at] == ']') {
            break;
        }
        if (text[at] != '+' && text[at] != '-') {
            return 0;
        }
        sign = text[at];
    }
    gnu_as_number number;
    const std::size_t end = skip_blanks(text, at + 1);
    if ((end < text.size() && text[end] != ',' && text[end] != ';') ||
        (!displacement.empty() && !read_number(displacement, number))) {
        return 0;
    }
    if (index_written_first(base_row, index_row, scale)) {
        std::swap(base, index);
    }
    converted = {};
    converted.offset = operands_.size();
    {
        line_room operand(operands_, segment.size() + number.prefix.size() + number.digits.size() + base.size() +
                                         index.size() + scale.size() + 10);
        if (!segment.empty()) {
            operand.put('%');
            operand.put(segment);
            operand.put(':');
        }
        if (displacement_sign == '-') {
            operand.put('-');
        }
        operand.put(number.prefix);
        operand.put(number.digits);
        if (!base.empty() || !index.empty()) {
            operand.put('(');
            if (!base.empty()) {
                operand.put('%');
                operand.put(base);
            }
            if (!index.empty()) {
                operand.put(',');
                operand.put('%');
                operand.put(index);
                if (!scale.empty()) {
                    operand.put(',');
                    operand.put(scale);
                }
            }
            operand.put(')');
        }
    }
    converted.size = operands_.size() - converted.offset;
    converted.size_flags = size_flags;
    converted.memory = true;
    return end;
}

// Memory through registers, as the full conversion writes it, into operands_.
bool plain_line_writer::convert_memory(std::string_view text, const conversion_context& context,
                                       conversion_workspace& work, operand& converted)
{
    if (!is_plain_memory(text, context)) {
        return false;
    }
    const std::size_t begin = operands_.size();
    const memory_ref ref = parse_memory_ref(text, work.scratch);
    work.expressions.local_label_prefix = context.local_label_prefix;
    work.expressions.context = &context;
    if (!write_memory_ref(ref, operands_, work.expressions).empty() || (ref.size_flags & ~SIZE_LETTER_FLAGS) != 0) {
        return false;
    }
    // The operand ends at its last character that is not a blank.
    while (operands_.size() > begin && is_blank(operands_.back())) {
        operands_.truncate(operands_.size() - 1);
    }
    converted = {};
    converted.offset = begin;
    converted.size = operands_.size() - begin;
    converted.size_flags = ref.size_flags;
    converted.memory = true;
    return true;
}

// offset msg, the operand that begins at text[at]: the address of a name, written as it stands.
// Returns where it ends, or 0 when the name is no plain one.
std::size_t plain_line_writer::read_offset(std::string_view text, std::size_t at, const conversion_context& context,
                                           bool renames, operand& read)
{
    const std::size_t name = skip_blanks(text, at + 6);
    const std::size_t end = name_end(text, name);
    const std::size_t after = skip_blanks(text, end);
    const std::string_view word = text_between(text, name, end);
    bool near_target = true;
    if (!(after == text.size() || text[after] == ',' || text[after] == ';') || !is_plain_name(word) ||
        !declared_as_written(word, readable_end_, context, near_target) || named_otherwise(word, context, renames) ||
        named_otherwise(text.substr(at, 6), context, renames)) {
        return 0;
    }
    read = {};
    read.mark = '$';
    read.text = word.data();
    read.size = word.size();
    return after;
}

// Reads the operand that begins at text[at]: a register alone, a number alone, offset and a name,
// or memory. Returns where it ends (at a comma, ";" or the end of the line), or 0 when it is no
// plain operand.
std::size_t plain_line_writer::read_operand(std::string_view text, std::size_t at, const conversion_context& context,
                                            bool renames, conversion_workspace& work, operand& read)
{
    const char first = text[at];
    if (is_letter(first) || is_decimal_digit(first)) {
        const std::size_t end = word_end(text, at, readable_end_, stops_);
        const std::size_t after = skip_blanks(text, end);
        if (after == text.size() || text[after] == ',' || text[after] == ';') {
            const std::string_view word = text_between(text, at, end);
            read.prefix = {};
            read.text = word.data();
            read.size = word.size();
            read.size_flags = 0;
            read.memory = false;
            read.count_register = false;
            if (is_letter(first)) {
                const register_row* named = plain_register(word);
                if (named == nullptr || named_otherwise(word, context, renames)) {
                    return 0;
                }
                read.mark = '%';
                read.size_flags = named->size;
                read.count_register = named == register_cl;
                return after;
            }
            gnu_as_number number;
            if (!read_number(word, number)) {
                return 0;
            }
            read.mark = '$';
            read.prefix = number.prefix;
            read.text = number.digits.data();
            read.size = number.digits.size();
            return after;
        }
        // A word with more after it: offset and a name, or memory (word ptr [bp-2], es:[di]).
        if (fold_case(first) == 'o' && keyword_before_blank(text, at, "offset")) {
            return read_offset(text, at, context, renames, read);
        }
    } else if (is_quote(first)) {
        // 'a': one character in quotes, a number.
        if (text.size() - at < 3 || text[at + 2] != first || !is_plain_character(text[at + 1])) {
            return 0;
        }
        const std::size_t after = skip_blanks(text, at + 3);
        if (after < text.size() && text[after] != ',' && text[after] != ';') {
            return 0;
        }
        read.mark = '$';
        read.prefix = {};
        read.text = quoted_characters[static_cast<unsigned char>(text[at + 1])].data();
        read.size = 3;
        read.size_flags = 0;
        read.memory = false;
        read.count_register = false;
        return after;
    } else if (first != '[') {
        return 0;
    }
    // Memory: [bx+si+4], word ptr [bp-2], es:[di]. Without a "[" an operand is no memory.
    if (!renames) {
        if (const std::size_t end = write_usual_memory(text, at, read); end != 0) {
            return end;
        }
    }
    std::size_t end = at;
    bool bracket = false;
    while (end < text.size() && !operand_ends.contains(text[end])) {
        bracket = bracket || text[end] == '[';
        ++end;
    }
    if (!bracket || (end < text.size() && is_quote(text[end]))) {
        return 0;
    }
    const std::string_view memory = text_between(text, at, end);
    if (!convert_memory(memory, context, work, read)) {
        return 0;
    }
    return end;
}

// A label alone, or the name a data definition declares: a label written otherwise (@@, a case
// the program declares otherwise, a word of the vocabulary) is not plain. The name is read once:
// a colon after it makes it a label, a blank a data definition's name.
plain_line plain_line_writer::write_in_first_column(std::string_view text, std::string_view ending,
                                                    const conversion_context& context, text_buffer& out)
{
    if (context.program != nullptr && context.program->declared_in_another_case) {
        return plain_line::not_plain;
    }
    const std::size_t end = name_end(text, 0);
    if (end > 0 && end < text.size() && !is_decimal_digit(text[0])) {
        if (text[end] == ':') {
            return write_label(text, end + 1, {}, text_between(text, 0, end + 1), ending, out);
        }
        return is_blank(text[end]) ? write_named_data(text, end, ending, out) : plain_line::not_plain;
    }
    // @@next: is the local label its scope names (.Lscope.next:), in a program's scope.
    const std::string_view label = local_label_alone(text);
    if (label.empty() || context.local_label_prefix.empty()) {
        return plain_line::not_plain;
    }
    return write_label(text, label.size(), context.local_label_prefix, context.local_label_spelling(label), ending,
                       out);
}

// A label alone, which ends at label_end after its colon, with or without a comment after it:
// prefix and name, the label as it is written out, then two tabs.
plain_line plain_line_writer::write_label(std::string_view text, std::size_t label_end, std::string_view prefix,
                                          std::string_view name, std::string_view ending, text_buffer& out)
{
    const std::size_t at = skip_blanks(text, label_end);
    if (at < text.size() && text[at] != ';') {
        return plain_line::not_plain;
    }
    const bool has_comment = at < text.size();
    const std::string_view comment = text_from(text, at + (has_comment ? 1 : 0));
    line_room line(out, prefix.size() + name.size() + 4 + comment.size() + ending.size());
    line.put(prefix);
    line.put(name);
    line.put("\t\t");
    put_comment_and_ending(line, has_comment, comment, ending);
    return plain_line::written;
}

// An instruction: its mnemonic ends at a blank or ";", its operands at a comma or ";". A run of
// blanks and commas between operands is one separator.
plain_line plain_line_writer::write_instruction(std::string_view text, std::size_t at, std::string_view ending,
                                                const conversion_context& context, text_buffer& out,
                                                conversion_workspace& work)
{
    const std::size_t mnemonic_end = word_end(text, at, readable_end_, stops_);
    if (mnemonic_end < text.size() && !is_blank(text[mnemonic_end]) && text[mnemonic_end] != ';') {
        return plain_line::not_plain;
    }
    const std::string_view mnemonic = text_between(text, at, mnemonic_end);
    const mnemonic_row* row = mnemonic_table.find(mnemonic, readable_end_);
    if (row != nullptr && row->kind == word_kind::jump) {
        return write_jump(text, mnemonic, row, ending, context, out);
    }
    if (row != nullptr && row->kind == word_kind::data) {
        return write_data(text, {}, mnemonic, *row, ending, out);
    }
    if (!is_plain_instruction(row, context)) {
        return plain_line::not_plain;
    }
    const bool renames = context.may_hold_unplaced_names();
    operands_.clear();
    std::size_t count = 0;
    std::size_t written = 0;  // the operands' length as written out
    int flags = 0;            // the size flags of the operands
    int flags_before = 0;     // of all but the last
    bool memory = false;
    at = skip_blanks(text, mnemonic_end);
    while (at < text.size() && text[at] != ';') {
        if (count == most_operands) {
            return plain_line::not_plain;
        }
        operand& read = read_[count];
        const std::size_t end = read_operand(text, at, context, renames, work, read);
        if (end == 0) {
            return plain_line::not_plain;
        }
        written += 2 + read.prefix.size() + read.size;  // with its mark and a comma
        flags_before = flags;
        flags |= read.size_flags;
        memory = memory || read.memory;
        ++count;
        at = find_from(text, end, [](char c) { return !is_blank(c) && c != ','; });
    }
    if (row->rule == statement_rule::push_or_pop && count > 1) {
        return plain_line::not_plain;  // push ax, bx: a list
    }

    // The size letters: those of every operand but a shift count in cl; a port register gives none
    // beside another size. Memory with no size from anywhere takes a variable's, which is no
    // plain rule.
    if ((row->flags & LINE_SHIFT) != 0 && count >= 2 && read_[count - 1].count_register) {
        flags = flags_before;
    }
    if ((row->flags & LINE_PORT_IO) != 0 && flags != SIZE_WORD) {
        flags &= ~SIZE_WORD;
    }
    if (memory && (flags & SIZE_LETTER_FLAGS) == 0) {
        return plain_line::not_plain;
    }

    const std::string_view letters = letters_of(flags);
    const bool has_comment = at < text.size();
    const std::string_view comment = text_from(text, at + (has_comment ? 1 : 0));
    // Eight bytes more than the line takes: words of the line are copied eight bytes at a time.
    line_room line(out, mnemonic.size() + letters.size() + written + comment.size() + 4 + ending.size() + 8);
    line.put('\t');
    line.put_within(mnemonic, readable_end_);
    line.put(letters);
    line.put('\t');
    if (count > 0) {
        const bool reversed = (row->flags & LINE_SOURCE_ORDER) == 0;
        const std::size_t last = count - 1;
        put_operand(line, read_[reversed ? last : 0]);
        for (std::size_t n = 1; n < count; ++n) {
            line.put(',');
            put_operand(line, read_[reversed ? last - n : n]);
        }
    }
    put_comment_and_ending(line, has_comment, comment, ending);
    return plain_line::written;
}

// An operand as it is written out: its mark, its number's prefix, its text from the line or from
// operands_.
void plain_line_writer::put_operand(line_room& line, const operand& o) const
{
    if (o.mark != '\0') {
        line.put(o.mark);
    }
    if (!o.prefix.empty()) {
        line.put(o.prefix);
    }
    if (o.text != nullptr) {
        line.put_within(std::string_view(o.text, o.size), readable_end_);
    } else {
        line.put(std::string_view(operands_.data() + o.offset, o.size));
    }
}

// A jump or call to a name: jz short next, call print. The name is a label or procedure within
// reach of a near transfer, or one the program does not declare; any other target (memory, a far
// procedure, a register) has rules of its own.
plain_line plain_line_writer::write_jump(std::string_view text, std::string_view mnemonic, const mnemonic_row* row,
                                         std::string_view ending, const conversion_context& context,
                                         text_buffer& out)
{
    const bool plain_jump = row->rename.empty() && (row->flags & ~LINE_JUMP) == 0 &&
                            (row->rule == statement_rule::none || row->rule == statement_rule::jmp ||
                             row->rule == statement_rule::call);
    const std::size_t mnemonic_end = static_cast<std::size_t>(mnemonic.data() - text.data()) + mnemonic.size();
    std::size_t at = skip_blanks(text, mnemonic_end);
    if (!plain_jump || at == text.size()) {
        return plain_line::not_plain;
    }
    const bool renames = context.may_hold_unplaced_names();
    if (keyword_before_blank(text, at, "short")) {
        // short goes: the target is written as it stands. A program's own short is no keyword.
        const std::string_view keyword = text.substr(at, 5);
        if (short_declared_ || named_otherwise(keyword, context, renames)) {
            return plain_line::not_plain;
        }
        at = skip_blanks(text, at + 5);
    }
    // @@next: a local label, named as the line's scope names it.
    const bool local = text.size() - at > 2 && text[at] == '@' && text[at + 1] == '@';
    const std::size_t end = name_end(text, local ? at + 2 : at);
    const std::size_t after = skip_blanks(text, end);
    const std::string_view target = text_between(text, at, end);
    bool near_target = true;
    if ((after < text.size() && text[after] != ';') ||
        (local ? end == at + 2 || context.local_label_prefix.empty() : !is_plain_name(target)) ||
        !declared_as_written(target, readable_end_, context, near_target) || named_otherwise(target, context, renames)) {
        return plain_line::not_plain;
    }
    if (!near_target) {
        return plain_line::not_plain;  // through memory, or far
    }
    const std::string_view prefix = local ? context.local_label_prefix : std::string_view();
    const std::string_view name = local ? context.local_label_spelling(target) : target;
    const bool has_comment = after < text.size();
    const std::string_view comment = text_from(text, after + (has_comment ? 1 : 0));
    line_room line(out, mnemonic.size() + prefix.size() + name.size() + comment.size() + 4 + ending.size());
    line.put('\t');
    line.put(mnemonic);
    line.put('\t');
    line.put(prefix);
    line.put(name);
    put_comment_and_ending(line, has_comment, comment, ending);
    return plain_line::written;
}

namespace {

// The data directives whose values plain lines write, db, dw, dd and dq, with what GNU As calls
// them; "" for any other.
constexpr std::array<std::string_view, 7> plain_data_renames = [] {
    std::array<std::string_view, 7> renames{};
    for (const data_directive directive : {data_directive::db, data_directive::dw, data_directive::dd, data_directive::dq}) {
        renames[static_cast<std::size_t>(directive)] =
            mnemonic_table.rows()[mnemonic_table.find_index(make_word_key(tasm_word(directive)))].rename;
    }
    return renames;
}();

// Each directive that plain_data_renames gives a name is a data row of the mnemonic table with that
// rename, and each other is one that write_data declines.
constexpr bool plain_data_renames_agree_with_the_table()
{
    for (std::size_t n = 0; n < plain_data_renames.size(); ++n) {
        const auto directive = static_cast<data_directive>(n);
        const bool declined = directive == data_directive::none || directive == data_directive::df ||
                              directive == data_directive::dt;
        if (declined != plain_data_renames[n].empty()) {
            return false;
        }
        const std::size_t row = mnemonic_table.find_index(make_word_key(tasm_word(directive)));
        if (!declined && (row == mnemonic_table.not_found || mnemonic_table.rows()[row].kind != word_kind::data ||
                          mnemonic_table.rows()[row].rename != plain_data_renames[n])) {
            return false;
        }
    }
    return true;
}
static_assert(plain_data_renames_agree_with_the_table(), "plain_data_renames: the renames of the table's data rows");

// The pairs of first and last bytes (A-Z folded, six bits of each) that words of the mnemonic table
// begin and end with: a word whose pair none begins and ends with is no word of the table, and is
// not looked up. Most names of data (tbl12, msg_3) are told apart so.
class first_and_last_bytes {
public:
    constexpr first_and_last_bytes()
    {
        for (const mnemonic_row& row : mnemonic_table) {
            pairs_[six_bits(row.name.front())] |= std::uint64_t{1} << six_bits(row.name.back());
        }
    }
    constexpr bool may_name_a_row(std::string_view word) const
    {
        return ((pairs_[six_bits(word.front())] >> six_bits(word.back())) & 1U) != 0;
    }

private:
    static constexpr std::size_t six_bits(char c) { return static_cast<unsigned char>(fold_case(c)) & 63U; }
    std::array<std::uint64_t, 64> pairs_{};
};
constexpr first_and_last_bytes mnemonic_bounds;
constexpr bool every_row_may_be_named()
{
    for (const mnemonic_row& row : mnemonic_table) {
        if (!mnemonic_bounds.may_name_a_row(row.name)) {
            return false;
        }
    }
    return mnemonic_bounds.may_name_a_row("END") && !mnemonic_bounds.may_name_a_row("tbl12");
}
static_assert(every_row_may_be_named(), "mnemonic_bounds: every word of the table, in any case, is looked up");

// name (not empty) is a word of the mnemonic table.
bool names_a_mnemonic_row(std::string_view name, const char* readable_end)
{
    return mnemonic_bounds.may_name_a_row(name) && mnemonic_table.find(make_word_key(name, readable_end)) != nullptr;
}

} // namespace

// A data definition of numbers alone, with or without a name: count dw 0, table db 1, 2, 0Fh. The
// name is written with a colon, the numbers in GNU As form and in order.
plain_line plain_line_writer::write_data(std::string_view text, std::string_view name, std::string_view word,
                                         const mnemonic_row& row, std::string_view ending, text_buffer& out)
{
    const std::string_view rename = plain_data_renames[static_cast<std::size_t>(data_directive_of(word))];
    const std::size_t word_end = static_cast<std::size_t>(word.data() - text.data()) + word.size();
    if (rename.empty() || row.rename.empty() || word_end == text.size() || !is_blank(text[word_end])) {
        return plain_line::not_plain;
    }
    return write_data_values(text, name, rename, word_end, ending, out);
}

// A data definition whose name ends at name_end: the directive follows after blanks; a name that
// is a word of the vocabulary (end db 1) is not plain.
plain_line plain_line_writer::write_named_data(std::string_view text, std::size_t name_end, std::string_view ending,
                                               text_buffer& out)
{
    const std::size_t at = skip_blanks(text, name_end);
    const std::size_t word_end = at + 2;
    const std::string_view rename =
        word_end < text.size() ? plain_data_renames[static_cast<std::size_t>(data_directive_of(text.substr(at, 2)))]
                               : std::string_view();
    const std::string_view name = text_between(text, 0, name_end);
    if (rename.empty() || !is_blank(text[word_end]) || names_a_mnemonic_row(name, readable_end_)) {
        return plain_line::not_plain;
    }
    return write_data_values(text, name, rename, word_end, ending, out);
}

// The list of numbers after a data directive that ends at directive_end, written after name and a
// colon (none without a name) and rename, the directive in GNU As. Each value is a number alone,
// read and written in turn; a run of blanks and commas between values is one separator. A value
// that is no number alone, or a comma at the list's end (the list goes on in the next line),
// makes the line not plain.
plain_line plain_line_writer::write_data_values(std::string_view text, std::string_view name, std::string_view rename,
                                                std::size_t directive_end, std::string_view ending, text_buffer& out)
{
    // A value is written at most one character longer than it stands (0FFh: 0x0FF) and stands
    // with a comma or ";" after it, or at the end: twice the rest of the line holds it all.
    std::size_t at = skip_blanks(text, directive_end);
    line_room line(out, name.size() + 1 + rename.size() + 2 * (text.size() - at) + 4 + ending.size());
    if (!name.empty()) {
        line.put(name);
        line.put(':');
    }
    line.put('\t');
    line.put(rename);
    line.put('\t');
    while (at < text.size() && is_decimal_digit(text[at])) {
        const number_word word = scan_number_word(text, at, stops_);
        const std::size_t end = word.end;
        const std::optional<gnu_as_number> number = number_of_forms(text_between(text, at, end), word.forms);
        if (!number) {
            break;
        }
        line.put(number->prefix);
        line.put(number->digits);
        // Blanks end the list, before ";" or the end; a separator, which holds a comma, goes on with it.
        unsigned between = 0;
        for (at = end; at < text.size() && separator_bytes[static_cast<unsigned char>(text[at])] != 0; ++at) {
            between |= separator_bytes[static_cast<unsigned char>(text[at])];
        }
        if (at == text.size() || text[at] == ';') {
            if ((between & comma_between) != 0) {
                break;  // the list goes on in the next line
            }
            const bool has_comment = at < text.size();
            put_comment_and_ending(line, has_comment, text_from(text, at + (has_comment ? 1 : 0)), ending);
            return plain_line::written;
        }
        if ((between & comma_between) == 0) {
            break;
        }
        line.put(',');
    }
    line.drop();
    return plain_line::not_plain;
}

} // namespace dravent
