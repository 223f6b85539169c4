// Expressions: tokens rewritten one by one, and Tasm's operators regrouped for GNU As through a
// small precedence parser whose tree is printed back in order, spacing kept.
#include "convert/write_expression.hpp"

#include "convert/records.hpp"
#include "text/characters.hpp"
#include "vocabulary/expression_words.hpp"
#include "vocabulary/registers.hpp"

#include <array>

namespace dravent {
namespace {

// Tasm's operators. Binding power: how tightly Tasm binds the operator (higher is tighter).
// GNU As level: how tightly GNU As binds what the operator is written as.
enum operation : int { op_none, op_or, op_xor, op_and, op_not, op_eq, op_ne, op_lt, op_le, op_gt, op_ge,
                       op_plus, op_minus, op_times, op_divide, op_mod, op_shl, op_shr, op_high, op_low,
                       op_offset };

struct operator_row {
    std::string_view word;     // the Tasm spelling
    operation op;
    int binding;               // Tasm binding power as a binary operator, 0 for prefix-only words
    std::string_view gnu;      // the GNU As operator written in its place
    int gnu_level;             // GNU As: 4 for * / % << >>, 3 for | & ^, 2 for + - <> < >
};

constexpr std::array<operator_row, 17> operator_table{{
    {"or",  op_or,     1, "|",  3}, {"xor", op_xor,   1, "^",  3}, {"and", op_and,   2, "&",  3},
    {"eq",  op_eq,     4, "<>", 2}, {"ne",  op_ne,    4, "<>", 2}, {"lt",  op_lt,    4, "<",  2},
    {"le",  op_le,     4, ">",  2}, {"gt",  op_gt,    4, ">",  2}, {"ge",  op_ge,    4, "<",  2},
    {"+",   op_plus,   5, "+",  2}, {"-",   op_minus, 5, "-",  2}, {"*",   op_times, 6, "*",  4},
    {"/",   op_divide, 6, "/",  4}, {"mod", op_mod,   6, "%",  4}, {"shl", op_shl,   6, "<<", 4},
    {"shr", op_shr,    6, ">>", 4}, {"not", op_not,   0, "~",  5},
}};

constexpr int prefix_binding_not = 4;       // not covers comparisons and everything tighter
constexpr int prefix_binding_sign = 7;      // unary + and - bind tighter than * and /
constexpr int prefix_binding_high_low = 8;  // high and low tighter still
constexpr int level_unary = 5;              // GNU As: unary - ~ !
constexpr int level_primary = 6;            // a leaf or a parenthesised group

const operator_row* find_operator(std::string_view word)
{
    for (const operator_row& row : operator_table) {
        if (equal_folded(word, row.word)) {
            return &row;
        }
    }
    return nullptr;
}

bool is_operator_word(const token& t)
{
    if (t.kind != token_kind::name) {
        return false;
    }
    const expression_word_row* word = find_expression_word(t.text);
    return word != nullptr && word->role == expression_word::operator_word;
}

// ---- tokens written one by one

void write_hex_byte(unsigned char byte, text_buffer& out)
{
    constexpr std::string_view digits = "0123456789ABCDEF";
    out += digits[byte >> 4];
    out += digits[byte & 15];
}

// The characters of a string between its quotes, a doubled quote taken once.
template <typename Visit>
void for_each_character(const token& string, Visit visit)
{
    const char quote = string.text.front();
    for (std::size_t at = 0; at < string.digits.size(); ++at) {
        visit(string.digits[at]);
        if (string.digits[at] == quote) {
            ++at;  // the second quote of a pair
        }
    }
}

std::size_t character_count(const token& string)
{
    std::size_t count = 0;
    for_each_character(string, [&](char) { ++count; });
    return count;
}

void write_character_constant(char c, text_buffer& out)
{
    if (c == '\\' || c == '\'') {
        out += '\'';
        out += '\\';
        out += c;
        out += '\'';
        return;
    }
    if (c >= ' ' && c <= '~') {
        out += '\'';
        out += c;
        out += '\'';
        return;
    }
    out += "0x";
    write_hex_byte(static_cast<unsigned char>(c), out);
}

// One character is a character constant; two to four are one number, the first character most
// significant. Any other string cannot stand in an expression: it is written in single quotes,
// which GNU As rejects there, rather than as a double-quoted symbol name.
// A string that write_string gives a value: one character, or two to four as a number (or any
// closed string where strings stand for their characters).
bool has_a_value(const token& string, string_meaning strings)
{
    const std::size_t count = character_count(string);
    return string.closed && (strings == string_meaning::characters ? count > 0 : count >= 1 && count <= 4);
}

void write_string(const token& string, string_meaning strings, text_buffer& out)
{
    const std::size_t count = character_count(string);
    if (strings == string_meaning::characters && count != 1) {
        out += string.text;
        return;
    }
    if (string.closed && count == 1) {
        for_each_character(string, [&](char c) { write_character_constant(c, out); });
        return;
    }
    if (string.closed && count >= 2 && count <= 4) {
        out += "0x";
        for_each_character(string, [&](char c) { write_hex_byte(static_cast<unsigned char>(c), out); });
        return;
    }
    if (string.text.front() == '\'') {
        out += string.text;
        return;
    }
    out += '\'';
    out += string.digits;
    if (string.closed) {
        out += '\'';
    }
}

void write_number(const token& number, text_buffer& out)
{
    const gnu_as_number written = gnu_as_number_of(number);
    out += written.prefix;
    out += written.digits;
}

// A name that arg or local gives a stack slot in the line's procedure (Tasm reads it as [bp+n],
// with an n that depends on the procedure's distance, language and frame), or a name that a text
// equate gives a text, where nobody has put the text in place of the name (a data line, a
// directive). Written with a "%", GNU As rejects it, where it would read the name as a symbol.
bool is_unplaced_name(const token& t, const expression_workspace& work)
{
    return t.kind == token_kind::name && work.context != nullptr && work.context->names_unplaced(t.text);
}

bool may_hold_unplaced_names(const expression_workspace& work)
{
    return work.context != nullptr && work.context->may_hold_unplaced_names();
}

// A register other than a segment register, where an expression needs a number: Tasm never reads
// it as a name, and GNU As would, as a symbol. Written with its "%", GNU As rejects it. One that
// already has its "%" is left alone.
bool is_misplaced_register(const token& t, bool after_percent)
{
    if (t.kind != token_kind::name || after_percent) {
        return false;
    }
    const register_row* named = register_named(t.text);
    return named != nullptr && !named->segment;
}

// A name as the line's program declares it, or as written.
std::string_view declared_spelling(std::string_view name, const expression_workspace& work)
{
    return work.context != nullptr ? work.context->spelling_of(name) : name;
}

void write_token(const token& t, string_meaning strings, const expression_workspace& work, text_buffer& out)
{
    const std::string_view local_label_prefix = work.local_label_prefix;
    switch (t.kind) {
    case token_kind::number:
        write_number(t, out);
        return;
    case token_kind::string:
        write_string(t, strings, out);
        return;
    case token_kind::name:
        if (t.text == "$") {
            out += '.';
        } else if (t.text == "?") {
            out += '0';
        } else if (t.misplaced_register || t.unplaced_name) {
            out += '%';
            out += t.text;
        } else if (is_local_label(t.text) && !local_label_prefix.empty()) {
            out += local_label_prefix;
            out += work.context != nullptr ? work.context->local_label_spelling(t.text) : t.text.substr(2);
        } else {
            out += declared_spelling(t.text, work);
        }
        return;
    case token_kind::other:
        out += t.text;
        return;
    }
}

// ---- the parser: Tasm precedence, a tree of nodes over the token list

class parser {
public:
    parser(std::string_view text, expression_workspace& work) : text_(text), work_(work) {}

