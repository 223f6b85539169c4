// The declarations pass: Tasm's declaring lines, in MASM and IDEAL spelling, read for the names
// they declare and for the lines that procedures, local-label scopes, code sizes and modes span.
#include "declarations/collect_declarations.hpp"

#include "declarations/conditional_blocks.hpp"
#include "declarations/constant_expression.hpp"
#include "declarations/include_files.hpp"
#include "declarations/instruction_lines.hpp"
#include "declarations/text_equates.hpp"
#include "io/file_io.hpp"
#include "source/line_scanner.hpp"
#include "source/split_line.hpp"
#include "source/tokenizer.hpp"
#include "text/characters.hpp"
#include "text/each_line.hpp"
#include "vocabulary/expression_words.hpp"
#include "vocabulary/registers.hpp"

#include <algorithm>
#include <array>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <optional>
#include <span>
#include <system_error>
#include <thread>
#include <bit>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace dravent {
namespace {

// The words of a statement: the label (without its colon), the mnemonic, and each blank- or
// comma-separated word of the operands, in order. They are cut from the line only when a rule
// asks for them: most declaring lines need the label alone.
class statement_words {
public:
    void read(const source_line& line)
    {
        line_ = &line;
        cut_ = false;
        label_has_colon_ = !line.label.empty() && line.label.back() == ':';
        label_ = label_has_colon_ ? line.label.substr(0, line.label.size() - 1) : line.label;
    }

    std::size_t size() const { return words().size(); }
    std::string_view operator[](std::size_t n) const { return n < size() ? words_[n] : std::string_view(); }
    bool is(std::size_t n, std::string_view keyword) const { return equal_folded((*this)[n], keyword); }
    std::string_view label() const { return label_; }
    bool label_has_colon() const { return label_has_colon_; }

private:
    const std::vector<std::string_view>& words() const
    {
        if (cut_) {
            return words_;
        }
        words_.clear();
        if (!label_.empty()) {
            words_.push_back(label_);
        }
        if (!line_->mnemonic.empty()) {
            words_.push_back(line_->mnemonic);
        }
        for (const std::string_view operand : line_->operands) {
            std::size_t at = skip_blanks(operand, 0);
            while (at < operand.size()) {
                const std::size_t end = find_from(operand, at, [](char c) { return is_blank(c) || c == ','; });
                words_.push_back(operand.substr(at, end - at));
                at = find_from(operand, end, [](char c) { return !is_blank(c) && c != ','; });
            }
        }
        cut_ = true;
        return words_;
    }

    const source_line* line_ = nullptr;
    mutable std::vector<std::string_view> words_;
    mutable bool cut_ = false;
    std::string_view label_;
    bool label_has_colon_ = false;
};

struct size_row {
    std::string_view name;
    std::uint32_t bytes;
};

// The bytes of each data directive and each type that label, extrn and global name.
constexpr std::array<size_row, 16> size_table{{
    {"db", 1}, {"dw", 2}, {"dd", 4}, {"df", 6}, {"dp", 6}, {"dq", 8}, {"dt", 10}, {"ddq", 16}, {"do", 16},
    {"byte", 1}, {"word", 2}, {"dword", 4}, {"fword", 6}, {"pword", 6}, {"qword", 8}, {"tbyte", 10},
}};

// The names' word-key heads, compared as integers: bytes_of is asked of every data line.
constexpr auto size_heads = [] {
    std::array<std::uint64_t, size_table.size()> heads{};
    for (std::size_t n = 0; n < size_table.size(); ++n) {
        heads[n] = make_word_key(size_table[n].name).head;
    }
    return heads;
}();

std::uint32_t bytes_of(std::string_view word)
{
    if (word.size() < 2 || word.size() > 5) {  // the lengths of the names
        return 0;
    }
    const std::uint64_t head = fold_case_bytes(pack_head(word));  // a word key's head, without its hash
    for (std::size_t n = 0; n < size_table.size(); ++n) {
        if (size_heads[n] == head && size_table[n].name.size() == word.size()) {
            return size_table[n].bytes;
        }
    }
    return 0;
}

constexpr bool size_names_are_two_to_five_bytes()
{
    for (const size_row& row : size_table) {
        if (row.name.size() < 2 || row.name.size() > 5) {
            return false;
        }
    }
    return true;
}
static_assert(size_names_are_two_to_five_bytes(), "bytes_of: a size name of another length");

// The bytes the values of a data definition lay out, each value the directive's unit of them:
// a string in db one byte a character (a doubled quote one), a string in a wider unit one unit,
// "count dup (values)" count times the values. A count is a number or a constant the program
// gave as a number; with any other count, or a list of another shape, the length is unknown.
class values_length {
public:
    values_length(std::string_view values, std::uint32_t unit, const program_declarations& program)
        : unit_(unit), program_(program)
    {
        tokenizer tokens(values);
        for (token t; tokens.next(t);) {
            if (t.kind != token_kind::other || !is_white_space(t.text[0])) {
                tokens_.push_back(t);
            }
        }
    }

    // The length, or false when it is unknown.
    bool find(std::uint64_t& length)
    {
        return list(length, false) && at_ == tokens_.size();
    }

private:
    // Values up to the end, or (inside a dup) up to and over the ")" that closes them.
    bool list(std::uint64_t& length, bool inside)
    {
        length = 0;
        for (;;) {
            std::uint64_t one = 0;
            if (!item(one)) {
                return false;
            }
            length += one;
            if (length > UINT32_MAX) {
                return false;
            }
            if (at_ == tokens_.size()) {
                return !inside;
            }
            const std::string_view separator = tokens_[at_++].text;
            if (separator == ")") {
                return inside;
            }
            if (separator != ",") {
                return false;
            }
        }
    }

    bool item(std::uint64_t& length)
    {
        if (at_ == tokens_.size()) {
            return false;  // no value, or none after a comma: the list goes on elsewhere, if at all
        }
        if (at_ + 2 < tokens_.size() && equal_folded(tokens_[at_ + 1].text, "dup") && tokens_[at_ + 2].text == "(") {
            std::uint32_t count = 0;
            if (!count_of(tokens_[at_], count) || ++dups_ > 8) {
                return false;
            }
            at_ += 3;
            std::uint64_t repeated = 0;
            if (!list(repeated, true)) {
                return false;  // (a length over 32 bits is unknown too, so the product fits)
            }
            length = count * repeated;
            return true;
        }
        const token& first = tokens_[at_];
        if (first.kind == token_kind::string && (at_ + 1 == tokens_.size() || ends_item(tokens_[at_ + 1]))) {
            ++at_;
            const std::uint64_t characters = first.digits.size() - doubled_quotes(first);
            length = unit_ == 1 ? characters : unit_;
            return unit_ == 1 || characters <= unit_;
        }
        // Any other value: an expression, up to the "," or ")" that ends it outside parentheses.
        const std::size_t start = at_;
        for (int depth = 0; at_ < tokens_.size(); ++at_) {
            const std::string_view text = tokens_[at_].text;
            if (depth == 0 && ends_item(tokens_[at_])) {
                break;
            }
            if (equal_folded(text, "dup")) {
                return false;
            }
            depth += text == "(" ? 1 : text == ")" ? -1 : 0;
        }
        length = unit_;
        return at_ > start;
    }

    static bool ends_item(const token& t) { return t.text == "," || t.text == ")"; }

    static std::uint64_t doubled_quotes(const token& t)
    {
        std::uint64_t doubled = 0;
        for (std::size_t n = 0; n + 1 < t.digits.size(); ++n) {
            if (t.digits[n] == t.text[0] && t.digits[n + 1] == t.text[0]) {
                ++doubled;
                ++n;
            }
        }
        return doubled;
    }

    bool count_of(const token& t, std::uint32_t& count) const
    {
        if (t.kind == token_kind::name) {
            const name_facts* facts = program_.find(t.text);
            count = facts != nullptr ? facts->value : 0;
            return facts != nullptr && has_number_value(*facts);
        }
        return number_value(t, count);
    }

    std::vector<token> tokens_;
    std::size_t at_ = 0;
    int dups_ = 0;
    std::uint32_t unit_;
    const program_declarations& program_;
};

// The tokens of a variable's values, up to the ";" of a comment, blanks left out: at most
// max_value_tokens of them, which is all a count is read from.
constexpr std::size_t max_value_tokens = 8;
std::size_t value_tokens(std::string_view values, std::array<token, max_value_tokens>& tokens)
{
    tokenizer reader(values);
    std::size_t count = 0;
    for (token t; reader.next(t) && t.text != ";";) {
        if (t.kind == token_kind::other && is_white_space(t.text[0])) {
            continue;
        }
        if (count == tokens.size()) {
            return count + 1;  // too many to be read
        }
        tokens[count++] = t;
    }
    return count;
}

bool is_name(std::string_view text)
{
    return !text.empty() && starts_name(text.front()) &&
           std::all_of(text.begin(), text.end(), [](char c) { return continues_name(c); });
}

// A field of a record line as written: name:width [= default].
struct written_bit_field {
    std::string_view name;
    std::uint32_t width = 0;
    bool has_default = true;
    std::uint32_t default_value = 0;
};

// A record holds at most 32 bits, so at most 32 fields of a bit or more.
constexpr std::size_t max_bit_fields = 32;

// The fields of a record line, "a:3, b:5 = 2, ...", when each has a name and a width that is a
// number (or constant number) of one bit or more, and all together hold 32 bits or fewer. A
// default that is no number is kept as unknown. Returns the number of fields, 0 for a line of
// another shape.
std::size_t read_bit_fields(std::string_view text, const program_declarations& program,
                            std::array<written_bit_field, max_bit_fields>& fields)
{
    std::size_t count = 0;
    std::uint32_t bits = 0;
    while (!trim_blanks(text).empty()) {
        const std::size_t comma = text.find(',');
        const std::string_view item = text.substr(0, comma);
        text = comma == std::string_view::npos ? std::string_view() : text.substr(comma + 1);
        const std::size_t colon = item.find(':');
        const std::size_t equals = item.find('=');
        if (colon == std::string_view::npos || count == max_bit_fields || (equals != item.npos && equals < colon)) {
            return 0;
        }
        written_bit_field& field = fields[count];
        field = {};
        field.name = trim_blanks(item.substr(0, colon));
        const std::string_view width = item.substr(colon + 1, equals == item.npos ? item.npos : equals - colon - 1);
        if (!is_name(field.name) || !number_or_constant(width, program, field.width) ||
            field.width == 0 || field.width > 32 - bits) {
            return 0;
        }
        bits += field.width;
        if (equals != item.npos) {
            field.has_default = number_or_constant(item.substr(equals + 1), program, field.default_value);
        }
        ++count;
    }
    return count;
}

// One value, as a data directive lists it: no comma, no dup, no string of several characters
// (which Tasm may count by its characters).
bool is_one_value(std::span<const token> tokens)
{
    return !tokens.empty() && std::none_of(tokens.begin(), tokens.end(), [](const token& t) {
        return t.text == "," || (t.kind == token_kind::name && equal_folded(t.text, "dup")) ||
               (t.kind == token_kind::string && t.digits.size() > 1);
    });
}

// A comma stands in values before the ";" of a comment, outside quotes.
bool holds_a_list(std::string_view values)
{
    for (std::size_t at = 0; at < values.size(); ++at) {
        if (values[at] == ',') {
            return true;
        }
        if (values[at] == ';') {
            return false;
        }
        if (is_quote(values[at])) {
            at = end_of_string(values, at).end - 1;
        }
    }
    return false;
}

// What Tasm's length gives a variable whose values are written in values (what follows its
// directive or structure): the count of a lone "n dup (value)", 1 for a lone value; 0, unknown,
// for several values, a list or a dup inside the dup, or anything longer.
std::uint32_t count_of_one_value(std::string_view values, const program_declarations& program);

std::uint32_t count_of_values(std::string_view values, const program_declarations& program)
{
    return holds_a_list(values) ? 0 : count_of_one_value(values, program);  // most data lines: a list
}

// The same for values that are no list. Kept out of count_of_values, whose lists then cost no
// room for the tokens.
[[gnu::noinline]] std::uint32_t count_of_one_value(std::string_view values, const program_declarations& program)
{
    // A lone number or name (dw 0, db ?, dd start) is one value, told without reading tokens.
    const std::size_t begin = skip_blanks(values, 0);
    const std::size_t end = find_from(values, begin, [](char c) { return !continues_name(c); });
    const std::size_t after = skip_blanks(values, end);
    if (end > begin && (after == values.size() || values[after] == ';') &&
        !equal_folded(values.substr(begin, end - begin), "dup")) {
        return 1;
    }
    std::array<token, max_value_tokens> tokens;
    const std::size_t n = value_tokens(values, tokens);
    if (n > tokens.size()) {
        return 0;
    }
    const std::span<const token> all(tokens.data(), n);
    if (is_one_value(all)) {
        return 1;
    }
    const bool dup = n >= 5 && tokens[1].kind == token_kind::name && equal_folded(tokens[1].text, "dup") &&
                     tokens[2].text == "(" && tokens[n - 1].text == ")" && is_one_value(all.subspan(3, n - 4));
    std::uint32_t count = 0;
    if (!dup || number_value(tokens[0], count)) {
        return count;
    }
    // BUFSIZE dup (?): a constant the program gives as one number.
    const name_facts* constant = tokens[0].kind == token_kind::name ? program.find(tokens[0].text) : nullptr;
    return constant != nullptr && has_number_value(*constant) ? constant->value : 0;
}

// The tokens of a data line's values one by one, up to the ";" of a comment, blanks left out.
class value_reader {
public:
    explicit value_reader(std::string_view values) : tokens_(values) {}

