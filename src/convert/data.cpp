// Data definitions: each value goes into the GNU As directive of its kind, and neighbours of one
// kind share a statement; strings in db become .ascii, reals .float/.double/.tfloat, dup groups
// .fill or .rept ... .endr, all written in source order on the one output line.
#include "convert/data.hpp"

#include "convert/convert_operand.hpp"
#include "convert/data_list.hpp"
#include "convert/text_equate_uses.hpp"
#include "convert/warnings.hpp"
#include "convert/write_expression.hpp"
#include "vocabulary/expression_words.hpp"
#include "source/tokenizer.hpp"
#include "vocabulary/flags.hpp"
#include "vocabulary/registers.hpp"

namespace dravent {
namespace {

bool is_unknown_value(const data_item& item) { return trim_trailing_blanks(item.text) == "?"; }

// GNU As has no directive for what these items mean in Tasm: a dt integer (Tasm's packed
// decimal or binary reading is left to a person), a string in dt, a real in df. A register is no
// value at all (GNU As would read it as a symbol).
bool has_a_gnu_as_form(data_directive directive, const data_list& list)
{
    if (list.items.empty()) {
        return false;
    }
    for (const data_item& item : list.items) {
        if (item.kind == data_item_kind::value && find_register(item.text) != nullptr) {
            return false;
        }
        if (directive == data_directive::dt &&
            (item.kind == data_item_kind::string || (item.kind == data_item_kind::value && !is_unknown_value(item)))) {
            return false;
        }
        if (directive == data_directive::df && item.kind == data_item_kind::real) {
            return false;
        }
    }
    return true;
}

// True when the value holds a string that is not one character: in dw, dd and dq it is a number.
bool holds_a_long_string(std::string_view value)
{
    tokenizer tokens(value);
    for (token t; tokens.next(t);) {
        if (t.kind == token_kind::string && (!t.closed || t.digits.size() != 1)) {
            return true;
        }
    }
    return false;
}

// True when the value names a symbol: GNU As's .fill takes only an absolute value.
bool names_a_symbol(std::string_view value)
{
    tokenizer tokens(value);
    for (token t; tokens.next(t);) {
        if (t.kind == token_kind::name && t.text != "?") {
            return true;
        }
    }
    return false;
}

// Writes the statements of one list into the line, in order.
class data_writer {
public:
    data_writer(data_directive directive, const conversion_context& context, converted_line& line)
        : directive_(directive), context_(context), line_(line)
    {
    }

    void write(const data_list& list)
    {
        const std::vector<data_item>& items = list.items;
        for (std::size_t at = 0; at < items.size(); ++at) {
            const data_item& item = items[at];
            switch (item.kind) {
            case data_item_kind::repeat_begin:
                if (fills(items, at)) {
                    write_fill(item, items[at + 1]);
                    at = item.end;
                } else {
                    start(".rept");
                    add_expression(item.text);
                }
                break;
            case data_item_kind::repeat_end:
                start(".endr");
                break;
            case data_item_kind::value:
            case data_item_kind::string:
            case data_item_kind::real:
                write_value(item);
                break;
            }
        }
    }

private:
    // One value repeated: .fill takes it when it is a number of at most 4 bytes, or an unknown
    // value of at most 8 (the value .fill repeats has 4 bytes, the rest zero).
    bool fills(const std::vector<data_item>& items, std::size_t at) const
    {
        if (items[at].end != at + 2) {
            return false;
        }
        const data_item& value = items[at + 1];
        if (value.kind == data_item_kind::real || (value.kind == data_item_kind::string && directive_ == data_directive::db)) {
            return false;
        }
        const int size = value_size(directive_);
        if (is_unknown_value(value)) {
            return size <= 8;
        }
        return size <= 4 && !names_a_symbol(value.text);
    }

    void write_fill(const data_item& repeat, const data_item& value)
    {
        constexpr std::string_view sizes[] = {"", "1", "2", "", "4", "", "6", "", "8"};
        start(".fill");
        add_expression(repeat.text);
        add_operand(sizes[value_size(directive_)]);
        add_value(value.text);
    }

    void write_value(const data_item& item)
    {
        if (directive_ == data_directive::df) {
            write_far_pointer(item);
            return;
        }
        if (directive_ == data_directive::dt && is_unknown_value(item) && in_uninitialised_section()) {
            // GNU As puts no float in a section without contents: ten bytes of room instead.
            start(".skip");
            add_operand(std::string_view("10"));
            joining_ = {};
            return;
        }
        const std::string_view mnemonic = mnemonic_of(item.kind);
        if (mnemonic != joining_) {
            start(mnemonic);
            joining_ = mnemonic;
        }
        if (item.kind == data_item_kind::string && directive_ == data_directive::db) {
            const std::size_t begin = line_.text.size();
            write_ascii(item.text);
            add_operand(piece::in_buffer(begin, line_.text.size()));
            return;
        }
        if (item.kind == data_item_kind::real) {
            add_expression(item.text);
            return;
        }
        add_value(item.text);
    }

    std::string_view mnemonic_of(data_item_kind kind) const
    {
        switch (directive_) {
        case data_directive::db:
            return kind == data_item_kind::string ? ".ascii" : ".byte";
        case data_directive::dw:
            return ".short";
        case data_directive::dd:
            return kind == data_item_kind::real ? ".float" : ".int";
        case data_directive::dq:
            return kind == data_item_kind::real ? ".double" : ".quad";
        case data_directive::dt:
            return ".tfloat";
        case data_directive::df:
        case data_directive::none:
            break;
        }
        return ".int";
    }