    // The root node, or false when the text is no expression this parser reads.
    bool parse(std::size_t& root)
    {
        skip_blanks();
        if (!parse_expression(0, root)) {
            return false;
        }
        skip_blanks();
        return at_ == work_.tokens.size();
    }

private:
    static bool is_blank_token(const token& t) { return t.kind == token_kind::other && is_blank(t.text[0]); }

    void skip_blanks()
    {
        while (at_ < work_.tokens.size() && is_blank_token(work_.tokens[at_])) {
            ++at_;
        }
    }
    std::size_t offset_of(const token& t) const { return static_cast<std::size_t>(t.text.data() - text_.data()); }
    const token* peek() const { return at_ < work_.tokens.size() ? &work_.tokens[at_] : nullptr; }

    std::size_t add(const expression_node& node)
    {
        work_.nodes.push_back(node);
        return work_.nodes.size() - 1;
    }

    bool parse_prefix(std::size_t& result)
    {
        const token* t = peek();
        if (t == nullptr) {
            return false;
        }
        const std::size_t begin = offset_of(*t);
        const std::size_t operator_end = begin + t->text.size();
        int binding = 0;
        operation op = op_none;
        if (t->kind == token_kind::other && (t->text == "+" || t->text == "-")) {
            op = t->text == "+" ? op_plus : op_minus;
            binding = prefix_binding_sign;
        } else if (t->kind == token_kind::name && equal_folded(t->text, "not")) {
            op = op_not;
            binding = prefix_binding_not;
        } else if (t->kind == token_kind::name && (equal_folded(t->text, "high") || equal_folded(t->text, "low"))) {
            op = equal_folded(t->text, "high") ? op_high : op_low;
            binding = prefix_binding_high_low;
        } else if (t->kind == token_kind::name && equal_folded(t->text, "offset")) {
            op = op_offset;
            binding = prefix_binding_sign;
        }
        if (op != op_none) {
            ++at_;
            skip_blanks();
            std::size_t operand = 0;
            if (!parse_expression(binding, operand)) {
                return false;
            }
            result = add({expression_node::shape::prefix, op, operand, 0, begin, work_.nodes[operand].end, begin,
                          operator_end});
            return true;
        }
        if (t->kind == token_kind::other && t->text == "(") {
            ++at_;
            skip_blanks();
            std::size_t inner = 0;
            if (!parse_expression(0, inner)) {
                return false;
            }
            skip_blanks();
            const token* close = peek();
            if (close == nullptr || close->text != ")") {
                return false;
            }
            ++at_;
            const std::size_t end = offset_of(*close) + 1;
            result = add({expression_node::shape::parenthesis, op_none, inner, 0, begin, end, begin, end - 1});
            return true;
        }
        if (t->kind == token_kind::other || is_operator_word(*t)) {
            return false;
        }
        ++at_;
        result = add({expression_node::shape::leaf, op_none, at_ - 1, 0, begin, operator_end, 0, 0});
        return true;
    }