    bool next(token& t)
    {
        while (tokens_.next(t)) {
            if (t.text == ";") {
                return false;
            }
            if (t.kind != token_kind::other || !is_white_space(t.text[0])) {
                return true;
            }
        }
        return false;
    }

    // Reads one value in angle brackets (or IDEAL's braces) whose opening token is open: true
    // when it closes.
    bool bracketed_value(const token& open)
    {
        int depth = 0;
        for (token t = open;;) {
            const std::string_view text = t.kind == token_kind::other ? t.text : std::string_view();
            depth += text == "<" || text == "{" ? 1 : text == ">" || text == "}" ? -1 : 0;
            if (depth <= 0) {
                return depth == 0 && (text == ">" || text == "}");
            }
            if (!next(t)) {
                return false;
            }
        }
    }

private:
    tokenizer tokens_;
};

// What Tasm's length gives an instance of a structure whose values are written in values: 1 for
// one value in angle brackets, count for count dup (one such value); 0 when unknown.
std::uint32_t count_of_instances(std::string_view values, const program_declarations& program)
{
    value_reader reader(values);
    token first;
    token t;
    if (!reader.next(first)) {
        return 0;
    }
    if (first.text == "<" || first.text == "{") {
        return reader.bracketed_value(first) && !reader.next(t) ? 1 : 0;
    }
    token dup;
    token open;
    token value;
    token close;
    if (!reader.next(dup) || dup.kind != token_kind::name || !equal_folded(dup.text, "dup") || !reader.next(open) ||
        open.text != "(" || !reader.next(value) || !reader.bracketed_value(value) || !reader.next(close) ||
        close.text != ")" || reader.next(t)) {
        return 0;
    }
    std::uint32_t count = 0;
    if (number_value(first, count)) {
        return count;
    }
    const name_facts* constant = first.kind == token_kind::name ? program.find(first.text) : nullptr;
    return constant != nullptr && has_number_value(*constant) ? constant->value : 0;
}

// A word of a list as statement_words cuts it: the first one after a name in the first column
// (GLOBAL  a:WORD, b:WORD) is the line's mnemonic and keeps the comma after it.
std::string_view without_trailing_comma(std::string_view word)
{
    while (!word.empty() && word.back() == ',') {
        word.remove_suffix(1);
    }
    return word;
}

bool is_distance(std::string_view word) { return equal_folded(word, "near") || equal_folded(word, "far"); }

bool is_code_type(std::string_view word) { return is_distance(word) || equal_folded(word, "proc"); }

// The line without its comment.
std::string_view statement_of(const source_line& line)
{
    if (!line.has_comment || line.comment.data() <= line.text.data()) {
        return line.text;
    }
    return line.text.substr(0, static_cast<std::size_t>(line.comment.data() - line.text.data()) - 1);
}

// The name that a word of an arg or local list begins with (count in count:word, buf in
// buf[10]:byte, @@tmp in @@tmp:dword), or an empty view when it begins with none, or with a
// word Tasm reserves (a register, an operator, a size keyword, an instruction or directive).
std::string_view frame_name_in(std::string_view word)
{
    if (word.empty() || !starts_name(word[0])) {
        return {};
    }
    const std::string_view name = word.substr(0, find_from(word, 0, [](char c) { return !continues_name(c); }));
    if (register_named(name) != nullptr || find_expression_word(name) != nullptr || bytes_of(name) > 0 ||
        is_distance(name) || equal_folded(name, "ptr") || mnemonic_table.find(name) != nullptr) {
        return {};
    }
    return name;
}

constexpr std::array<std::string_view, 4> far_models{"medium", "large", "huge", "tpascal"};

// Directives that declare nothing and make no code or data: an include holding only them (beside
// its declarations) can be declared to GNU As on the include line.
bool is_harmless_in_include(const source_line& line)
{
    const mnemonic_row* word = line.label.empty() ? line.mnemonic_word : line.label_word;
    const std::string_view name = line.label.empty() ? line.mnemonic : line.label;
    if (word == nullptr || word->kind != word_kind::directive) {
        return false;
    }
    if (name.front() == '.' || name.front() == '%' || (fold_case(name.front()) == 'p' && name.size() > 1 &&
                                                       (is_decimal_digit(name[1]) || fold_case(name[1]) == 'n'))) {
        // processors (.386, p386, pno87) and listing controls, but not the segments and models
        return !equal_folded(name, ".code") && !equal_folded(name, ".data") && !equal_folded(name, ".data?") &&
               !equal_folded(name, ".const") && !equal_folded(name, ".stack") && !equal_folded(name, ".model") &&
               !equal_folded(name, ".fardata") && !equal_folded(name, ".fardata?") && !equal_folded(name, ".startup") &&
               !equal_folded(name, ".exit") && !equal_folded(name, ".radix");
    }
    for (const std::string_view harmless : {"ideal", "masm", "locals", "nolocals", "jumps", "nojumps", "smart",
                                            "nosmart", "title", "subttl", "page", "masm51", "nomasm51", "quirks",
                                            "emul", "noemul", "extrn", "extern", "include", "ends"}) {
        if (equal_folded(name, harmless)) {
            return true;
        }
    }
    return false;
}

// The lines that select a processor or a coprocessor, or turn Tasm's jumps on or off. A
// processor row's coprocessor is the least it brings (the 80286 its 80287).
enum class processor_word : std::uint8_t { cpu, fpu, jumps, nojumps };
struct processor_row {
    std::string_view name;
    processor_word word;
    cpu_level cpu;
    fpu_level fpu;
};

inline constexpr hashed_table processor_table{std::to_array<processor_row>({
    {".8086",   processor_word::cpu,     cpu_level::i8086, fpu_level::i8087},
    {"p8086",   processor_word::cpu,     cpu_level::i8086, fpu_level::i8087},
    {".186",    processor_word::cpu,     cpu_level::i186,  fpu_level::i8087},
    {"p186",    processor_word::cpu,     cpu_level::i186,  fpu_level::i8087},
    {".286",    processor_word::cpu,     cpu_level::i286,  fpu_level::i287},
    {".286c",   processor_word::cpu,     cpu_level::i286,  fpu_level::i287},
    {".286p",   processor_word::cpu,     cpu_level::i286,  fpu_level::i287},
    {"p286",    processor_word::cpu,     cpu_level::i286,  fpu_level::i287},
    {"p286n",   processor_word::cpu,     cpu_level::i286,  fpu_level::i287},
    {"p286p",   processor_word::cpu,     cpu_level::i286,  fpu_level::i287},
    {".386",    processor_word::cpu,     cpu_level::any,   fpu_level::i387},
    {".386c",   processor_word::cpu,     cpu_level::any,   fpu_level::i387},
    {".386p",   processor_word::cpu,     cpu_level::any,   fpu_level::i387},
    {"p386",    processor_word::cpu,     cpu_level::any,   fpu_level::i387},
    {"p386n",   processor_word::cpu,     cpu_level::any,   fpu_level::i387},
    {"p386p",   processor_word::cpu,     cpu_level::any,   fpu_level::i387},
    {".486",    processor_word::cpu,     cpu_level::any,   fpu_level::i387},
    {".486c",   processor_word::cpu,     cpu_level::any,   fpu_level::i387},
    {".486p",   processor_word::cpu,     cpu_level::any,   fpu_level::i387},
    {"p486",    processor_word::cpu,     cpu_level::any,   fpu_level::i387},
    {"p486n",   processor_word::cpu,     cpu_level::any,   fpu_level::i387},
    {".586",    processor_word::cpu,     cpu_level::any,   fpu_level::i387},
    {".586c",   processor_word::cpu,     cpu_level::any,   fpu_level::i387},
    {".586p",   processor_word::cpu,     cpu_level::any,   fpu_level::i387},
    {"p586",    processor_word::cpu,     cpu_level::any,   fpu_level::i387},
    {"p586n",   processor_word::cpu,     cpu_level::any,   fpu_level::i387},
    {".8087",   processor_word::fpu,     cpu_level::any,   fpu_level::i8087},
    {"p8087",   processor_word::fpu,     cpu_level::any,   fpu_level::i8087},
    {".287",    processor_word::fpu,     cpu_level::any,   fpu_level::i287},
    {"p287",    processor_word::fpu,     cpu_level::any,   fpu_level::i287},
    {".387",    processor_word::fpu,     cpu_level::any,   fpu_level::i387},
    {"p387",    processor_word::fpu,     cpu_level::any,   fpu_level::i387},
    {"jumps",   processor_word::jumps,   cpu_level::any,   fpu_level::i8087},
    {"nojumps", processor_word::nojumps, cpu_level::any,   fpu_level::i8087},
})};

// A line of a block that the first look leaves for the collector, with its number: one that may
// declare something, or an instruction that uses an @@ label (its scope is kept).
struct marked_line {
    std::string_view text;
    std::uint64_t number;
    bool may_declare;
    bool uses_local_labels;
};

class collector {
public:
    collector(program_declarations& declarations) : d_(declarations) {}

    void call_before_first_include(std::function<void()> call) { includes_.call_before_first_open(std::move(call)); }

    // Whole lines of the main file (line numbers count) or of an include (they do not), in order.
    void lines(std::string_view text, bool main_file, std::string_view folder, int depth);

    // The lines of the main file that a first look marked, in order; text is the block of lines
    // they stand in, which follows line first_line; last_line is the number of the last line the
    // look went through.
    void marked_lines(const std::vector<marked_line>& marks, std::string_view text, std::uint64_t first_line,
                      std::uint64_t last_line, std::string_view folder);

    void finish()
    {
        if (open_procedure_ != no_procedure) {
            d_.procedures[open_procedure_].last_line = line_number_;
            sort_frame_names(d_.procedures[open_procedure_]);
        }
        if (comment_delimiter_ != '\0' && comment_kept_) {
            d_.comments.back().last_line = line_number_;  // a comment block the file never closes
        }
    }

private:
    static constexpr std::size_t no_procedure = ~std::size_t{0};

    std::uint32_t declare(std::string_view name) { return declare(make_word_key(name)); }

    std::uint32_t declare(const word_key& name)
    {
        const std::uint32_t entry = declare_name(name);
        if (entry != no_entry) {
            in_branch(entry);
        }
        return entry;
    }

    // A name declared in a branch the pass cannot decide may not exist, and its facts before are
    // kept to be compared once the line has declared it (in_branch_declared); a name declared
    // elsewhere exists.
    void in_branch(std::uint32_t entry)
    {
        name_facts& facts = d_.names.facts(entry);
        if (!conditionals_.undecided()) {
            facts.conditional = false;
            return;
        }
        if (facts.kind == declared::unknown) {
            facts.conditional = true;
        } else {
            redeclared_.push_back({entry, facts});
        }
    }

    std::uint32_t declare_name(const word_key& name)
    {
        bool written_alike = true;
        const std::uint32_t known = d_.names.find(name, written_alike);
        if (known != d_.names.none) {
            if (!written_alike && spelled_by_ideal_field(known)) {
                // An IDEAL field's own name is the structure's alone: the program's name is
                // spelled as the program declares it.
                d_.names.respell(known, name.text);
                ideal_field_spellings_[known] = false;
                return known;
            }
            d_.declared_in_another_case = d_.declared_in_another_case || !written_alike;
            return known;
        }
        return within_limit() ? d_.names.add_new(name) : no_entry;
    }

    bool spelled_by_ideal_field(std::uint32_t entry) const
    {
        return entry < ideal_field_spellings_.size() && ideal_field_spellings_[entry];
    }

    // count: what Tasm's length gives the variable, 0 when unknown.
    void declare_variable(std::string_view name, std::uint32_t bytes, std::uint32_t structure = no_entry,
                          std::uint32_t count = 0)
    {
        declare_variable(make_word_key(name), bytes, structure, count);
    }

    void declare_variable(const word_key& name, std::uint32_t bytes, std::uint32_t structure = no_entry,
                          std::uint32_t count = 0)
    {
        const std::uint32_t entry = declare(name);
        if (entry == no_entry) {
            return;
        }
        name_facts& facts = d_.names.facts(entry);
        facts.kind = declared::variable;
        facts.size = bytes;
        facts.structure = structure;
        facts.count = count;
        facts.segment = segment_;
        facts.external = false;
    }