    // The line stands in a segment that GNU As makes a section without contents (.data?,
    // udataseg, _BSS, a 'BSS' class).
    bool in_uninitialised_section() const
    {
        const program_declarations* program = context_.program;
        if (program == nullptr || context_.segment >= program->segment_sections.size()) {
            return false;
        }
        const segment_section section = program->segment_sections[context_.segment];
        return section == segment_section::bss || section == segment_section::named_bss;
    }

    // A name in a six-byte value that the program does not declare as a constant: an address,
    // which a far pointer would need with its segment.
    bool names_an_address(std::string_view text) const
    {
        tokenizer tokens(text);
        for (token t; tokens.next(t);) {
            if (t.kind != token_kind::name || find_expression_word(t.text) != nullptr || t.text == "?") {
                continue;
            }
            const name_facts* facts = context_.find(t.text);
            if (facts == nullptr || facts->kind != declared::constant) {
                return true;
            }
        }
        return false;
    }

    // Six bytes: the low four, then the next two. A label has no such form in an ELF object
    // (it would be a far pointer), and GNU As rejects the masks on one.
    void write_far_pointer(const data_item& item)
    {
        start(".int");
        if (is_unknown_value(item)) {
            add_operand(std::string_view("0"));
            start(".short");
            add_operand(std::string_view("0"));
            return;
        }
        if (names_an_address(item.text)) {
            line_.warnings.push_back({0, warning_text::data_as_written});
        }
        std::size_t begin = line_.text.size();
        line_.text += '(';
        write_expression(trim_trailing_blanks(item.text), line_.text, line_.work.expressions, string_meaning::number);
        line_.text += ") & 0xFFFFFFFF";
        add_operand(piece::in_buffer(begin, line_.text.size()));
        start(".short");
        begin = line_.text.size();
        line_.text += '(';
        write_expression(trim_trailing_blanks(item.text), line_.text, line_.work.expressions, string_meaning::number);
        line_.text += ") >> 32 & 0xFFFF";
        add_operand(piece::in_buffer(begin, line_.text.size()));
    }

    // A Tasm string as a GNU As string: a doubled quote once, " and \ escaped, every byte outside
    // printable ASCII as three octal digits (a hexadecimal escape would take the digits after it).
    // An empty string, or one left open, stays in single quotes, which GNU As rejects in .ascii.
    void write_ascii(std::string_view text)
    {
        token string;
        tokenizer(text).next(string);
        text_buffer& out = line_.text;
        if (!string.closed || string.digits.empty()) {
            line_.warnings.push_back({0, warning_text::string_as_written});
            if (text.front() != '\'') {
                out += '\'';
                out += string.digits;
                out += string.closed ? "'" : "";
                return;
            }
            out += text;
            return;
        }
        const char quote = text.front();
        out += '"';
        for (std::size_t at = 0; at < string.digits.size(); ++at) {
            const char c = string.digits[at];
            if (c == quote) {
                ++at;  // the second quote of a pair
            }
            if (c == '"' || c == '\\') {
                out += '\\';
                out += c;
            } else if (c >= ' ' && c <= '~') {
                out += c;
            } else {
                const auto byte = static_cast<unsigned char>(c);
                out += '\\';
                out += static_cast<char>('0' + (byte >> 6));
                out += static_cast<char>('0' + ((byte >> 3) & 7));
                out += static_cast<char>('0' + (byte & 7));
            }
        }
        out += '"';
    }

    void start(std::string_view mnemonic)
    {
        statement& s = line_.statements.emplace_back();
        s.mnemonic = mnemonic;
        s.first_operand = line_.operands.size();
        joining_ = {};
    }

    void add_operand(piece operand)
    {
        line_.operands.push_back(operand);
        ++line_.statements.back().operand_count;
    }

    // A count, or a real: an expression whose strings are numbers.
    void add_expression(std::string_view text)
    {
        const std::size_t begin = line_.text.size();
        note(write_expression(text, line_.text, line_.work.expressions, string_meaning::number));
        add_operand(piece::in_buffer(begin, line_.text.size()));
    }

    // A value left as written, for GNU As to reject, gets its warning.
    void note(std::string_view left_as_written)
    {
        if (left_as_written.empty()) {
            return;
        }
        line_.warnings.push_back({0, context_.warning_for_word_left(left_as_written, warning_text::data_as_written)});
    }

    // A value as the operand of a data line, the form data lines had before they had rules of
    // their own; except that a string of several characters is a number in dw, dd and dq (first
    // character most significant), which that form leaves in quotes.
    void add_value(std::string_view text)
    {
        if (directive_ != data_directive::db && holds_a_long_string(text)) {
            add_expression(text);
            return;
        }
        const std::size_t begin = line_.text.size();
        note(convert_operand(text, LINE_DATA, context_, line_.text, line_.work).left_as_written);
        add_operand(piece::in_buffer(begin, line_.text.size()));
    }

    data_directive directive_;
    const conversion_context& context_;
    converted_line& line_;
    std::string_view joining_;  // the directive of the last statement while it takes further values
};

} // namespace

bool convert_data(data_directive directive, std::string_view label, std::string_view list,
                  const conversion_context& context, converted_line& line)
{
    // count equ <5 + 2> ... db count dup (0): Tasm puts each text in before it reads the list.
    line.work.equated.clear();
    if (put_text_equates(list, context, line.work.equated)) {
        list = line.work.equated;
    }
    data_list& parsed = line.work.data;
    parse_data_list(list, parsed);
    line.leaves_open = parsed.open ? directive : data_directive::none;
    if (!has_a_gnu_as_form(directive, parsed)) {
        return false;
    }
    line.label = label;
    line.label_colon = !label.empty() && label.back() != ':';
    data_writer(directive, context, line).write(parsed);
    return true;
}

} // namespace dravent