    const operator_row* binary_operator() const
    {
        const token* t = peek();
        if (t == nullptr || (t->kind != token_kind::name && t->kind != token_kind::other)) {
            return nullptr;
        }
        const operator_row* row = find_operator(t->text);
        return row != nullptr && row->binding > 0 ? row : nullptr;
    }

    bool parse_expression(int min_binding, std::size_t& result)
    {
        if (++depth_ > max_depth) {
            return false;  // a hostile nesting depth is no expression worth regrouping
        }
        std::size_t left = 0;
        if (!parse_prefix(left)) {
            return false;
        }
        for (;;) {
            const std::size_t before_blanks = at_;
            skip_blanks();
            const operator_row* row = binary_operator();
            if (row == nullptr || row->binding <= min_binding) {
                at_ = before_blanks;
                break;
            }
            const std::size_t operator_begin = offset_of(work_.tokens[at_]);
            const std::size_t operator_end = operator_begin + work_.tokens[at_].text.size();
            ++at_;
            skip_blanks();
            std::size_t right = 0;
            if (!parse_expression(row->binding, right)) {
                return false;
            }
            left = add({expression_node::shape::binary, row->op, left, right, work_.nodes[left].begin,
                        work_.nodes[right].end, operator_begin, operator_end});
        }
        --depth_;
        result = left;
        return true;
    }