    // A variable that extrn, global or comm names lies in no segment the declarations know.
    void declare_external_variable(std::string_view name, std::uint32_t bytes)
    {
        declare_variable(name, bytes);
        if (const std::uint32_t entry = d_.names.find(name); entry != d_.names.none) {
            d_.names.facts(entry).segment = no_entry;
            d_.names.facts(entry).external = true;
        }
    }

    // The number of the segment named name, given it here when it has none yet (assume and group
    // may name a segment before its segment line).
    std::uint32_t segment_number(std::string_view name)
    {
        const std::uint32_t known = d_.segment_names.find(name);
        if (known != d_.segment_names.none) {
            return d_.segment_names.facts(known);
        }
        if (!within_limit()) {
            return 0;
        }
        const std::uint32_t entry = d_.segment_names.add(name);
        const auto number = static_cast<std::uint32_t>(d_.segment_names.size());
        d_.segment_names.facts(entry) = number;
        return number;
    }

    // The number of the group named name (from 1), marked with group_target.
    std::uint32_t group_number(std::string_view name)
    {
        const std::uint32_t known = d_.group_names.find(name);
        if (known != d_.group_names.none) {
            return group_target | d_.group_names.facts(known);
        }
        if (!within_limit()) {
            return assumed_unknown;
        }
        const std::uint32_t entry = d_.group_names.add(name);
        const auto number = static_cast<std::uint32_t>(d_.group_names.size());
        d_.group_names.facts(entry) = number;
        return group_target | number;
    }

    // The segment numbered segment belongs to group (a group_number).
    void join_group(std::uint32_t segment, std::uint32_t group)
    {
        if (segment == 0 || group == assumed_unknown || !within_limit()) {
            return;
        }
        if (d_.segment_groups.size() <= segment) {
            d_.segment_groups.resize(std::size_t{segment} + 1, 0);
        }
        d_.segment_groups[segment] = group;
    }

    // name group segment, ...: the segments belong to the group.
    void group_line(std::string_view name, const statement_words& w, std::size_t first_member)
    {
        if (!is_name(name)) {
            return;
        }
        const std::uint32_t group = group_number(name);
        for (std::size_t n = first_member; n < w.size(); ++n) {
            if (is_name(w[n])) {
                join_group(segment_number(w[n]), group);
            }
        }
    }

    // What an assume names a register's target by: nothing, a group (DGROUP, @data or a group
    // line's name), the code segment (@code) or a segment; anything else (seg x) is unknown.
    std::uint32_t assume_target(std::string_view name)
    {
        if (equal_folded(name, "nothing")) {
            return assumed_nothing;
        }
        if (equal_folded(name, "@data") || equal_folded(name, "dgroup")) {
            return group_number("DGROUP");  // a model's, named or not
        }
        if (equal_folded(name, "@code")) {
            return code_segment_ != 0 ? code_segment_ : assumed_unknown;
        }
        if (!is_name(name)) {
            return assumed_unknown;
        }
        if (const std::uint32_t group = d_.group_names.find(name); group != d_.group_names.none) {
            return group_target | d_.group_names.facts(group);
        }
        const std::uint32_t segment = segment_number(name);
        return segment != 0 ? segment : assumed_unknown;
    }

    void set_assumed(std::size_t register_index, std::uint32_t target)
    {
        if (assumed_[register_index] == target) {
            return;
        }
        assumed_[register_index] = target;
        if (!within_limit()) {
            return;
        }
        if (!d_.assumes.empty() && d_.assumes.back().first_line == line_number_) {
            d_.assumes.back().targets = assumed_;
        } else {
            d_.assumes.push_back({line_number_, assumed_});
        }
    }

    // .code and codeseg: cs reaches the code segment. The data segments of a model (and in the
    // tiny model the code segment too) belong to DGROUP.
    void simplified_segment_entered(bool code, std::string_view directive)
    {
        const auto is = [&](std::string_view a, std::string_view b) {
            return equal_folded(directive, a) || equal_folded(directive, b);
        };
        set_section(code                         ? segment_section::text
                    : is(".data", "dataseg")     ? segment_section::data
                    : is(".data?", "udataseg")   ? segment_section::bss
                    : is(".const", "const")      ? segment_section::rodata
                                                 : segment_section::none);
        if (code) {
            code_segment_ = segment_;
            set_assumed(cs_register, segment_);
        }
        if (model_given_ && (code ? tiny_model_ : !is(".fardata", "fardata"))) {
            join_group(segment_, group_number("DGROUP"));
        }
    }

    // assume reg:target, ... (or "reg: target"), assume nothing.
    void assume_line(const statement_words& w)
    {
        for (std::size_t n = 1; n < w.size(); ++n) {
            const std::string_view item = w[n];
            if (equal_folded(item, "nothing")) {
                for (std::size_t r = 0; r < segment_registers.size(); ++r) {
                    set_assumed(r, assumed_nothing);
                }
                continue;
            }
            const std::size_t colon = item.find(':');
            if (colon == std::string_view::npos) {
                continue;
            }
            std::string_view target = item.substr(colon + 1);
            if (target.empty() && n + 1 < w.size()) {
                target = w[++n];
            }
            // A target of more than one word (seg x) is nothing the declarations can tell.
            bool one_word = true;
            while (n + 1 < w.size() && w[n + 1].find(':') == std::string_view::npos && !w.is(n + 1, "nothing")) {
                one_word = false;
                ++n;
            }
            const std::string_view named = item.substr(0, colon);
            for (std::size_t r = 0; r < segment_registers.size(); ++r) {
                if (equal_folded(named, segment_registers[r])) {
                    set_assumed(r, one_word ? assume_target(target) : assumed_unknown);
                }
            }
        }
    }

    void declare_procedure(std::string_view name, bool far, bool external = false)
    {
        const std::uint32_t entry = declare(name);
        if (entry != no_entry) {
            name_facts& facts = d_.names.facts(entry);
            facts.kind = declared::procedure;
            facts.far = far;
            facts.external = external;
            facts.segment = external ? no_entry : segment_;
        }
    }

    // Segments are numbered by name from 1: a segment opened again keeps its number.
    void enter_segment(std::string_view name) { set_segment(segment_number(name)); }

    void set_segment(std::uint32_t number)
    {
        segment_ = number;
        if (main_file_ && within_limit() && (d_.segments.empty() || d_.segments.back().segment != number)) {
            d_.segments.push_back({line_number_, number});
        }
    }

    void set_code_size(int bits)
    {
        if (!main_file_ || !within_limit()) {
            return;
        }
        // Set in a branch the pass cannot decide, the code size holds until one set elsewhere
        // (another branch may set another).
        const bool uncertain = conditionals_.undecided();
        if (d_.code_sizes.empty() || d_.code_sizes.back().bits != bits || d_.code_sizes.back().uncertain != uncertain) {
            d_.code_sizes.push_back({line_number_, bits, uncertain});
        }
    }

    // A processor, coprocessor, jumps or nojumps line: the .arch GNU As is to assemble for
    // changes there when the one it would need does.
    void set_processor(cpu_level cpu, fpu_level fpu, bool jumps)
    {
        cpu_ = cpu;
        fpu_ = fpu;
        jumps_ = jumps;
        if (!main_file_ || !within_limit()) {
            return;
        }
        arch_change wanted{line_number_, jumps ? cpu : cpu_level::any, fpu};
        if (wanted.cpu == cpu_level::any) {
            wanted.fpu = fpu_level::i8087;
        }
        const arch_change now = d_.arches.empty() ? arch_change{} : d_.arches.back();
        if (wanted.cpu != now.cpu || wanted.fpu != now.fpu) {
            d_.arches.push_back(wanted);
        }
    }

    void processor_line(const processor_row& row)
    {
        switch (row.word) {
        case processor_word::cpu:
            set_processor(row.cpu, std::max(fpu_, row.fpu), jumps_);
            break;
        case processor_word::fpu:
            set_processor(cpu_, row.fpu, jumps_);
            break;
        case processor_word::jumps:
        case processor_word::nojumps:
            set_processor(cpu_, fpu_, row.word == processor_word::jumps);
            break;
        }
    }

    void set_mode(bool ideal)
    {
        if (main_file_ && within_limit() && (d_.modes.empty() || d_.modes.back().ideal != ideal)) {
            d_.modes.push_back({line_number_, ideal});
        }
        ideal_ = ideal;
    }

    // A non-local label outside procedures opens a new scope for the @@ labels after it. A scope
    // is kept only once an @@ label is used in it, so that memory grows with the scopes that
    // hold local labels, not with the labels of the file.
    void open_scope(std::string_view name)
    {
        if (opens_scopes() && !is_local_label(name)) {
            open_scope_of(declare(name));
        }
    }

    // A label in a branch the pass cannot decide opens none: the lines after the block go on in
    // the scope before it, as they do where Tasm does not assemble the branch.
    bool opens_scopes() const
    {
        return main_file_ && open_procedure_ == no_procedure && !conditionals_.undecided();
    }

    void open_scope_of(std::uint32_t entry)
    {
        pending_scope_ = {line_number_, entry, scope_count_++};
        scope_pending_ = true;
    }

    // name: is a code label, and opens a scope for the @@ labels after it.
    void code_label(std::string_view name) { code_label(make_word_key(name)); }

    void code_label(const word_key& name)
    {
        if (is_local_label(name.text)) {
            local_label(name.text);
            return;
        }
        const std::uint32_t entry = declare(name);
        if (entry != no_entry && d_.names.facts(entry).kind == declared::unknown) {
            d_.names.facts(entry).kind = declared::label;
            d_.names.facts(entry).segment = segment_;
        }
        if (opens_scopes()) {
            open_scope_of(entry);
        }
    }

    void open_scope_without_name(std::uint64_t first_line)
    {
        pending_scope_ = {first_line, no_entry, scope_count_++};
        scope_pending_ = true;
    }

    // @@name: defines the label in the scope the line stands in, spelled as written here.
    void local_label(std::string_view name)
    {
        if (main_file_ && within_limit()) {
            char key[local_label_key_room];
            if (const std::string_view defined = local_label_key(pending_scope_.ordinal, name, key); !defined.empty()) {
                d_.local_labels.add(defined);
            }
        }
    }

    // The line uses an @@ label: its scope is kept.
    void use_local_labels()
    {
        if (main_file_ && scope_pending_ && within_limit()) {
            d_.scopes.push_back(pending_scope_);
            scope_pending_ = false;
        }
    }

    // Everything the pass keeps (names, the facts of lines, what include lines declare) together
    // stays below the limit, and the texts it keeps below max_kept_text: so that no input makes
    // it keep more, however often it includes the same file.
    bool within_limit()
    {
        const std::size_t held = d_.names.size() + d_.local_labels.size() + d_.procedures.size() + d_.scopes.size() +
                                 d_.code_sizes.size() + d_.modes.size() + d_.arches.size() + d_.frame_names.size() +
                                 d_.segments.size() +
                                 d_.structures.size() + d_.fields.size() + d_.bit_fields.size() +
                                 d_.text_equates.size() + d_.includes.size() + d_.include_items.size() +
                                 d_.frame_list_lines.size() + d_.comments.size() + d_.assumes.size() +
                                 d_.name_tests.size() + d_.skipped.size() +
                                 d_.group_names.size() + d_.segment_groups.size() + d_.segment_sections.size();
        if (held < d_.limit && d_.text.size() < max_kept_text) {
            return true;
        }
        if (!d_.truncated) {
            d_.truncated = true;
            d_.limit_line = line_number_;
        }
        return false;
    }

    void begin_procedure(std::string_view name, std::string_view distance)
    {
        const bool far = is_distance(distance) ? equal_folded(distance, "far") : far_by_model_here();
        const name_facts* known = d_.find(name);
        const bool declared_before = known != nullptr && known->kind == declared::procedure;
        declare_procedure(name, far);
        if (!is_distance(distance)) {
            distance_by_model(name);
        }
        // Another proc line for a procedure, which Tasm does not assemble where nothing is defined
        // outside the file, leaves the lines after it in the procedure the first line began.
        if (!main_file_ || (declared_before && conditionals_.outside_default())) {
            return;
        }
        finish();
        if (!within_limit()) {
            open_procedure_ = no_procedure;
            return;
        }
        open_procedure_ = d_.procedures.size();
        d_.procedures.push_back({line_number_, line_number_, d_.names.find(name), far});
        pending_scope_ = {line_number_, d_.names.find(name), scope_count_++};
        scope_pending_ = true;
    }