    static constexpr int max_depth = 200;
    std::string_view text_;
    expression_workspace& work_;
    std::size_t at_ = 0;
    int depth_ = 0;
};

// ---- printing the tree for GNU As

class printer {
public:
    printer(std::string_view text, const expression_workspace& work, string_meaning strings, text_buffer& out)
        : text_(text), work_(work), strings_(strings), out_(out)
    {
    }

    void print(std::size_t index) { print_node(work_.nodes[index]); }

    // How tightly GNU As binds what a node is written as.
    int level(const expression_node& node) const
    {
        switch (node.form) {
        case expression_node::shape::leaf:
        case expression_node::shape::parenthesis:
            return level_primary;
        case expression_node::shape::prefix:
            if (node.operation == op_high || node.operation == op_low) {
                return level_primary;
            }
            if (node.operation == op_offset) {
                return level(work_.nodes[node.first]);
            }
            return level_unary;
        case expression_node::shape::binary:
            break;
        }
        if (node.operation == op_eq || node.operation == op_le || node.operation == op_ge) {
            return level_unary;  // written ~(a <> b)
        }
        return row_of(node.operation).gnu_level;
    }

private:
    static const operator_row& row_of(int op)
    {
        for (const operator_row& row : operator_table) {
            if (row.op == op) {
                return row;
            }
        }
        return operator_table[0];
    }

    void gap(std::size_t from, std::size_t to) { out_ += text_.substr(from, to - from); }

    // A child that GNU As would bind more loosely than its place asks gets parentheses.
    void print_child(std::size_t index, int needed)
    {
        const expression_node& child = work_.nodes[index];
        if (level(child) >= needed) {
            print_node(child);
            return;
        }
        out_ += '(';
        print_node(child);
        out_ += ')';
    }

    void print_node(const expression_node& node)
    {
        switch (node.form) {
        case expression_node::shape::leaf:
            write_token(work_.tokens[node.first], strings_, work_, out_);
            return;
        case expression_node::shape::parenthesis: {
            const expression_node& inner = work_.nodes[node.first];
            out_ += '(';
            gap(node.begin + 1, inner.begin);
            print_node(inner);
            gap(inner.end, node.operator_end);
            out_ += ')';
            return;
        }
        case expression_node::shape::prefix:
            print_prefix(node);
            return;
        case expression_node::shape::binary:
            print_binary(node);
            return;
        }
    }

    void print_prefix(const expression_node& node)
    {
        const expression_node& operand = work_.nodes[node.first];
        switch (node.operation) {
        case op_high:
            out_ += "((";
            print_node(operand);
            out_ += ") >> 8 & 0xFF)";
            return;
        case op_low:
            out_ += "((";
            print_node(operand);
            out_ += ") & 0xFF)";
            return;
        case op_offset:
            print_node(operand);  // an address: the caller says whether it is an immediate
            return;
        default:
            break;
        }
        out_ += node.operation == op_not ? std::string_view("~") : text_.substr(node.operator_begin, 1);
        if (level(operand) >= level_unary) {
            gap(node.operator_end, operand.begin);
        }
        print_child(node.first, level_unary);
    }

    void print_binary(const expression_node& node)
    {
        const expression_node& left = work_.nodes[node.first];
        const expression_node& right = work_.nodes[node.second];
        const operator_row& row = row_of(node.operation);
        // eq, le and ge have no GNU As operator that instruction operands accept: they are the
        // negation of <>, > and <.
        const bool negated = node.operation == op_eq || node.operation == op_le || node.operation == op_ge;
        if (negated) {
            out_ += "~(";
        }
        print_child(node.first, row.gnu_level);
        gap(left.end, node.operator_begin);
        out_ += row.gnu;
        gap(node.operator_end, right.begin);
        print_child(node.second, row.gnu_level + 1);  // GNU As groups equal levels from the left
        if (negated) {
            out_ += ')';
        }
    }

    std::string_view text_;
    const expression_workspace& work_;
    string_meaning strings_;
    text_buffer& out_;
};

// The field that the "." token at tokens[at] names after var (an instance of the field's structure)
// or after a field that is itself an instance of a structure (heap.head.next), with the structure
// it belongs to; nullptr when the "." is no such one.
const structure_field* chained_field_at(const std::vector<token>& tokens, std::size_t at,
                                        const conversion_context& context, std::uint32_t& owner)
{
    owner = no_entry;
    if (tokens[at].kind != token_kind::other || tokens[at].text != "." || at == 0 || at + 1 == tokens.size() ||
        tokens[at - 1].kind != token_kind::name || tokens[at + 1].kind != token_kind::name) {
        return nullptr;
    }
    const program_declarations& program = *context.program;
    if (at >= 2 && tokens[at - 2].kind == token_kind::other && tokens[at - 2].text == ".") {
        std::uint32_t outer = no_entry;
        const structure_field* before = chained_field_at(tokens, at - 2, context, outer);
        if (before == nullptr || structure_of_field(*before, program) == nullptr) {
            return nullptr;
        }
        owner = program.names.find(program.view(before->directive));
    } else if (const std::uint32_t named = program.names.find(tokens[at - 1].text);
               named != program.names.none && program.names.facts(named).kind == declared::structure) {
        owner = named;  // Sprite.pos: a structure's field, whose offset the name itself is
    } else {
        const name_facts* instance = context.find(tokens[at - 1].text);
        if (instance == nullptr || instance->kind != declared::variable || instance->structure == no_entry) {
            return nullptr;
        }
        owner = instance->structure;
    }
    return field_of_structure(program.names.facts(owner), tokens[at + 1].text, program);
}

// The "." at tokens[at] stands between a structure's name and its field (Sprite.pos): a name of
// its own, written as it stands.
bool names_structure_field_at(const std::vector<token>& tokens, std::size_t at, const conversion_context& context)
{
    if (at == 0 || (at >= 2 && tokens[at - 2].text == ".")) {
        return false;
    }
    const name_facts* named = context.find(tokens[at - 1].text);
    return named != nullptr && named->kind == declared::structure;
}

// The entry of the name structure.field, under which a structure's field is declared; none when
// the structure has no such field (or the name is too long for one).
std::uint32_t qualified_field_entry(const program_declarations& program, std::string_view owner, std::string_view field)
{
    std::array<char, 256> key{};
    const std::size_t length = owner.size() + 1 + field.size();
    if (length > key.size()) {
        return program.names.none;
    }
    std::copy(owner.begin(), owner.end(), key.begin());
    key[owner.size()] = '.';
    std::copy(field.begin(), field.end(), key.begin() + static_cast<std::ptrdiff_t>(owner.size()) + 1);
    return program.names.find(std::string_view(key.data(), length));
}

// Appends structure.field as the structure's declaration spells both (Cam.shake, whatever the
// case of a use, or of a program's name Shake).
void write_qualified_field(const program_declarations& program, std::uint32_t structure, std::string_view field,
                           text_buffer& out)
{
    const std::string_view owner = program.names.name(structure);
    if (const std::uint32_t entry = qualified_field_entry(program, owner, field); entry != program.names.none) {
        out += program.names.name(entry);
        return;
    }
    out += owner;
    out += '.';
    out += field;
}

// Port.irq, the name tokens[at] of a structure, "." and one of its fields: appends the name the
// field is declared under, whatever the case of the use or of a program's name of the same letters
// (IRQ equ 4 beside the field irq). False, appending nothing, for any other tokens.
bool writes_structure_field_at(const std::vector<token>& tokens, std::size_t at, const expression_workspace& work,
                               text_buffer& out)
{
    if (at + 2 >= tokens.size() || tokens[at].kind != token_kind::name || tokens[at + 1].kind != token_kind::other ||
        tokens[at + 1].text != "." || tokens[at + 2].kind != token_kind::name || work.context == nullptr ||
        work.context->program == nullptr || !names_structure_field_at(tokens, at + 1, *work.context)) {
        return false;
    }
    const program_declarations& program = *work.context->program;
    const std::uint32_t entry = qualified_field_entry(program, tokens[at].text, tokens[at + 2].text);
    if (entry == program.names.none) {
        return false;
    }
    out += program.names.name(entry);
    return true;
}

// var.field: whether the "." token at tokens[at] adds the offset of a field to var, an instance of
// the field's structure (or a field that is an instance of it) or, in MASM mode, any variable.
bool adds_field_at(const std::vector<token>& tokens, std::size_t at, const expression_workspace& work)
{
    const token& t = tokens[at];
    if (t.kind != token_kind::other || t.text != "." || at == 0 || tokens[at - 1].kind != token_kind::name ||
        work.context == nullptr || work.context->program == nullptr) {
        return false;
    }
    if (at + 1 == tokens.size() || tokens[at + 1].kind != token_kind::name) {
        return false;
    }
    std::uint32_t owner = no_entry;
    if (names_structure_field_at(tokens, at, *work.context)) {
        return false;
    }
    return chained_field_at(tokens, at, *work.context, owner) != nullptr ||
           masm_field_of(tokens[at - 1].text, tokens[at + 1].text, work.context) != nullptr;
}

// DGROUP:msg, data:msg: a group's or segment's name before ":" tells Tasm the segment register
// that reaches it (one assume names); the address is the name's, which needs no more in an ELF
// object: the name and its ":" at tokens[at] are left out.
bool drops_segment_name_at(const std::vector<token>& tokens, std::size_t at, const expression_workspace& work)
{
    return at + 2 < tokens.size() && tokens[at].kind == token_kind::name && tokens[at + 1].text == ":" &&
           work.context != nullptr && work.context->names_segment(tokens[at].text);
}

// Every token in its GNU As form; var.field becomes var+field (IDEAL mode: var+structure.field).
void write_token_stream(string_meaning strings, const expression_workspace& work, text_buffer& out)
{
    const std::vector<token>& tokens = work.tokens;
    for (std::size_t at = 0; at < tokens.size(); ++at) {
        if (drops_segment_name_at(tokens, at, work)) {
            ++at;
            continue;
        }
        if (adds_field_at(tokens, at, work)) {
            out += '+';
            std::uint32_t owner = no_entry;
            if (work.context->ideal && chained_field_at(tokens, at, *work.context, owner) != nullptr) {
                // IDEAL: structure.field, spelled as the structure declares the field.
                write_qualified_field(*work.context->program, owner, tokens[++at].text, out);
                continue;
            }
            out += declared_spelling(tokens[++at].text, work);
            continue;
        }
        if (writes_structure_field_at(tokens, at, work, out)) {
            at += 2;
            continue;
        }
        write_token(tokens[at], strings, work, out);
    }
}

// Only text with a quote, a letter or a digit can hold anything to rewrite.
bool may_need_rewriting(std::string_view text)
{
    for (const char c : text) {
        if (is_decimal_digit(c) || is_letter(c) || is_quote(c) || c == '$' || c == '?') {
            return true;
        }
    }
    return false;
}

// The first letters, in either case, of the words that have no GNU As form.
constexpr byte_set no_gnu_as_form_starts = byte_set::where([](char c) {
    for (const expression_word_row& row : expression_word_table) {
        if (row.role == expression_word::no_gnu_as_form && fold_case(c) == row.name[0]) {
            return true;
        }
    }
    return false;
});

// A decimal number that GNU As reads the same, a sign before it or not (4, -6, +38): no leading
// zero, which would make it octal. Most displacements and immediates are one.
bool is_plain_decimal(std::string_view text)
{
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        text.remove_prefix(1);
    }
    if (text.empty() || (text[0] == '0' && text.size() > 1)) {
        return false;
    }
    for (const char c : text) {
        if (!is_decimal_digit(c)) {
            return false;
        }
    }
    return true;
}

} // namespace