    void end_procedure()
    {
        if (!main_file_ || open_procedure_ == no_procedure) {
            return;
        }
        d_.procedures[open_procedure_].last_line = line_number_;
        sort_frame_names(d_.procedures[open_procedure_]);
        open_procedure_ = no_procedure;
        // What follows a procedure, up to the next label, is a scope of its own.
        open_scope_without_name(line_number_ + 1);
    }

    // A procedure's frame names are searched by halving: kept in order once it ends.
    void sort_frame_names(const procedure_span& procedure)
    {
        const auto first = d_.frame_names.begin() + procedure.first_frame_name;
        std::sort(first, first + procedure.frame_name_count);
    }

    bool far_by_model_here() const { return d_.far_by_model && simplified_segment_; }

    // A procedure whose distance the model gives, where a model line stands in a branch the pass
    // cannot decide: its distance is not known, as if the branches declared it otherwise.
    void distance_by_model(std::string_view name)
    {
        if (!model_undecided_) {
            return;
        }
        if (const std::uint32_t entry = d_.names.find(name); entry != d_.names.none) {
            d_.names.facts(entry).conflicting = true;
            d_.conflicting_names = true;
        }
    }

    // struc or union: a new structure, or (inside one) a block nested in it, whose fields the
    // declarations do not place: from there on the structure's offsets and size are unknown.
    void begin_structure(std::string_view name, bool is_union)
    {
        if (in_structure_) {
            ++nested_blocks_;
            structure_length_known_ = false;
            if (structure_ != no_entry) {
                d_.names.facts(structure_).value |= layout_nested;
                d_.names.facts(structure_).size = 0;
            }
            return;
        }
        structure_ = declare(name);
        structure_blocks_ = conditionals_.depth();
        if (main_file_ && within_limit()) {
            d_.structures.push_back({line_number_, line_number_, structure_});
            open_structure_span_ = true;
        }
        if (structure_ != no_entry) {
            name_facts& facts = d_.names.facts(structure_);
            facts.kind = declared::structure;
            facts.first_field = static_cast<std::uint32_t>(d_.fields.size());
            facts.field_count = 0;
            facts.size = 0;
            facts.value = is_union ? layout_union : layout_struc;
        }
        in_structure_ = true;
        nested_blocks_ = 0;
        structure_length_known_ = true;
    }

    // The bytes of one value of a field declared with word: a data directive's, or those of a
    // structure or record declared before (a field that is an instance of one); 0 for another word.
    std::uint32_t field_unit(std::string_view word) const
    {
        if (const std::uint32_t bytes = bytes_of(word); bytes > 0) {
            return bytes;
        }
        const name_facts* type = d_.find(word);
        if (type == nullptr || type->size == 0 ||
            !(type->kind == declared::record || (type->kind == declared::structure && type->value != layout_nested))) {
            return 0;
        }
        return type->size;
    }

    void field(const statement_words& w, const source_line& line)
    {
        if (structure_ == no_entry) {
            return;
        }
        const std::string_view directive = line.mnemonic;
        const std::uint32_t each = field_unit(directive);
        const bool typed = bytes_of(directive) == 0;  // an instance of a structure or a record
        std::string_view value;
        if (!line.operands.empty()) {
            const std::size_t begin = static_cast<std::size_t>(line.operands.front().data() - line.text.data());
            const std::size_t end =
                static_cast<std::size_t>(line.operands.back().data() - line.text.data()) + line.operands.back().size();
            value = trim_trailing_blanks(line.text.substr(begin, end - begin));
        }
        // Every field of a union lies at 0; in a struc the offset of every field after one of
        // unknown length is unknown too.
        const bool in_union = d_.names.facts(structure_).value == layout_union;
        const std::uint32_t offset = !structure_length_known_ ? unknown_offset
                                     : in_union              ? 0
                                                             : d_.names.facts(structure_).size;
        std::uint64_t length = each;
        if (typed) {
            length = std::uint64_t{count_of_instances(value, d_)} * each;
            structure_length_known_ = structure_length_known_ && length > 0;
        } else if (!value.empty() && !length_of_values(value, each, d_, length)) {
            structure_length_known_ = false;
        }
        // A field in a branch of the structure's own that the pass cannot decide may or may not
        // be there: the fields after it lie where nobody knows.
        if (conditionals_.undecided_within(structure_blocks_)) {
            structure_length_known_ = false;
        }
        std::uint32_t entry = no_entry;
        if (!w.label().empty()) {
            // Declared first: a new name may move every entry, the structure's included. The field
            // is known by its own name (MASM) and as structure.field (IDEAL).
            qualified_.assign(d_.names.name(structure_)).append(".").append(w.label());
            const std::uint32_t qualified = declare(qualified_);
            const std::size_t names_before = d_.names.size();
            entry = declare(w.label());
            if (ideal_ && entry != no_entry && d_.names.size() > names_before) {
                // Declared by the field alone: a later declaration of the name may spell it.
                ideal_field_spellings_.resize(d_.names.size(), false);
                ideal_field_spellings_[entry] = true;
            }
            for (const std::uint32_t known : {qualified, entry}) {
                if (known != no_entry) {
                    name_facts& facts = d_.names.facts(known);
                    facts.kind = declared::field;
                    facts.size = each;
                    facts.structure = structure_;
                    facts.offset = offset;
                }
            }
            record({include_item_kind::field, d_.keep(w.label()), {}, structure_, offset});
        }
        // A field without a name is kept too: an instance lays out its default in its room.
        name_facts& owner = d_.names.facts(structure_);
        d_.fields.push_back({entry, offset, each, d_.keep(directive), d_.keep(value)});
        // The fields of a structure are kept together, so a structure that another's fields
        // interrupt keeps only its first run.
        if (owner.first_field + owner.field_count + 1 == d_.fields.size()) {
            ++owner.field_count;
        }
        // A structure of unknown length has size 0, the size of nothing known. A union is as
        // long as its longest field.
        if (structure_length_known_ && in_union) {
            owner.size = std::max(owner.size, static_cast<std::uint32_t>(length));
        } else if (structure_length_known_ && owner.size + length <= UINT32_MAX) {
            owner.size += static_cast<std::uint32_t>(length);
        } else {
            structure_length_known_ = false;
            owner.size = 0;
        }
    }

    // name segment [align] [combine] [use16|use32] ['class']: 16-bit code unless it says use32.
    void begin_segment(const statement_words& w)
    {
        int bits = 16;
        for (std::size_t n = 2; n < w.size(); ++n) {
            bits = w.is(n, "use32") ? 32 : w.is(n, "use16") ? 16 : bits;
        }
        simplified_segment_ = false;
        segment_bits_.push_back(bits);
        outer_segments_.push_back(segment_);
        set_code_size(bits);
        const std::string_view name = w.is(0, "segment") ? w[1] : w[0];
        enter_segment(name);
        bool bss = equal_folded(name, "_bss");
        for (std::size_t n = 2; n < w.size(); ++n) {
            const std::string_view word = w[n];
            bss = bss || (word.size() >= 5 && is_quote(word.front()) && word.back() == word.front() &&
                          equal_folded(word.substr(word.size() - 4, 3), "bss"));
        }
        set_section(bss ? segment_section::named_bss : segment_section::named);
    }

    // How the segment the lines stand in was opened.
    void set_section(segment_section section)
    {
        if (segment_ == 0 || !within_limit()) {
            return;
        }
        if (d_.segment_sections.size() <= segment_) {
            d_.segment_sections.resize(std::size_t{segment_} + 1, segment_section::none);
        }
        d_.segment_sections[segment_] = section;
    }

    // ends closes the structure being declared, or else the innermost segment.
    void end_structure_or_segment()
    {
        if (in_structure_ && nested_blocks_ > 0) {
            --nested_blocks_;
        } else if (in_structure_) {
            in_structure_ = false;
            if (main_file_ && open_structure_span_) {
                d_.structures.back().last_line = line_number_;
                open_structure_span_ = false;
            }
        } else if (!segment_bits_.empty()) {
            segment_bits_.pop_back();
            set_code_size(segment_bits_.empty() ? model_bits_ : segment_bits_.back());
            set_segment(outer_segments_.empty() ? 0 : outer_segments_.back());
            if (!outer_segments_.empty()) {
                outer_segments_.pop_back();
            }
        }
    }

    // name label type (or name equ this type): a code label of that distance, or a variable of
    // that size, where the line stands.
    void label_line(std::string_view name, std::string_view type)
    {
        if (is_code_type(type)) {
            declare_procedure(name, equal_folded(type, "far"));
            open_scope(name);
        } else if (const std::uint32_t bytes = bytes_of(type); bytes > 0) {
            declare_variable(name, bytes);
        }
    }

    void include(std::string_view name, std::string_view folder, int depth);
    void record_line(std::string_view name, std::string_view fields);
    void text_equate_line(std::string_view name, std::string_view value);
    bool equate_of_a_text(std::string_view name, std::string_view verb, std::string_view other);
    bool equate_of_a_variable(std::string_view name, std::string_view verb, std::string_view other);
    void frame_list(std::string_view list, bool typed_only, bool local = false);
    void open_frame_list(std::string_view statement);
    bool frame_list_goes_on(std::string_view text);
    void frame_name(std::string_view word);
    void record(include_item item);
    void not_only_declarations();

    // The marked lines of text, which follows line first_line: each line that is neither empty,
    // nor a comment, nor (in the main file) an instruction, nor inside a comment block.
    void take(const std::vector<marked_line>& marks, std::string_view text, std::uint64_t first_line, bool main_file,
              std::string_view folder, int depth);
    const char* comment_block(const marked_line& mark, std::string_view text, bool main_file);
    const char* close_comment_block(std::string_view text, const char* from, const char* line_start,
                                    std::uint64_t line, bool main_file);
    void statement(std::string_view text, const char* readable_end, bool uses_local_labels, bool main_file,
                   std::string_view folder, int depth);
    bool first_column_declaration(std::string_view text, const char* readable_end);
    void declaring_line(std::string_view folder, int depth);

    void directive_line(const statement_words& w, const source_line& line, std::string_view folder, int depth);

    // A name's facts before a line declared it again in a branch the pass cannot decide.
    struct redeclaration {
        std::uint32_t entry;
        name_facts before;
    };

    void in_branch_declared();
    bool conditional_line(std::string_view text);
    decision decide(condition_test test, std::string_view condition) const;
    decision defined(std::string_view name) const;
    void name_test_line(std::string_view name);
    void skipped_lines_change();
    void open_block(const conditional_row& row, std::string_view condition, decision d);
    bool guards_block(const source_line& line) const;
    bool declared_nowhere(std::string_view name) const;
    void follow_segments_in_blocks(conditional_step step);
    void statement_in_branch(std::string_view text, const char* readable_end, bool uses_local_labels, bool main_file,
                             std::string_view folder, int depth);