gnu_as_number gnu_as_number_of(const token& number)
{
    switch (number.radix) {
    case number_radix::hexadecimal:
        return {"0x", number.digits};
    case number_radix::binary:
        return {"0B", number.digits};
    case number_radix::octal:
        return {"0", number.digits};
    case number_radix::decimal: {
        std::string_view digits = number.digits;
        while (digits.size() > 1 && digits.front() == '0') {
            digits.remove_prefix(1);
        }
        return {{}, digits};
    }
    case number_radix::real:
    case number_radix::invalid:
        break;
    }
    return {{}, number.text};
}

bool has_no_gnu_as_form(std::string_view word)
{
    // @@ begins a local label, which is no segment value.
    if (word.size() >= 2 && word[0] == '@' && word[1] != '@') {
        return true;
    }
    if (word.empty() || !no_gnu_as_form_starts.contains(word[0])) {
        return false;  // most names: no search
    }
    const expression_word_row* row = find_expression_word(word);
    return row != nullptr && row->role == expression_word::no_gnu_as_form;
}

const structure_field* field_of_structure(const name_facts& structure, std::string_view field,
                                          const program_declarations& program)
{
    for (std::uint32_t n = 0; n < structure.field_count; ++n) {
        const structure_field& candidate = program.fields[structure.first_field + n];
        if (candidate.name != no_entry && equal_folded(program.names.name(candidate.name), field)) {
            return &candidate;
        }
    }
    return nullptr;
}