    program_declarations& d_;
    conditional_blocks conditionals_;
    std::vector<redeclaration> redeclared_;  // by the line being read
    // The segments where each conditional block the pass follows began.
    struct segment_state {
        std::vector<int> bits;
        std::vector<std::uint32_t> outer;
        std::uint32_t segment;
        bool simplified;
    };
    std::vector<segment_state> block_segments_;
    bool guard_pending_ = false;            // the line before opened ifndef guard_, undecided
    std::string guard_;
    source_line source_;
    statement_words words_;
    std::uint64_t line_number_ = 0;
    bool main_file_ = true;
    bool ideal_ = false;
    bool simplified_segment_ = true;        // .code / codeseg rather than a segment ... ends
    int model_bits_ = 16;
    bool model_undecided_ = false;          // a model line stands in a branch the pass cannot decide
    cpu_level cpu_ = cpu_level::i8086;      // the processor selected (Tasm's default: the 8086)
    fpu_level fpu_ = fpu_level::i8087;      // and the coprocessor
    bool jumps_ = false;                    // jumps is in force
    std::vector<int> segment_bits_;         // the open segments' code sizes
    std::vector<std::uint32_t> outer_segments_;  // the segments that open ones interrupt
    std::uint32_t segment_ = 0;             // the segment the line stands in
    std::array<std::uint32_t, segment_registers.size()> assumed_{};  // what each register reaches
    std::vector<bool> ideal_field_spellings_;  // by entry: spelled by an IDEAL field's name alone
    bool model_given_ = false;              // a model line (not flat) makes DGROUP
    bool tiny_model_ = false;               // its code lies in DGROUP too
    std::uint32_t code_segment_ = 0;        // the segment .code or codeseg entered last
    std::size_t open_procedure_ = no_procedure;
    bool in_structure_ = false;
    std::uint32_t nested_blocks_ = 0;       // struc and union blocks open inside the structure
    std::uint64_t open_frame_list_ = 0;     // the line of an arg or local list that ends in a comma
    bool open_frame_list_local_ = false;
    bool structure_length_known_ = true;    // every field of the open structure so far
    std::size_t structure_blocks_ = 0;      // the conditional blocks open where it began
    bool open_structure_span_ = false;
    std::string qualified_;                 // structure.field, built for each field
    char comment_delimiter_ = '\0';         // what closes the comment block the lines stand in
    bool comment_kept_ = false;             // the open block of the main file has its span in comments
    bool recording_ = false;                // the lines read belong to an include line of the main file
    bool recorded_ = false;                 // the line read declared something the include keeps
    std::uint32_t structure_ = no_entry;
    local_scope pending_scope_;             // the scope the lines stand in, until it is kept
    bool scope_pending_ = true;             // the scope before the first label: .Lfile
    std::uint32_t scope_count_ = 1;         // 0 is the scope before the first label
    include_guard includes_;
    std::uint64_t included_bytes_ = 0;      // read from included files so far
    std::uint64_t included_files_ = 0;      // looked for so far, found or not
    bool include_cut_ = false;              // a file the include line being read names was not read to its end
};

// name record field:width [= default], ...: the record, as wide as its fields together and a
// byte, word or dword long; its fields, the last in the lowest bits, each named for its shift
// count. A line of another shape, or one inside a structure, declares nothing (its uses stay
// for a hand).
void collector::record_line(std::string_view name, std::string_view fields)
{
    std::array<written_bit_field, max_bit_fields> written;
    const std::size_t count = read_bit_fields(fields, d_, written);
    if (count == 0 || !is_name(name) || in_structure_ || !within_limit()) {
        return;
    }
    std::uint32_t width = 0;
    for (std::size_t n = 0; n < count; ++n) {
        width += written[n].width;
    }
    const auto first = static_cast<std::uint32_t>(d_.bit_fields.size());
    std::uint32_t shift = width;
    for (std::size_t n = 0; n < count; ++n) {
        shift -= written[n].width;
        std::uint32_t entry = declare(written[n].name);
        if (entry != no_entry && d_.names.facts(entry).kind != declared::unknown &&
            d_.names.facts(entry).kind != declared::bit_field) {
            entry = no_entry;  // a name declared otherwise keeps its meaning: the row names nothing
        }
        d_.bit_fields.push_back({entry, shift, written[n].width, written[n].has_default, written[n].default_value});
        if (entry != no_entry) {
            name_facts& facts = d_.names.facts(entry);
            facts.kind = declared::bit_field;
            facts.value = shift;
            facts.first_field = static_cast<std::uint32_t>(d_.bit_fields.size() - 1);
            record({include_item_kind::equate, d_.keep(written[n].name), d_.keep(std::to_string(shift))});
        }
    }
    const std::uint32_t entry = declare(name);
    if (entry == no_entry) {
        return;
    }
    name_facts& facts = d_.names.facts(entry);
    facts.kind = declared::record;
    facts.size = width <= 8 ? 1 : width <= 16 ? 2 : 4;
    facts.value = width;
    facts.first_field = first;
    facts.field_count = static_cast<std::uint32_t>(d_.bit_fields.size()) - first;
    for (std::uint32_t n = first; n < d_.bit_fields.size(); ++n) {
        if (d_.bit_fields[n].name != no_entry) {
            d_.names.facts(d_.bit_fields[n].name).structure = entry;
        }
    }
}

// name equ other, name textequ other, where other has a text that makes name one: name takes that
// text as it is now.
bool collector::equate_of_a_text(std::string_view name, std::string_view verb, std::string_view other)
{
    const std::uint32_t known = d_.text_equate_names.find(other);  // none for an empty name
    if (known == d_.text_equate_names.none) {
        return false;
    }
    const std::string text(d_.view(d_.text_equates[d_.text_equate_names.facts(known)].value));  // kept anew below
    if (!takes_text_of_name(verb, text)) {
        return false;
    }
    text_equate_line(name, text);
    return true;
}

// name equ variable, the variable declared before: Tasm makes name another name for it, used as
// it is (mov ax, name loads the variable), which is the variable's name as a text.
bool collector::equate_of_a_variable(std::string_view name, std::string_view verb, std::string_view other)
{
    const name_facts* facts = other.empty() || !equal_folded(verb, "equ") ? nullptr : d_.find(other);
    if (facts == nullptr || facts->kind != declared::variable) {
        return false;
    }
    text_equate_line(name, other);
    return true;
}

void collector::text_equate_line(std::string_view name, std::string_view value)
{
    if (!within_limit()) {
        return;
    }
    const std::uint32_t known = d_.text_equate_names.find(name);
    const std::uint32_t earlier = known == d_.text_equate_names.none ? no_entry : d_.text_equate_names.facts(known);
    const auto index = static_cast<std::uint32_t>(d_.text_equates.size());
    const bool in_branch = conditionals_.undecided();
    const bool conflicting = in_branch && earlier != no_entry && d_.view(d_.text_equates[earlier].value) != value;
    d_.conflicting_names = d_.conflicting_names || conflicting;
    // Where nothing is defined outside the file, the text before goes on (marked where it differs).
    const text_span text = conflicting && conditionals_.outside_default() ? d_.text_equates[earlier].value
                                                                          : d_.keep(value);
    d_.text_equates.push_back({line_number_, text, earlier, in_branch, conflicting});
    d_.text_equate_names.facts(d_.text_equate_names.add(name)) = index;
}

// arg count:word, buf[10]:byte = size; local tmp, @@x:dword; arg a:word returns r:word; and the
// arguments on a proc line (p proc c near a:word, b:word): the names the procedure gives stack
// slots. An item's first word names one (on a proc line only a word with its type after ":"
// does, past the language, distance and uses list), and so does the word after "returns" and
// the one after "=", which names the frame's size.
void collector::frame_list(std::string_view list, bool typed_only, bool local)
{
    open_frame_list_local_ = local;
    for (std::size_t item = 0; item <= list.size();) {
        const std::size_t end = std::min(list.find(',', item), list.size());
        bool names = !typed_only;
        for (std::size_t at = skip_blanks(list, item); at < end;) {
            if (list[at] == '=') {
                names = true;
                at = skip_blanks(list, at + 1);
                continue;
            }
            const std::size_t word_end = find_from(list, at, [](char c) { return is_blank(c) || c == '=' || c == ','; });
            const std::string_view word = list.substr(at, word_end - at);
            if (equal_folded(word, "returns")) {
                names = !typed_only;
            } else {
                if (names || word.find(':') != std::string_view::npos) {
                    frame_name(word);
                }
                names = false;
            }
            at = skip_blanks(list, word_end);
        }
        item = end + 1;
    }
}

// A list that ends in a comma (statement: the line without its comment) goes on on the next line.
void collector::open_frame_list(std::string_view statement)
{
    std::string_view trimmed = trim_blanks(statement);
    if (!trimmed.empty() && trimmed.back() == '\r') {
        trimmed = trim_blanks(trimmed.substr(0, trimmed.size() - 1));
    }
    const bool open = !trimmed.empty() && trimmed.back() == ',' && main_file_ && open_procedure_ != no_procedure;
    open_frame_list_ = open ? line_number_ : 0;
}

// The line after an arg or local list that ends in a comma holds more of the list: its names
// are taken, and the line is kept for the conversion to leave for a hand.
bool collector::frame_list_goes_on(std::string_view text)
{
    if (open_frame_list_ == 0 || open_frame_list_ + 1 != line_number_ || !main_file_) {
        return false;
    }
    std::size_t end = 0;
    for (char quote = '\0'; end < text.size() && (quote != '\0' || text[end] != ';'); ++end) {
        quote = quote == '\0' && is_quote(text[end]) ? text[end] : quote == text[end] ? '\0' : quote;
    }
    if (within_limit()) {
        d_.frame_list_lines.push_back({line_number_, open_frame_list_local_});
    }
    frame_list(text.substr(0, end), false, open_frame_list_local_);
    open_frame_list(text.substr(0, end));
    return true;
}

void collector::frame_name(std::string_view word)
{
    const std::string_view name = frame_name_in(word);
    if (name.empty() || !main_file_ || open_procedure_ == no_procedure || !within_limit()) {
        return;
    }
    procedure_span& procedure = d_.procedures[open_procedure_];
    if (procedure.frame_name_count == 0) {
        procedure.first_frame_name = static_cast<std::uint32_t>(d_.frame_names.size());
    }
    d_.frame_names.push_back(d_.frame_name_table.add(name));
    ++procedure.frame_name_count;
}

void collector::include(std::string_view name, std::string_view folder, int depth)
{
    // An include line of the main file keeps what its file (and the files that one includes)
    // declares, for the include line's own conversion.
    const bool top = main_file_;
    const bool truncated_before = d_.truncated;
    if (top) {
        include_cut_ = false;
    }
    if (top && within_limit()) {
        d_.includes.push_back({line_number_, static_cast<std::uint32_t>(d_.include_items.size()), 0, false, true});
        recording_ = true;
    }
    std::string found_folder;
    // Once nothing more can be kept, or once the includes have taken their budget of bytes or of
    // files, a file is not read again (its include line reads as one that cannot be read):
    // however often files are included, the pass ends.
    const bool within_budget = included_bytes_ < d_.include_budget && included_files_ < d_.include_file_budget;
    if (!within_budget) {
        include_cut_ = true;
    }
    int fd = -1;
    if (within_limit() && within_budget) {
        ++included_files_;  // a look for a file that is missing costs as much (a folder is read)
        fd = includes_.open(name, folder, depth, found_folder);
    }
    if (fd >= 0) {
        // A comment block that the included file leaves open ends with the file.
        const char open_comment = std::exchange(comment_delimiter_, '\0');
        if (top && recording_) {
            d_.includes.back().found = true;
        }
        main_file_ = false;
        block_reader reader(fd);
        line_block block;
        while (reader.next(block) == block_reader::result::block) {
            if (included_bytes_ >= d_.include_budget) {
                include_cut_ = true;  // the rest of the file is not read
                break;
            }
            included_bytes_ += block.size;
            lines(block.text(), false, found_folder, depth + 1);
        }
        includes_.close(fd);
        main_file_ = top;
        comment_delimiter_ = open_comment;
    }
    if (top && recording_) {
        include_span& span = d_.includes.back();
        span.item_count = static_cast<std::uint32_t>(d_.include_items.size()) - span.first_item;
        // A file whose declarations did not all fit, or that was not read to its end, reads as
        // one that cannot be read: its include line declares none of them rather than some.
        span.found = span.found && !(d_.truncated && !truncated_before) && !include_cut_;
        recording_ = false;
    }
}

void collector::record(include_item item)
{
    if (recording_ && within_limit()) {
        d_.include_items.push_back(item);
        recorded_ = true;
    }
}

void collector::not_only_declarations()
{
    if (recording_) {
        d_.includes.back().declarations_only = false;
    }
}

void collector::directive_line(const statement_words& w, const source_line& line, std::string_view folder, int depth)
{
    const std::string_view first = w[0];
    // Directives without a name before them.
    if (equal_folded(first, "ideal")) {
        set_mode(true);
    } else if (equal_folded(first, "masm")) {
        set_mode(false);
    } else if (const processor_row* processor = processor_table.find(first); processor != nullptr) {
        processor_line(*processor);
    } else if (equal_folded(first, "model") || equal_folded(first, ".model")) {
        const std::string_view model = w[1];
        model_undecided_ = model_undecided_ || conditionals_.undecided();
        if (equal_folded(model, "flat")) {
            model_bits_ = 32;
            set_code_size(32);
        } else {
            // The data segments make DGROUP, which ds and ss reach (ss unless the stack is far).
            model_given_ = true;
            tiny_model_ = equal_folded(model, "tiny");
            const std::uint32_t data_group = group_number("DGROUP");
            set_assumed(ds_register, data_group);
            bool far_stack = false;
            for (std::size_t n = 2; n < w.size(); ++n) {
                far_stack = far_stack || w.is(n, "farstack");
            }
            set_assumed(ss_register, far_stack ? assumed_unknown : data_group);
        }
        for (const std::string_view far_model : far_models) {
            d_.far_by_model = d_.far_by_model || equal_folded(model, far_model);
        }
    } else if (equal_folded(first, ".code") || equal_folded(first, "codeseg") || equal_folded(first, ".data") ||
               equal_folded(first, "dataseg") || equal_folded(first, ".data?") || equal_folded(first, "udataseg") ||
               equal_folded(first, ".const") || equal_folded(first, "const") || equal_folded(first, ".stack") ||
               equal_folded(first, "stack") || equal_folded(first, ".fardata") || equal_folded(first, "fardata")) {
        simplified_segment_ = true;
        segment_bits_.clear();
        outer_segments_.clear();
        set_code_size(model_bits_);
        // .code [name] and codeseg [name]: one code segment for the module unless named.
        const bool code = equal_folded(first, ".code") || equal_folded(first, "codeseg");
        const std::string_view named = w[1];
        enter_segment(code ? (named.empty() ? std::string_view("_TEXT") : named) : first);
        simplified_segment_entered(code, first);
    } else if (equal_folded(first, "include")) {
        std::string_view name = line.after_directive_word();
        if (name.size() >= 2 && (name.front() == '"' || name.front() == '\'' || name.front() == '<')) {
            name = name.substr(1, name.size() - 2);
        }
        include(name, folder, depth);
    } else if (equal_folded(first, "extrn") || equal_folded(first, "extern") || equal_folded(first, "global")) {
        // extrn name:type, name:type ...
        for (std::size_t n = 1; n < w.size(); ++n) {
            const std::string_view item = without_trailing_comma(w[n]);
            const std::size_t colon = item.find(':');
            if (colon == std::string_view::npos) {
                continue;
            }
            const std::string_view name = item.substr(0, colon);
            const std::string_view type = item.substr(colon + 1);
            if (equal_folded(first, "global")) {
                record({include_item_kind::global, d_.keep(name), {}});
            }
            // global names what this file defines (public) or what another does (extrn): a
            // definition here wins, before or after.
            const name_facts* known = d_.find(name);
            if (equal_folded(first, "global") && known != nullptr && known->kind != declared::unknown) {
                continue;
            }
            if (is_code_type(type)) {
                declare_procedure(name, equal_folded(type, "far") || (equal_folded(type, "proc") && d_.far_by_model),
                                  true);
                if (equal_folded(type, "proc")) {
                    distance_by_model(name);
                }
            } else if (const std::uint32_t bytes = bytes_of(type); bytes > 0) {
                declare_external_variable(name, bytes);
            }
        }
    } else if (equal_folded(first, "comm")) {
        // comm name:type[:count], ...: variables that the linker lays out, once for every module
        // that names them.
        const std::string_view list = line.after_directive_word();
        for (std::size_t begin = 0; begin <= list.size();) {
            const std::size_t comma = std::min(list.find(',', begin), list.size());
            if (communal variable; read_communal(list.substr(begin, comma - begin), d_, variable)) {
                declare_external_variable(variable.name, variable.unit);
            }
            begin = comma + 1;
        }
    } else if (equal_folded(first, "public")) {
        for (std::size_t n = 1; n < w.size(); ++n) {
            record({include_item_kind::global, d_.keep(without_trailing_comma(w[n])), {}});
        }
        recorded_ = true;
    } else if (equal_folded(first, "proc") && ideal_) {
        begin_procedure(w[1], w[2]);
        open_scope(w[1]);
        frame_list(line.after_directive_word(), true);
        open_frame_list(statement_of(line));
    } else if (equal_folded(first, "arg") || equal_folded(first, "local")) {
        frame_list(line.after_directive_word(), false, equal_folded(first, "local"));
        open_frame_list(statement_of(line));
    } else if (equal_folded(first, "endp")) {
        end_procedure();
    } else if (equal_folded(first, "assume")) {
        assume_line(w);
    } else if (equal_folded(first, "group") && ideal_) {
        group_line(w[1], w, 2);  // IDEAL's group name segment, ...
    } else if ((equal_folded(first, "struc") || equal_folded(first, "struct") || equal_folded(first, "union")) &&
               (ideal_ || in_structure_)) {
        // IDEAL's struc name, union name; and in either mode a block nested in a structure.
        begin_structure(w[1], equal_folded(first, "union"));
    } else if (equal_folded(first, "record") && ideal_) {
        // record name field:width, ...
        const std::string_view rest = line.after_directive_word();
        const std::size_t name_end = find_from(rest, 0, [](char c) { return is_blank(c); });
        record_line(rest.substr(0, name_end), rest.substr(name_end));
    } else if (equal_folded(first, "ends")) {
        end_structure_or_segment();
    } else if (equal_folded(first, "segment") && ideal_) {
        begin_segment(w);
    } else if (equal_folded(first, "label") && ideal_) {
        if (is_code_type(w[2])) {
            declare_procedure(w[1], w.is(2, "far"));
            open_scope(w[1]);
        } else if (const std::uint32_t bytes = bytes_of(w[2]); bytes > 0) {
            declare_variable(w[1], bytes);
        }
    }
}

// The words that directive_line acts on, and those bytes_of knows, name no instruction: a line
// that begins with an instruction declares nothing.
constexpr std::array<std::string_view, 33> directive_words{
    "ideal", "masm", "model", ".model", ".code", "codeseg", ".data", "dataseg", ".data?", "udataseg", ".const",
    "const", ".stack", "stack", ".fardata", "fardata", "include", "extrn", "extern", "global", "public", "proc",
    "endp", "struc", "struct", "ends", "segment", "label", "union", "record", "assume", "group", "comm",
};

constexpr bool names_no_instruction(std::string_view word)
{
    const std::size_t row = mnemonic_table.find_index(make_word_key(word));
    return row == mnemonic_table.not_found || !names_instruction(mnemonic_table.rows()[row].kind);
}

constexpr bool declaring_words_name_no_instruction()
{
    for (const std::string_view word : directive_words) {
        if (!names_no_instruction(word)) {
            return false;
        }
    }
    for (const size_row& row : size_table) {
        if (!names_no_instruction(row.name)) {
            return false;
        }
    }
    return true;
}
static_assert(declaring_words_name_no_instruction(), "an instruction line would declare something");

// db, dw, dd and the other data directives, in any case (byte and the other types are no
// directive a statement begins with).
bool is_data_directive(std::string_view word)
{
    return !word.empty() && fold_case(word[0]) == 'd' && bytes_of(word) > 0;
}

// Where the lines of a text use "@@" (lines never split one): searched for once for the text, and
// again only when a line asked about lies past the one found.
class local_label_uses {
public:
    explicit local_label_uses(std::string_view text) : text_(text), next_(next_from(text.data())) {}