const name_facts* structure_of_field(const structure_field& field, const program_declarations& program)
{
    const name_facts* type = program.find(program.view(field.directive));
    return type != nullptr && type->kind == declared::structure ? type : nullptr;
}

const structure_field* field_of_instance(std::string_view variable, std::string_view field,
                                         const conversion_context* context)
{
    if (context == nullptr || context->program == nullptr) {
        return nullptr;
    }
    const name_facts* instance = context->find(variable);
    if (instance == nullptr || instance->kind != declared::variable || instance->structure == no_entry) {
        return nullptr;
    }
    const program_declarations& program = *context->program;
    return field_of_structure(program.names.facts(instance->structure), field, program);
}

const name_facts* masm_field_of(std::string_view variable, std::string_view field, const conversion_context* context)
{
    if (context == nullptr || context->program == nullptr || context->ideal) {
        return nullptr;
    }
    const name_facts* left = context->find(variable);
    const name_facts* named = context->find(field);
    if (left == nullptr || (left->kind != declared::variable && left->kind != declared::field) || named == nullptr ||
        named->kind != declared::field) {
        return nullptr;
    }
    return field_of_instance(variable, field, context) == nullptr ? named : nullptr;
}

namespace {

// A token that comes out other than it was written.
bool needs_rewriting(const token& t, const expression_workspace& work)
{
    switch (t.kind) {
    case token_kind::number:
        return t.radix != number_radix::decimal || t.digits != t.text || (t.text.size() > 1 && t.text[0] == '0');
    case token_kind::string:
        return true;
    case token_kind::name:
        return t.text == "$" || t.text == "?" || (is_local_label(t.text) && !work.local_label_prefix.empty()) ||
               (work.context != nullptr && work.context->spelled_otherwise(t.text));
    case token_kind::other:
        return false;
    }
    return false;
}

} // namespace

namespace {

// write_single_token once the token is known to hold something to rewrite.
std::string_view write_token_alone(const token& t, text_buffer& out, const expression_workspace& work,
                                   string_meaning strings)
{
    write_token(t, strings, work, out);
    const bool left = (t.kind == token_kind::name && has_no_gnu_as_form(t.text)) ||
                      (t.kind == token_kind::string && !has_a_value(t, strings)) || t.misplaced_register ||
                      t.unplaced_name;
    return left ? t.text : std::string_view();
}

} // namespace

std::string_view write_single_token(const token& t, text_buffer& out, const expression_workspace& work,
                                    string_meaning strings)
{
    if (may_hold_unplaced_names(work) && is_unplaced_name(t, work)) {
        token unplaced = t;
        unplaced.unplaced_name = true;
        return write_token_alone(unplaced, out, work, strings);
    }
    // As write_expression passes over text with nothing to rewrite: of the tokens, only a name
    // can be such text (@, _, @_).
    if (t.kind == token_kind::name && !may_need_rewriting(t.text)) {
        out += t.text;
        return {};
    }
    return write_token_alone(t, out, work, strings);
}

namespace {

// A register operand's "%" is written before the rest of the operand is: the register name that
// comes first then has its "%" already.
bool written_after_percent(const text_buffer& out)
{
    return !out.empty() && out.back() == '%';
}

// write_expression for a text that may need rewriting.
std::string_view write_rewritten(std::string_view text, text_buffer& out, expression_workspace& work,
                                 string_meaning strings)
{
    // One token alone, as most operands and terms are, is written in its GNU As form at once.
    tokenizer tokens(text);
    token first;
    const bool unplaced = may_hold_unplaced_names(work);
    if (tokens.next(first) && first.text.size() == text.size()) {
        first.misplaced_register = is_misplaced_register(first, written_after_percent(out));
        first.unplaced_name = unplaced && is_unplaced_name(first, work);
        return write_token_alone(first, out, work, strings);
    }
    // A first look decides the way: most operands are written as they stand, or token by token.
    work.tokens.clear();
    work.tokens.push_back(first);
    for (token t; tokens.next(t);) {
        work.tokens.push_back(t);
    }
    bool rewrite = false;
    bool has_operator_word = false;
    std::string_view left_as_written;
    for (std::size_t at = 0; at < work.tokens.size(); ++at) {
        token& t = work.tokens[at];
        rewrite = rewrite || needs_rewriting(t, work) || adds_field_at(work.tokens, at, work) ||
                  drops_segment_name_at(work.tokens, at, work);
        if (left_as_written.empty() && t.kind == token_kind::string && !has_a_value(t, strings)) {
            left_as_written = t.text;
        }
        if (t.kind != token_kind::name) {
            continue;
        }
        t.misplaced_register =
            is_misplaced_register(t, at > 0 ? work.tokens[at - 1].text == "%" : written_after_percent(out));
        t.unplaced_name = unplaced && is_unplaced_name(t, work);
        if (t.misplaced_register || t.unplaced_name) {
            rewrite = true;
            left_as_written = left_as_written.empty() ? t.text : left_as_written;
        } else if (const expression_word_row* word = find_expression_word(t.text)) {
            has_operator_word = has_operator_word || word->role == expression_word::operator_word;
            if (left_as_written.empty() && word->role == expression_word::no_gnu_as_form) {
                left_as_written = t.text;
            }
        } else if (left_as_written.empty() && t.text[0] == '@' && has_no_gnu_as_form(t.text)) {
            left_as_written = t.text;
        }
    }
    if (!has_operator_word) {
        if (!rewrite) {
            out += text;
            return left_as_written;
        }
        write_token_stream(strings, work, out);
        return left_as_written;
    }
    // Blanks before and after the expression stay where they are.
    const std::size_t leading = skip_blanks(text, 0);
    const std::size_t trailing = trim_trailing_blanks(text).size();
    work.nodes.clear();
    parser p(text, work);
    std::size_t root = 0;
    if (!p.parse(root)) {
        write_token_stream(strings, work, out);
        return left_as_written;
    }
    out += text.substr(0, leading);
    printer(text, work, strings, out).print(root);
    out += text.substr(trailing);
    return left_as_written;
}

} // namespace

std::string_view write_expression(std::string_view text, text_buffer& out, expression_workspace& work,
                                  string_meaning strings)
{
    const bool unplaced = may_hold_unplaced_names(work);
    if ((!may_need_rewriting(text) && !unplaced) || is_plain_decimal(text)) {
        out += text;
        return {};
    }
    // mask and width of a record are numbers the declarations know: the text is written with
    // them in place. A word left as written is then found again in the text as it came.
    if (work.context != nullptr && work.context->program != nullptr &&
        work.context->program->declares(declared::record)) {
        work.record_operators.clear();
        if (write_record_operators(text, *work.context, work.record_operators)) {
            const std::string_view left = write_rewritten(work.record_operators, out, work, strings);
            const std::size_t at = left.empty() ? std::string_view::npos : text.find(left);
            return at == std::string_view::npos ? left : text.substr(at, left.size());
        }
    }
    return write_rewritten(text, out, work, strings);
}

std::string_view write_expression(std::string_view text, text_buffer& out, string_meaning strings)
{
    expression_workspace work;
    return write_expression(text, out, work, strings);
}

} // namespace dravent