    // Whether line, a line of the text that comes after every line asked about before, holds "@@".
    bool in(std::string_view line)
    {
        const char* line_end = line.data() + line.size();
        if (next_ >= line_end) {
            return false;
        }
        if (next_ < line.data()) {
            next_ = next_from(line.data());
        }
        return next_ < line_end;
    }

private:
    // The first "@@" at or after from, or the end of the text.
    const char* next_from(const char* from) const
    {
        const std::size_t at = text_.find("@@", static_cast<std::size_t>(from - text_.data()));
        return at == std::string_view::npos ? text_.data() + text_.size() : text_.data() + at;
    }

    std::string_view text_;
    const char* next_;
};

// The first look at the lines of a text: marks the lines the collector takes, and returns the
// number of the last line (counted in the main file, not in an include).
template <bool main_file>
std::uint64_t look_at_lines(std::string_view text, std::uint64_t line_number, std::vector<marked_line>& marks)
{
    marks.clear();
    const char* const readable_end = text.data() + text.size();
    local_label_uses local_labels(text);
    for_each_line(text, [&](std::string_view line) {
        if constexpr (main_file) {
            ++line_number;
        }
        // An empty line or a comment declares nothing. Most other lines of a program are
        // instructions, which declare nothing either: only an @@ label they use keeps the scope
        // they stand in. (In an include, an instruction also tells that the file holds more than
        // declarations.)
        if (line.empty() || line[0] == ';') {
            return;
        }
        if (main_file && is_white_space(line[0]) && indented_instruction(line, readable_end)) {
            if (local_labels.in(line)) {
                marks.push_back({line, line_number, false, true});
            }
            return;
        }
        marks.push_back({line, line_number, true, local_labels.in(line)});
    });
    return line_number;
}

std::uint64_t look_at_lines(std::string_view text, bool main_file, std::uint64_t line_number,
                            std::vector<marked_line>& marks)
{
    return main_file ? look_at_lines<true>(text, line_number, marks) : look_at_lines<false>(text, line_number, marks);
}

void collector::lines(std::string_view text, bool main_file, std::string_view folder, int depth)
{
    // An include is read while a line of the file that includes it is taken: it marks its lines
    // in a list of its own.
    std::vector<marked_line> marks;
    const std::uint64_t first_line = line_number_;
    const std::uint64_t last_line = look_at_lines(text, main_file, line_number_, marks);
    take(marks, text, first_line, main_file, folder, depth);
    line_number_ = last_line;
}

void collector::marked_lines(const std::vector<marked_line>& marks, std::string_view text, std::uint64_t first_line,
                             std::uint64_t last_line, std::string_view folder)
{
    take(marks, text, first_line, true, folder, 0);
    line_number_ = last_line;
}

namespace {

// The word "comment", blanks and the character that will close the block, at the start of a
// line; or no character.
char comment_block_delimiter(std::string_view line)
{
    const std::size_t word = skip_blanks(line, 0);
    const std::size_t after = word + 7;
    if (after >= line.size() || fold_case(line[word]) != 'c' || !equal_folded(line.substr(word, 7), "comment") ||
        !is_blank(line[after])) {
        return '\0';
    }
    const std::size_t delimiter = skip_blanks(line, after);
    return delimiter < line.size() ? line[delimiter] : '\0';
}

} // namespace

// A comment block opened by a line of text that the look marked: where the lines after it may
// declare again (the end of text while the block stays open), or nullptr for no block.
const char* collector::comment_block(const marked_line& mark, std::string_view text, bool main_file)
{
    const char delimiter = comment_block_delimiter(mark.text);
    if (delimiter == '\0') {
        return nullptr;
    }
    comment_kept_ = main_file && within_limit();
    if (comment_kept_) {
        d_.comments.push_back({mark.number, mark.number});
    }
    comment_delimiter_ = delimiter;
    const char* opening = std::find(mark.text.data(), mark.text.data() + mark.text.size(), delimiter);
    return close_comment_block(text, opening + 1, mark.text.data(), mark.number, main_file);
}

// Looks for the open comment block's delimiter from position from of text, in the line numbered
// line that begins at line_start or after it: the block ends with the line that holds it. Returns
// where the lines after that begin, or the end of text while the block stays open. The lines are
// counted from line_start, not from the start of text, so that a text of many blocks is read once.
const char* collector::close_comment_block(std::string_view text, const char* from, const char* line_start,
                                           std::uint64_t line, bool main_file)
{
    const char* end = text.data() + text.size();
    const char* closing = std::find(from, end, comment_delimiter_);
    if (closing == end) {
        return end;
    }
    comment_delimiter_ = '\0';
    if (main_file && comment_kept_) {
        d_.comments.back().last_line = line + static_cast<std::uint64_t>(std::count(line_start, closing, '\n'));
    }
    const char* line_end = std::find(closing, end, '\n');
    return line_end == end ? end : line_end + 1;
}

void collector::take(const std::vector<marked_line>& marks, std::string_view text, std::uint64_t first_line,
                     bool main_file, std::string_view folder, int depth)
{
    // Lines before resume stand in a comment block.
    const char* resume = text.data();
    if (comment_delimiter_ != '\0') {
        resume = close_comment_block(text, text.data(), text.data(), first_line + 1, main_file);
    }
    for (const marked_line& mark : marks) {
        if (mark.text.data() < resume) {
            continue;
        }
        if (const char* after = comment_block(mark, text, main_file)) {
            resume = after;
            continue;
        }
        main_file_ = main_file;
        line_number_ = mark.number;
        if (mark.may_declare) {
            statement(mark.text, text.data() + text.size(), mark.uses_local_labels, main_file, folder, depth);
        } else {
            use_local_labels();
        }
    }
}

namespace {

// make_word_key for a name in a block, with the steps it calls made part of it: asked of the name
// of every label and variable line.
[[gnu::flatten]] word_key name_key(std::string_view name, const char* readable_end)
{
    return make_word_key(name, readable_end);
}

} // namespace

// A line of the main file, outside structures, that begins with a name declares what most such
// lines declare without being split: a code label (name:, a colon alone names nothing) or a
// variable (name db ..., the name no word the vocabulary knows). False for a line of another
// shape, for the full reading. readable_end: the end of the block the line stands in, which lets
// the words be searched and packed sixteen and eight bytes at a time.
bool collector::first_column_declaration(std::string_view text, const char* readable_end)
{
    // (The words are cut with the views' constructor: every length is within the line.)
    const std::string_view line(text.data(), text.size() - (text.back() == '\r' ? 1 : 0));
    const line_scanner scan(line, readable_end);
    const std::string_view label(line.data(), scan.find_first<' ', '\t', ';'>(0));
    if (label.size() > 1 && label.back() == ':') {
        recorded_ = false;
        code_label(name_key(std::string_view(label.data(), label.size() - 1), readable_end));
        return true;
    }
    // name db ...: what declaring_line does for a variable, without splitting the operands.
    const std::size_t directive = skip_blanks(line, label.size());
    const std::size_t values = scan.find_first<' ', '\t', ';'>(directive);
    const std::uint32_t bytes = bytes_of(std::string_view(line.data() + directive, values - directive));
    if (bytes == 0 || label.empty() || label.back() == ':') {
        return false;
    }
    const word_key name = name_key(label, readable_end);
    if (mnemonic_table.find(name) != nullptr) {
        return false;  // an instruction or a directive may stand there: the split line tells
    }
    recorded_ = false;
    const std::string_view written_values(text.data() + values, text.size() - values);  // with the line's ending
    declare_variable(name, bytes, no_entry, count_of_values(written_values, d_));
    return true;
}

namespace {

// What follows a conditional word on its line, up to the ";" of a comment.
std::string_view condition_after(std::string_view text, std::string_view word)
{
    std::string_view rest = text.substr(static_cast<std::size_t>(word.data() - text.data()) + word.size());
    tokenizer tokens(rest);
    for (token t; tokens.next(t);) {
        if (t.kind == token_kind::other && t.text == ";") {
            return rest.substr(0, static_cast<std::size_t>(t.text.data() - rest.data()));
        }
    }
    if (!rest.empty() && rest.back() == '\r') {
        rest.remove_suffix(1);
    }
    return rest;
}

decision decision_of(bool yes) { return yes ? decision::yes : decision::no; }

// ifdef, ifndef and the checks .errdef, .errndef, errifdef, errifndef ask whether a name is defined.
bool tests_a_name(std::string_view word)
{
    const condition_test test = conditional_word(word).test;
    if (test == condition_test::defined || test == condition_test::undefined) {
        return !equal_folded(word, "elseifdef") && !equal_folded(word, "elseifndef");
    }
    for (const std::string_view check : {".errdef", ".errndef", "errifdef", "errifndef"}) {
        if (equal_folded(word, check)) {
            return true;
        }
    }
    return false;
}

} // namespace

// The names the line declared again in a branch the pass cannot decide: where they now differ
// from before in what the conversion of their uses depends on, Tasm's meaning depends on the
// branch. A constant's value does not change how a use of it is written, only what is known of
// its value.
void collector::in_branch_declared()
{
    for (const redeclaration& r : redeclared_) {
        name_facts& now = d_.names.facts(r.entry);
        const name_facts& before = r.before;
        if (now.kind != before.kind || now.size != before.size || now.far != before.far ||
            now.structure != before.structure || now.count != before.count || now.offset != before.offset ||
            now.segment != before.segment) {
            now.conflicting = true;
            d_.conflicting_names = true;
        }
        if (now.kind == declared::constant && (now.value != before.value || now.evaluated != before.evaluated ||
                                               now.negative != before.negative || before.value_uncertain)) {
            now.value_uncertain = true;
        }
        // Where nothing is defined outside the file Tasm does not assemble this branch: the
        // declaration before stays, marked.
        if (conditionals_.outside_default()) {
            const bool conflicting = now.conflicting;
            const bool value_uncertain = now.value_uncertain;
            now = before;
            now.conflicting = conflicting;
            now.value_uncertain = value_uncertain;
        }
    }
    redeclared_.clear();
}

// if, elseif, else, endif and their kin, in the label's place or the mnemonic's (source_ holds
// the line split up to its mnemonic): true for such a line, whose condition is decided over what
// the lines before it declare.
bool collector::conditional_line(std::string_view text)
{
    const bool first_column = source_.label_word != nullptr && source_.label_word->kind == word_kind::directive;
    const std::string_view word = first_column            ? source_.label
                                  : source_.label.empty() ? source_.mnemonic
                                                          : std::string_view();
    if (!conditionals_.skipping() && tests_a_name(word)) {
        name_test_line(trim_blanks(condition_after(text, word)));
    }
    const conditional_row row = conditional_word(word);
    const auto condition = [&] { return decide(row.test, condition_after(text, word)); };
    const bool was_skipping = conditionals_.skipping();
    switch (row.step) {
    case conditional_step::none: return false;
    case conditional_step::open: open_block(row, condition_after(text, word), was_skipping ? decision::unknown : condition()); break;
    case conditional_step::next_if: conditionals_.next_if(condition); break;
    case conditional_step::next: conditionals_.next(); break;
    case conditional_step::end: conditionals_.end(); break;
    }
    follow_segments_in_blocks(row.step);
    if (conditionals_.skipping() != was_skipping) {
        skipped_lines_change();
    }
    return true;
}

// ifndef NAME of a name declared nowhere before is undecided (tasm /dNAME may define it), but
// where the first line in the block gives NAME its value, it is the guard of an include file:
// the block is taken.
void collector::open_block(const conditional_row& row, std::string_view condition, decision d)
{
    const std::string_view name = trim_blanks(condition);
    const bool asks_name = row.test == condition_test::defined || row.test == condition_test::undefined;
    const bool nowhere_before = asks_name && d == decision::unknown && declared_nowhere(name);
    conditionals_.open(d, !nowhere_before                          ? decision::unknown
                          : row.test == condition_test::undefined ? decision::yes
                                                                  : decision::no);
    if (nowhere_before && row.test == condition_test::undefined && !conditionals_.skipping()) {
        guard_pending_ = true;
        guard_.assign(name);
    }
}

// The lines before declare name in no way: not as a name, a text, a segment or a group.
bool collector::declared_nowhere(std::string_view name) const
{
    return d_.find(name) == nullptr && d_.text_equate_names.find(name) == d_.text_equate_names.none &&
           d_.segment_names.find(name) == d_.segment_names.none && d_.group_names.find(name) == d_.group_names.none;
}

// The line gives the guard of the block it follows its value: guard = 1, guard equ 1.
bool collector::guards_block(const source_line& line) const
{
    return equal_folded(line.label, guard_) && (equal_folded(line.mnemonic, "equ") || line.mnemonic == "=");
}

// Each branch of a block begins in the segment the block began in: where the pass cannot decide
// which branch Tasm assembles, the segments a branch opens or ends are undone at the next one
// (after the block, the lines stand where its last branch left them).
void collector::follow_segments_in_blocks(conditional_step step)
{
    const std::size_t depth = conditionals_.depth();
    if (step == conditional_step::open && depth <= conditional_blocks::deepest && block_segments_.size() < depth) {
        block_segments_.push_back({segment_bits_, outer_segments_, segment_, simplified_segment_});
    } else if (step == conditional_step::end) {
        block_segments_.resize(std::min(block_segments_.size(), depth));
    } else if ((step == conditional_step::next || step == conditional_step::next_if) &&
               block_segments_.size() == depth && conditionals_.innermost_undecided()) {
        const segment_state& begun = block_segments_.back();
        segment_bits_ = begun.bits;
        outer_segments_ = begun.outer;
        simplified_segment_ = begun.simplified;
        set_segment(begun.segment);
        set_code_size(segment_bits_.empty() ? model_bits_ : segment_bits_.back());
    }
}

// The lines after this one begin or end a stretch that Tasm does not assemble.
void collector::skipped_lines_change()
{
    if (!main_file_) {
        return;
    }
    if (conditionals_.skipping()) {
        if (within_limit()) {
            d_.skipped.push_back({line_number_ + 1});
        }
    } else if (!d_.skipped.empty() && d_.skipped.back().last_line == ~std::uint64_t{0}) {
        d_.skipped.back().last_line = line_number_ - 1;
    }
}

decision collector::decide(condition_test test, std::string_view condition) const
{
    switch (test) {
    case condition_test::nonzero:
    case condition_test::zero: {
        std::int64_t value = 0;
        if (!constant_value(condition, d_, value)) {
            return decision::unknown;
        }
        return decision_of((value != 0) == (test == condition_test::nonzero));
    }
    case condition_test::defined:
    case condition_test::undefined: {
        const std::string_view name = trim_blanks(condition);
        const decision d = is_name(name) ? defined(name) : decision::unknown;
        return d == decision::unknown ? d : decision_of((d == decision::yes) == (test == condition_test::defined));
    }
    default: return decision::unknown;
    }
}

// An ifdef or ifndef line of the main file whose name GNU As has no symbol for keeps whether
// Tasm finds it defined: GNU As's .ifdef would not.
void collector::name_test_line(std::string_view name)
{
    if (!main_file_ || !is_name(name) || !within_limit()) {
        return;
    }
    const name_facts* facts = d_.find(name);
    const bool no_symbol =
        facts != nullptr ? facts->kind == declared::structure || facts->kind == declared::record || facts->external
                         : d_.text_equate_names.find(name) != d_.text_equate_names.none ||
                               d_.segment_names.find(name) != d_.segment_names.none ||
                               d_.group_names.find(name) != d_.group_names.none;
    if (no_symbol) {
        const decision d = defined(name);
        d_.name_tests.push_back({line_number_, d == decision::yes, d != decision::unknown});
    }
}

// Whether the lines before declare name. A name they do not may still be defined where Tasm is
// run (tasm /dDEBUG), and one declared only in a branch the pass cannot decide may not be: both
// are unknown.
decision collector::defined(std::string_view name) const
{
    if (const name_facts* facts = d_.find(name); facts != nullptr && facts->kind != declared::unknown) {
        return facts->conditional ? decision::unknown : decision::yes;
    }
    if (const std::uint32_t text = d_.text_equate_names.find(name); text != d_.text_equate_names.none) {
        return d_.text_equates[d_.text_equate_names.facts(text)].conditional ? decision::unknown : decision::yes;
    }
    const bool segment_or_group =
        d_.segment_names.find(name) != d_.segment_names.none || d_.group_names.find(name) != d_.group_names.none;
    return segment_or_group ? decision::yes : decision::unknown;
}

// A line in a branch Tasm does not assemble declares nothing: only the conditional blocks it
// opens and ends count.
void collector::statement(std::string_view text, const char* readable_end, bool uses_local_labels, bool main_file,
                          std::string_view folder, int depth)
{
    if (conditionals_.skipping()) {
        split_label_and_mnemonic(text, source_);
        conditional_line(text);
        return;
    }
    statement_in_branch(text, readable_end, uses_local_labels, main_file, folder, depth);
    if (!redeclared_.empty()) {
        in_branch_declared();
    }
}

void collector::statement_in_branch(std::string_view text, const char* readable_end, bool uses_local_labels,
                                    bool main_file, std::string_view folder, int depth)
{
    const bool after_guard = std::exchange(guard_pending_, false);
    if (frame_list_goes_on(text)) {
        return;
    }
    if (main_file && !in_structure_ && is_white_space(text[0]) && is_data_directive(leading_word(text, readable_end))) {
        // A data definition without a name (the rows of a table) declares nothing outside a
        // structure: only an @@ label it uses keeps its scope.
        if (uses_local_labels) {
            use_local_labels();
        }
        return;
    }
    if (main_file && !in_structure_ && !is_white_space(text[0]) && first_column_declaration(text, readable_end)) {
        if (uses_local_labels) {
            use_local_labels();
        }
        return;
    }
    split_label_and_mnemonic(text, source_);
    if (source_.label.empty() && source_.mnemonic.empty()) {
        return;
    }
    if (conditional_line(text)) {
        return;
    }
    if (after_guard && guards_block(source_)) {
        conditionals_.take_first_branch();
    }
    // An include whose declarations depend on a condition the pass cannot decide is more than
    // its declarations.
    if (!main_file && conditionals_.undecided()) {
        not_only_declarations();
    }
    recorded_ = false;
    const std::uint32_t bytes = bytes_of(source_.mnemonic);
    if (bytes > 0 && !in_structure_ && !source_.label.empty() && source_.label.back() != ':' &&
        (source_.label_word == nullptr || source_.label_word->kind != word_kind::directive)) {
        // name db ...: what declaring_line does for a variable, without splitting the operands.
        const auto values = static_cast<std::size_t>(source_.mnemonic.data() - text.data()) + source_.mnemonic.size();
        declare_variable(source_.label, bytes, no_entry, count_of_values(text.substr(values), d_));
    } else if (text.size() <= longest_split_line) {
        split_line(text, source_);
        declaring_line(folder, depth);
    }
    // After the line's own label: an @@ label on it belongs to the scope that label opens.
    main_file_ = main_file;
    if (!main_file && !recorded_ && !in_structure_ && !is_harmless_in_include(source_)) {
        not_only_declarations();
    }
    if (uses_local_labels) {
        use_local_labels();
    }
}

void collector::declaring_line(std::string_view folder, int depth)
{
    statement_words& w = words_;
    w.read(source_);
    const std::string_view name = w.label();
    const std::string_view verb = source_.mnemonic;
    if (name.empty() || w.label_has_colon()) {
        if (!name.empty()) {
            code_label(name);
            if (in_structure_ && !verb.empty() && field_unit(verb) > 0) {
                field(w, source_);
            }
            return;
        }
        if (in_structure_ && field_unit(verb) > 0) {
            field(w, source_);  // a field without a name still takes its room
            return;
        }
        directive_line(w, source_, folder, depth);
        return;
    }
    // A directive in the first column (ideal, model small, IDEAL's proc name, ends name ...).
    if (source_.label_word != nullptr && source_.label_word->kind == word_kind::directive) {
        directive_line(w, source_, folder, depth);
        return;
    }
    // name directive ...
    if (in_structure_ && field_unit(verb) > 0) {
        field(w, source_);
        return;
    }
    if (const std::uint32_t bytes = bytes_of(verb); bytes > 0) {
        const auto values = static_cast<std::size_t>(verb.data() - source_.text.data()) + verb.size();
        declare_variable(name, bytes, no_entry, count_of_values(source_.text.substr(values), d_));
        return;
    }
    if (equal_folded(verb, "proc")) {
        begin_procedure(name, w[2]);
        frame_list(source_.after_directive_word(), true);
        open_frame_list(statement_of(source_));
        return;
    }
    if (equal_folded(verb, "endp")) {
        end_procedure();
        return;
    }
    if (equal_folded(verb, "label")) {
        label_line(name, w[2]);
        return;
    }
    if (equal_folded(verb, "struc") || equal_folded(verb, "struct") || equal_folded(verb, "union")) {
        begin_structure(name, equal_folded(verb, "union"));
        return;
    }
    if (equal_folded(verb, "record")) {
        record_line(name, source_.operand_text());
        return;
    }
    if (equal_folded(verb, "ends")) {
        end_structure_or_segment();
        return;
    }
    if (equal_folded(verb, "segment")) {
        begin_segment(w);
        return;
    }
    if (equal_folded(verb, "group")) {
        group_line(name, w, 2);
        return;
    }
    if (const std::string_view type = source_.operands.size() == 1 && (equal_folded(verb, "equ") || verb == "=")
                                          ? this_type(source_.operands[0])
                                          : std::string_view();
        !type.empty()) {
        label_line(name, type);
        return;
    }
    if (std::string_view text; source_.operands.size() == 1 && text_equate_text(verb, source_.operands[0], text)) {
        text_equate_line(name, text);
        return;
    }
    if (source_.operands.size() == 1 && equate_of_a_text(name, verb, equated_name(verb, source_.operands[0]))) {
        return;
    }
    if (source_.operands.size() == 1 && equate_of_a_variable(name, verb, equated_name(verb, source_.operands[0]))) {
        return;
    }
    if (equal_folded(verb, "equ") || verb == "=") {
        if (!source_.operands.empty()) {
            const auto begin = static_cast<std::size_t>(source_.operands.front().data() - source_.text.data());
            const auto end = static_cast<std::size_t>(source_.operands.back().data() - source_.text.data()) +
                             source_.operands.back().size();
            record({include_item_kind::equate, d_.keep(name),
                    d_.keep(trim_trailing_blanks(source_.text.substr(begin, end - begin)))});
        }
        const std::uint32_t entry = declare(name);
        if (entry != no_entry) {
            name_facts& facts = d_.names.facts(entry);
            if (facts.kind == declared::unknown) {
                facts.kind = declared::constant;
            }
            const std::string_view value =
                source_.operands.size() == 1 ? trim_trailing_blanks(source_.operands[0]) : std::string_view();
            std::int64_t number = 0;
            facts.evaluated = facts.kind == declared::constant && constant_value(value, d_, number);
            facts.negative = facts.evaluated && number < 0;
            facts.value = facts.evaluated ? static_cast<std::uint32_t>(number) : facts.value;
            facts.value_uncertain = false;  // given anew (in_branch_declared tells if only maybe)
        }
        return;
    }
    // name structure <values>: an instance of a structure declared before; name record <values>
    // one of a record.
    if (const name_facts* type = d_.find(verb); type != nullptr && type->kind == declared::structure) {
        const auto values = static_cast<std::size_t>(verb.data() - source_.text.data()) + verb.size();
        declare_variable(name, type->size, d_.names.find(verb), count_of_instances(source_.text.substr(values), d_));
        return;
    }
    if (const name_facts* type = d_.find(verb); type != nullptr && type->kind == declared::record) {
        const auto values = static_cast<std::size_t>(verb.data() - source_.text.data()) + verb.size();
        declare_variable(name, type->size, no_entry, count_of_instances(source_.text.substr(values), d_));
        return;
    }
    // A directive in the first column with its operands (ideal, model small, extrn ...).
    directive_line(w, source_, folder, depth);
}

} // namespace

bool length_of_values(std::string_view values, std::uint32_t unit, const program_declarations& program,
                      std::uint64_t& length)
{
    return values_length(values, unit, program).find(length);
}

bool read_communal(std::string_view entry, const program_declarations& program, communal& variable)
{
    value_reader reader(entry);
    token t;
    if (!reader.next(t)) {
        return false;
    }
    if (t.kind == token_kind::name && equal_folded(t.text, "near") && !reader.next(t)) {
        return false;
    }
    token colon;
    token type;
    if (t.kind != token_kind::name || !reader.next(colon) || colon.text != ":" || !reader.next(type)) {
        return false;
    }
    variable.name = t.text;
    const std::uint32_t unit = type.kind == token_kind::name ? bytes_of(type.text) : 0;
    variable.unit = unit;
    std::uint32_t count = 1;
    token after;
    if (reader.next(after) && (after.text != ":" || !reader.next(t) ||
                               !number_or_constant(t.text, program, count) || reader.next(after))) {
        return false;
    }
    const std::uint64_t bytes = std::uint64_t{unit} * count;
    variable.bytes = static_cast<std::uint32_t>(bytes);
    return unit > 0 && count > 0 && bytes <= UINT32_MAX;
}

// A value given as one number, or as a constant the program gives as one, blanks around it.
bool number_or_constant(std::string_view text, const program_declarations& program, std::uint32_t& value)
{
    tokenizer tokens(trim_blanks(text));
    token t;
    token after;
    if (!tokens.next(t) || tokens.next(after)) {
        return false;
    }
    if (t.kind == token_kind::name) {
        const name_facts* facts = program.find(t.text);
        value = facts != nullptr ? facts->value : 0;
        return facts != nullptr && has_number_value(*facts);
    }
    return number_value(t, value);
}

namespace {

// What has been done to a block of the main file that was read.
enum class look_state { waiting, looking, looked };

// A block of the main file and what the first look at it found. Its marks are numbered from the
// block's first line as line 1: the thread that takes the blocks in order numbers them anew.
struct looked_block {
    line_block block;
    block_reader::result read = block_reader::result::block;
    look_state state = look_state::waiting;
    std::vector<marked_line> marks;
    std::uint64_t lines = 0;  // in the block
};

// The blocks that a thread beside this one reads, for both threads to look at and for this thread
// to take in order. Block n lives in slot n % slots.size() until it is taken. The thread beside
// reads ahead while a slot is free and otherwise looks at the newest block nobody looks at; this
// thread looks at the oldest itself when nobody has: so both have about as much to do, however the
// work of taking the declarations compares with that of reading.
struct look_ring {
    std::array<looked_block, 4> slots;
    std::mutex mutex;
    std::condition_variable changed;
    std::uint64_t read = 0;   // blocks read; the last may be the end or an error
    std::uint64_t taken = 0;  // blocks this thread is done with
    bool read_all = false;    // the end or an error was read
    bool stopping = false;
    std::exception_ptr failure;  // what the thread beside threw

    looked_block& slot(std::uint64_t n) { return slots[n % slots.size()]; }

    bool can_read() const { return !read_all && read - taken < slots.size(); }

    // The newest block read that nobody looks at, or nullptr.
    looked_block* newest_waiting()
    {
        for (std::uint64_t n = read; n > taken; --n) {
            looked_block& b = slot(n - 1);
            if (b.state == look_state::waiting && b.read == block_reader::result::block) {
                return &b;
            }
        }
        return nullptr;
    }
};

constexpr std::size_t declarations_block_size = std::size_t{1} << 17;

// Looks at the lines of a block that the caller marked as its own to look at (looking), with the
// ring's lock released meanwhile.
void look_at_block(look_ring& ring, looked_block& looked, std::unique_lock<std::mutex>& lock)
{
    lock.unlock();
    looked.lines = look_at_lines(looked.block.text(), true, 0, looked.marks);
    lock.lock();
    looked.state = look_state::looked;
    ring.changed.notify_all();
}

// The thread beside: reads each block while a slot is free, and looks at the blocks nobody looks
// at while none is, until the file ends or the reading fails.
void look_beside(look_ring& ring, block_reader& reader)
{
    std::unique_lock lock(ring.mutex);
    try {
        for (;;) {
            looked_block* waiting = nullptr;
            ring.changed.wait(lock, [&] {
                return ring.stopping || ring.can_read() || (waiting = ring.newest_waiting()) != nullptr;
            });
            if (ring.stopping) {
                return;
            }
            if (ring.can_read()) {
                looked_block& next = ring.slot(ring.read);
                lock.unlock();
                const block_reader::result read = reader.next(next.block);
                lock.lock();
                next.read = read;
                next.state = look_state::waiting;
                ring.read_all = read != block_reader::result::block;
                ++ring.read;
                ring.changed.notify_all();
                continue;
            }
            waiting->state = look_state::looking;
            look_at_block(ring, *waiting, lock);
        }
    } catch (...) {
        if (!lock.owns_lock()) {
            lock.lock();
        }
        ring.failure = std::current_exception();
        ring.changed.notify_all();
    }
}

// Stops the thread beside and waits for it, however this thread leaves the ring.
class look_thread {
public:
    look_thread(look_ring& ring, block_reader& reader) : ring_(ring), thread_([&ring, &reader] { look_beside(ring, reader); }) {}
    look_thread(const look_thread&) = delete;
    look_thread& operator=(const look_thread&) = delete;
    ~look_thread()
    {
        {
            const std::lock_guard lock(ring_.mutex);
            ring_.stopping = true;
        }
        ring_.changed.notify_all();
        thread_.join();
    }

private:
    look_ring& ring_;
    std::thread thread_;
};

block_reader::result collect_alone(collector& c, block_reader& reader, std::string_view folder)
{
    line_block block;
    block_reader::result read = block_reader::result::block;
    while ((read = reader.next(block)) == block_reader::result::block) {
        c.lines(block.text(), true, folder, 0);
    }
    return read;
}

// Takes the blocks in order, looking at each that nobody has looked at: the collector's own work on
// a block goes on while the thread beside reads and looks at the ones after it.
block_reader::result collect_beside(collector& c, block_reader& reader, std::string_view folder)
{
    look_ring ring;
    std::optional<look_thread> beside;
    try {
        beside.emplace(ring, reader);
    } catch (const std::system_error&) {
        return collect_alone(c, reader, folder);  // the system refuses the thread
    }
    std::uint64_t line_number = 0;  // of the last line taken
    std::unique_lock lock(ring.mutex);
    for (std::uint64_t n = 0;; ++n) {
        ring.changed.wait(lock, [&] { return ring.read > n || ring.failure != nullptr; });
        if (ring.read <= n) {
            std::rethrow_exception(ring.failure);
        }
        looked_block& looked = ring.slot(n);
        if (looked.read != block_reader::result::block) {
            return looked.read;
        }
        if (looked.state == look_state::waiting) {
            looked.state = look_state::looking;
            look_at_block(ring, looked, lock);
        }
        ring.changed.wait(lock, [&] { return looked.state == look_state::looked || ring.failure != nullptr; });
        if (looked.state != look_state::looked) {
            std::rethrow_exception(ring.failure);
        }
        lock.unlock();
        for (marked_line& mark : looked.marks) {
            mark.number += line_number;
        }
        c.marked_lines(looked.marks, looked.block.text(), line_number, line_number + looked.lines, folder);
        line_number += looked.lines;
        lock.lock();
        ring.taken = n + 1;
        ring.changed.notify_all();
    }
}

// A regular file no longer than one block: a thread beside would cost more than it saves.
bool fits_one_block(int fd)
{
    struct stat status {};
    return fstat(fd, &status) == 0 && S_ISREG(status.st_mode) &&
           static_cast<std::uint64_t>(status.st_size) <= declarations_block_size;
}

} // namespace

bool collect_declarations(int fd, std::string_view folder, program_declarations& declarations,
                          std::function<void()> before_include)
{
    collector c(declarations);
    c.call_before_first_include(std::move(before_include));
    block_reader reader(fd, declarations_block_size);
    // With a second processor, a thread beside reads and looks at the lines ahead; without one, for
    // a file of one block, or when the system refuses the thread, this thread does it all.
    const bool beside = std::thread::hardware_concurrency() >= 2 && !fits_one_block(fd);
    const block_reader::result read = beside ? collect_beside(c, reader, folder) : collect_alone(c, reader, folder);
    c.finish();
    declarations.count_kinds();
    declarations.index_lookups();
    declarations.index_text_equates();
    declarations.index_quoted_names();
    return read != block_reader::result::error;
}

void collect_declarations_from_text(std::string_view text, std::string_view folder,
                                    program_declarations& declarations)
{
    collector c(declarations);
    c.lines(text, true, folder, 0);
    c.finish();
    declarations.count_kinds();
    declarations.index_lookups();
    declarations.index_text_equates();
    declarations.index_quoted_names();
}

} // namespace dravent
