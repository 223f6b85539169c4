// The directive handlers and line writers, and the choice of the lines they convert whole.
#include "convert/directives.hpp"

#include "convert/warnings.hpp"

#include "convert/data.hpp"
#include "convert/data_list.hpp"
#include "convert/memory_ref.hpp"
#include "convert/write_expression.hpp"
#include "declarations/collect_declarations.hpp"
#include "declarations/text_equates.hpp"
#include "source/tokenizer.hpp"
#include "text/characters.hpp"

#include <charconv>
#include <initializer_list>
#include "vocabulary/flags.hpp"
#include "vocabulary/registers.hpp"
#include "vocabulary/size_keywords.hpp"

namespace dravent {
namespace {

// The name moves into the mnemonic field, followed by a comma; the directive takes the label's
// place. The value stays as written, so the line is a data line.
void move_name_after(statement_draft& draft, std::string_view directive, converted_line& line)
{
    const std::size_t begin = line.text.size();
    line.text.append(line.view(draft.label));
    line.text += ',';
    draft.mnemonic = piece::in_buffer(begin, line.text.size());
    draft.label = directive;
    draft.line_flags |= LINE_DATA;
}

// name equ this type, name = this type: the label name: where the line stands.
bool label_of_this(statement_draft& draft, converted_line& line)
{
    if (draft.operands.size() != 1 || this_type(draft.operands[0]).empty()) {
        return false;
    }
    const std::size_t begin = line.text.size();
    line.text.append(line.view(draft.label));
    line.text += ':';
    draft.label = piece::in_buffer(begin, line.text.size());
    draft.mnemonic = {};
    draft.operands = {};
    draft.line_flags = 0;
    return true;
}

} // namespace

void handle_assign(statement_draft& draft, const conversion_context& /*context*/, converted_line& line)
{
    if (label_of_this(draft, line)) {
        return;
    }
    draft.line_flags |= LINE_EQUATE;
    if (draft.operands.size() != 1) {
        return;
    }
    const std::string_view value = draft.operands[0];
    std::size_t cursor = 0;
    if (match_size_keyword(value, cursor) == 0) {
        return;
    }
    cursor = skip_blanks(value, cursor);
    if (begins_with_keyword(value, cursor, "ptr")) {
        cursor = skip_blanks(value, cursor + 4);
    }
    draft.replace_first_operand(value.substr(cursor));
}

namespace {

// name equ variable: the declarations made name a text, the variable's name, from this line on.
bool names_variable_here(std::string_view name, std::string_view other, const conversion_context& context)
{
    std::string_view text;
    return !other.empty() && context.program->text_of(name, context.line + 1, text) && text == other;
}

// arg1 equ [bp+4], count equ cx, name equ <text>, name equ other (other's text a reference or a
// register): Tasm keeps the text and puts it in place of each use; a GNU As equate holds a number
// only. With the program's declarations the uses of a text that an operand can hold get their
// text, and the line keeps only its comment. Returns true when it has emptied the line; false for
// a text left for a hand, and for no text at all.
bool drop_text_equate(statement_draft& draft, const conversion_context& context, const converted_line& line)
{
    std::string_view text;
    if (draft.operands.size() != 1 || context.program == nullptr) {
        return false;
    }
    const std::string_view verb = line.view(draft.mnemonic);
    const std::string_view other = equated_name(verb, draft.operands[0]);
    if (!text_equate_text(verb, draft.operands[0], text) &&
        !(context.program->text_of(other, context.line, text) && takes_text_of_name(verb, text)) &&
        !names_variable_here(line.view(draft.label), other, context)) {
        return false;
    }
    draft.label = {};
    draft.mnemonic = {};
    draft.operands = {};
    draft.line_flags = 0;
    return true;
}

} // namespace

void handle_equ(statement_draft& draft, const conversion_context& context, converted_line& line)
{
    if (label_of_this(draft, line) || drop_text_equate(draft, context, line)) {
        return;
    }
    // A text left for a hand: in angle brackets (with a comma inside, it is split into operands),
    // or a reference or register converted without the program's declarations.
    if (!draft.operands.empty()) {
        const std::string_view value = trim_blanks(draft.operands[0]);
        std::string_view text;
        if (!value.empty() && (value.front() == '<' || (draft.operands.size() == 1 && (holds_memory_ref(value) ||
                                                         text_equate_text(line.view(draft.mnemonic), value, text))))) {
            line.warnings.push_back({0, warning_text::text_equate});
        }
    }
    move_name_after(draft, ".equ", line);
    draft.line_flags |= LINE_EQUATE;
}

void handle_textequ(statement_draft& draft, const conversion_context& context, converted_line& line)
{
    if (drop_text_equate(draft, context, line)) {
        return;
    }
    line.warnings.push_back({0, warning_text::text_equate});
    move_name_after(draft, ".textequ", line);
}

namespace {

// The .arch the line writes, if the declarations change what GNU As is to assemble for there.
const arch_change* arch_change_of(const conversion_context& context)
{
    return context.program != nullptr ? context.program->arch_change_at(context.line) : nullptr;
}

statement& add_statement(converted_line& line, std::string_view mnemonic)
{
    statement& added = line.statements.emplace_back();
    added.mnemonic = mnemonic;
    added.first_operand = line.operands.size();
    return added;
}

void add_operand(converted_line& line, piece operand)
{
    line.operands.push_back(operand);
    ++line.statements.back().operand_count;
}

// The line as the source has it, so that GNU As rejects it: the label without a colon, the
// directive and its arguments.
void write_as_written(const directive_line& directive, converted_line& line)
{
    line.warnings.push_back({0, warning_text::directive_as_written});
    line.label = directive.label;
    add_statement(line, directive.word);
    if (!directive.arguments.empty()) {
        add_operand(line, directive.arguments);
    }
}

void write_label_only(std::string_view name, converted_line& line)
{
    line.label = name;
    line.label_colon = true;
}

// The arguments of a directive, token by token, blanks skipped.
class argument_reader {
public:
    explicit argument_reader(std::string_view text) : tokens_(text) {}

    // The next token that is not a blank; false at the end.
    bool next(token& t)
    {
        while (tokens_.next(t)) {
            if (t.kind != token_kind::other || !is_blank(t.text[0])) {
                return true;
            }
        }
        return false;
    }

    bool at_end()
    {
        token ignored;
        return !next(ignored);
    }

private:
    tokenizer tokens_;
};

bool is_name(const token& t) { return t.kind == token_kind::name; }

bool is_one_of(std::string_view word, std::initializer_list<std::string_view> words)
{
    for (const std::string_view candidate : words) {
        if (equal_folded(word, candidate)) {
            return true;
        }
    }
    return false;
}

bool ends_with_folded(std::string_view text, std::string_view ending)
{
    return text.size() >= ending.size() && equal_folded(text.substr(text.size() - ending.size()), ending);
}

// A section written by a fixed directive, for a line with nothing beside its directive.
void write_fixed_section(const directive_line& directive, std::string_view mnemonic, std::string_view operand,
                         converted_line& line)
{
    if (!directive.label.empty() || !directive.arguments.empty()) {
        write_as_written(directive, line);
        return;
    }
    add_statement(line, mnemonic);
    if (!operand.empty()) {
        add_operand(line, operand);
    }
}

// The name that a MASM line writes before the directive, or the first argument of an IDEAL line.
bool take_declared_name(const directive_line& directive, argument_reader& arguments, std::string_view& name)
{
    if (!directive.label.empty()) {
        name = directive.label;
        return name.back() != ':';
    }
    token t;
    if (!arguments.next(t) || !is_name(t)) {
        return false;
    }
    name = t.text;
    return true;
}

// The name of one entry of a global list, "name" or "name:type...", or empty when the entry is
// no such thing.
std::string_view global_name(std::string_view entry)
{
    const std::size_t begin = skip_blanks(entry, 0);
    const std::size_t end = find_from(entry, begin, [](char c) { return !continues_name(c); });
    const std::size_t after = skip_blanks(entry, end);
    if (begin == end || !starts_name(entry[begin]) || (after != entry.size() && entry[after] != ':')) {
        return {};
    }
    return entry.substr(begin, end - begin);
}

// The code size a model line gives, 16 or 32; 0 for a line the converter does not read: a module
// name, an unknown word, and a model with far code (medium, large, huge, tpascal) unless the
// declarations of the program are known, which make its procedures' returns far. After the first
// comma come the language and model modifiers, of which only use16 and use32 matter here.
int model_code_size(std::string_view arguments, bool far_code_known)
{
    argument_reader reader(arguments);
    int model = 0;
    int use = 0;
    bool after_comma = false;
    for (token t; reader.next(t);) {
        if (t.kind == token_kind::other && t.text == ",") {
            after_comma = true;
        } else if (!is_name(t)) {
            return 0;
        } else if (is_one_of(t.text, {"use16", "use32"})) {
            use = equal_folded(t.text, "use32") ? 32 : 16;
        } else if (after_comma) {
            continue;
        } else if (model == 0 && is_one_of(t.text, {"tiny", "small", "compact"})) {
            model = 16;
        } else if (model == 0 && far_code_known && is_one_of(t.text, {"medium", "large", "huge", "tpascal"})) {
            model = 16;
        } else if (model == 0 && equal_folded(t.text, "flat")) {
            model = 32;
        } else if (!is_one_of(t.text, {"nearstack", "farstack", "dos", "os2", "windows", "nt"})) {
            return 0;
        }
    }
    if (model == 0 || (model == 32 && use == 16)) {
        return 0;
    }
    return use != 0 ? use : model;
}

} // namespace

void write_model(const directive_line& directive, const conversion_context& context, converted_line& line)
{
    const int bits = model_code_size(directive.arguments, context.program != nullptr);
    if (!directive.label.empty() || bits == 0) {
        write_as_written(directive, line);
        return;
    }
    add_statement(line, bits == 32 ? ".code32" : ".code16");
}

void write_code_section(const directive_line& directive, const conversion_context& /*context*/, converted_line& line)
{
    write_fixed_section(directive, ".text", {}, line);
}

void write_gnu_as_directive(const directive_line& directive, const conversion_context& /*context*/,
                            converted_line& line)
{
    write_fixed_section(directive, directive.word, {}, line);
}

void write_bss_section(const directive_line& directive, const conversion_context& /*context*/, converted_line& line)
{
    write_fixed_section(directive, ".bss", {}, line);
}

void write_rodata_section(const directive_line& directive, const conversion_context& /*context*/,
                          converted_line& line)
{
    write_fixed_section(directive, ".section", ".rodata", line);
}

// The segments named _TEXT, _DATA and _BSS are GNU As's .text, .data and .bss: added for them.
bool add_standard_section(std::string_view name, converted_line& line)
{
    for (const auto& [segment, section] : {std::pair{"_text", ".text"}, {"_data", ".data"}, {"_bss", ".bss"}}) {
        if (equal_folded(name, segment)) {
            add_statement(line, std::string_view(section));
            return true;
        }
    }
    return false;
}

void write_segment(const directive_line& directive, const conversion_context& context, converted_line& line)
{
    argument_reader arguments(directive.arguments);
    std::string_view name;
    if (!take_declared_name(directive, arguments, name)) {
        write_as_written(directive, line);
        return;
    }
    std::string_view use;
    std::string_view class_name;
    bool has_class = false;
    for (token t; arguments.next(t);) {
        if (t.kind == token_kind::string && t.closed && !has_class) {
            class_name = t.digits;
            has_class = true;
        } else if (is_name(t) && is_one_of(t.text, {"use16", "use32"}) && use.empty()) {
            use = equal_folded(t.text, "use32") ? ".code32" : ".code16";
        } else if (!is_name(t) || !is_one_of(t.text, {"byte", "word", "dword", "para", "page", "mempage", "public",
                                                      "private", "common", "stack", "memory", "virtual"})) {
            // AT, an access attribute, a second class: no section of an ELF object says it.
            write_as_written(directive, line);
            return;
        }
    }
    if (!add_standard_section(name, line)) {
        const bool code = has_class ? ends_with_folded(class_name, "code")
                                    : ends_with_folded(name, "code") || ends_with_folded(name, "text");
        const bool uninitialised = has_class && ends_with_folded(class_name, "bss");
        add_statement(line, ".section");
        add_operand(line, name);
        add_operand(line, code ? std::string_view("\"ax\"") : std::string_view("\"aw\""));
        if (uninitialised && !code) {
            add_operand(line, std::string_view("@nobits"));
        }
    }
    // Without use16 or use32 a segment holds 16-bit code (32-bit under model flat), which the
    // declarations tell; GNU As must be told too, or it assembles 32-bit code.
    if (use.empty() && context.code_bits != 0) {
        use = context.code_bits == 32 ? ".code32" : ".code16";
    }
    if (!use.empty()) {
        add_statement(line, use);
    }
}

// name ends: the segment closes. When it was opened inside another, the lines after it stand in
// that one again, as Tasm reads them; GNU As stays in the section it was told last, so it is told
// the outer one's again (a section's name alone takes up its flags), with its code size.
void write_ends(const directive_line& /*directive*/, const conversion_context& context, converted_line& line)
{
    const program_declarations* program = context.program;
    if (program == nullptr || context.segment == 0 || context.segment >= program->segment_sections.size()) {
        return;
    }
    const auto change = std::lower_bound(program->segments.begin(), program->segments.end(), context.line,
                                         [](const segment_change& c, std::uint64_t l) { return c.first_line < l; });
    if (change == program->segments.end() || change->first_line != context.line) {
        return;  // the line closes the outermost segment, or none
    }
    const std::string_view name = program->segment_names.name(context.segment - 1);
    switch (program->segment_sections[context.segment]) {
    case segment_section::none:
        return;
    case segment_section::named:
    case segment_section::named_bss:
        if (!add_standard_section(name, line)) {
            add_statement(line, ".section");
            add_operand(line, name);
        }
        break;
    case segment_section::text:
        add_statement(line, ".text");
        break;
    case segment_section::data:
        add_statement(line, ".data");
        break;
    case segment_section::bss:
        add_statement(line, ".bss");
        break;
    case segment_section::rodata:
        add_statement(line, ".section");
        add_operand(line, std::string_view(".rodata"));
        break;
    }
    add_statement(line, context.code_bits == 32 ? ".code32" : ".code16");
}

// name proc [near]: a label. A far procedure is one too once the program's declarations are
// known, for then its returns are far; without them it stays as written, for GNU As to reject.
void write_proc(const directive_line& directive, const conversion_context& context, converted_line& line)
{
    argument_reader arguments(directive.arguments);
    std::string_view name;
    token distance;
    const auto readable_distance = [&] {
        return is_name(distance) && arguments.at_end() &&
               (equal_folded(distance.text, "near") || (equal_folded(distance.text, "far") && context.program != nullptr));
    };
    const bool plain = take_declared_name(directive, arguments, name) && (!arguments.next(distance) || readable_distance());
    if (!plain) {
        write_as_written(directive, line);
        return;
    }
    write_label_only(name, line);
}

void write_label(const directive_line& directive, const conversion_context& /*context*/, converted_line& line)
{
    argument_reader arguments(directive.arguments);
    std::string_view name;
    token type;
    if (!take_declared_name(directive, arguments, name) || !arguments.next(type) || !is_name(type) ||
        !arguments.at_end()) {
        write_as_written(directive, line);
        return;
    }
    write_label_only(name, line);
}

void write_global(const directive_line& directive, const conversion_context& context, converted_line& line)
{
    // Each name may carry a type (a:word, p:proc, t:byte:10); .globl takes the names alone.
    const std::string_view names = directive.arguments;
    if (!directive.label.empty() || names.empty()) {
        write_as_written(directive, line);
        return;
    }
    add_statement(line, ".globl");
    for (std::size_t begin = 0; begin <= names.size();) {
        const std::size_t comma = find_from(names, begin, [](char c) { return c == ','; });
        const std::string_view name = global_name(names.substr(begin, comma - begin));
        if (name.empty()) {
            line.statements.clear();
            line.operands.clear();
            write_as_written(directive, line);
            return;
        }
        add_operand(line, context.spelling_of(name));
        begin = comma + 1;
    }
}

void write_comm(const directive_line& directive, const conversion_context& context, converted_line& line)
{
    const std::string_view list = directive.arguments;
    if (!directive.label.empty() || list.empty() || context.program == nullptr) {
        write_as_written(directive, line);
        return;
    }
    for (std::size_t begin = 0; begin <= list.size();) {
        const std::size_t comma = std::min(list.find(',', begin), list.size());
        communal variable;
        if (!read_communal(list.substr(begin, comma - begin), *context.program, variable)) {
            line.statements.clear();
            line.operands.clear();
            write_as_written(directive, line);
            return;
        }
        add_statement(line, ".comm");
        add_operand(line, context.spelling_of(variable.name));
        const std::size_t bytes = line.text.size();
        char digits[12];
        line.text.append(std::string_view(digits, static_cast<std::size_t>(
                                                       std::to_chars(digits, digits + sizeof digits, variable.bytes).ptr - digits)));
        add_operand(line, piece::in_buffer(bytes, line.text.size()));
        begin = comma + 1;
    }
}

namespace {

// Tasm's conditional assembly and the GNU As directive of each; what the condition is.
enum class condition { none, expression, name };

struct conditional_row {
    std::string_view tasm;
    std::string_view gnu_as;
    condition takes;
    bool fails = false;  // assembly fails where the condition holds: .if ...; .err; .endif
};

constexpr conditional_row conditional_table[] = {
    {"if", ".if", condition::expression},       {"ife", ".ifeq", condition::expression},
    {"elseif", ".elseif", condition::expression}, {"ifdef", ".ifdef", condition::name},
    {"ifndef", ".ifndef", condition::name},     {"else", ".else", condition::none},
    {"endif", ".endif", condition::none},
    // err and .err make assembly fail where they stand, in GNU As as in Tasm (mostly within a condition).
    {"err", ".err", condition::none},           {".err", ".err", condition::none},
    // The same with a condition of their own: .errnz SIZE - 512 fails unless SIZE is 512.
    {".errnz", ".if", condition::expression, true},   {"errif", ".if", condition::expression, true},
    {".erre", ".ifeq", condition::expression, true},  {"errife", ".ifeq", condition::expression, true},
    {".errdef", ".ifdef", condition::name, true},     {"errifdef", ".ifdef", condition::name, true},
    {".errndef", ".ifndef", condition::name, true},   {"errifndef", ".ifndef", condition::name, true},
};

const conditional_row* conditional_named(std::string_view word)
{
    for (const conditional_row& row : conditional_table) {
        if (equal_folded(word, row.tasm)) {
            return &row;
        }
    }
    return nullptr;
}

// The condition as GNU As reads it, in the line's buffer; false when it has no GNU As form.
bool write_condition(condition takes, std::string_view arguments, converted_line& line)
{
    if (takes == condition::none) {
        return arguments.empty();
    }
    const std::size_t begin = line.text.size();
    if (takes == condition::name) {
        tokenizer tokens(arguments);
        token t;
        if (!tokens.next(t) || !is_name(t) || t.text.size() != arguments.size()) {
            return false;
        }
        line.text.append(arguments);
    } else if (arguments.empty() || !write_expression(arguments, line.text, line.work.expressions).empty()) {
        return false;
    }
    add_operand(line, piece::in_buffer(begin, line.text.size()));
    return true;
}

} // namespace

void write_conditional(const directive_line& directive, const conversion_context& context, converted_line& line)
{
    const conditional_row* row = conditional_named(directive.word);
    if (row == nullptr || !directive.label.empty()) {
        write_as_written(directive, line);
        return;
    }
    // A structure, a record, a group, a segment, a text equate or an extrn is no GNU As symbol, so
    // .ifdef would find it undefined: the declarations tell whether Tasm finds it defined (one
    // declared only in a branch Dravent cannot decide may be or not).
    const name_test* test = row->takes == condition::name && context.program != nullptr
                                ? context.program->name_test_at(context.line)
                                : nullptr;
    // An @@ label is no GNU As name either, and which one it stands for depends on the scope.
    if ((test != nullptr && !test->known) || (row->takes == condition::name && is_local_label(directive.arguments))) {
        write_as_written(directive, line);
        return;
    }
    add_statement(line, test != nullptr ? ".if" : row->gnu_as);
    if (test != nullptr) {
        const std::size_t begin = line.text.size();
        line.text += (row->gnu_as == ".ifdef") == test->defined ? "1" : "0";
        add_operand(line, piece::in_buffer(begin, line.text.size()));
    } else if (!write_condition(row->takes, directive.arguments, line)) {
        line.statements.clear();
        line.operands.clear();
        write_as_written(directive, line);
        return;
    }
    if (row->fails) {
        add_statement(line, ".err");
        add_statement(line, ".endif");
    }
}

void write_processor(const directive_line& /*directive*/, const conversion_context& context, converted_line& line)
{
    const arch_change* change = arch_change_of(context);
    if (change == nullptr) {
        return;
    }
    constexpr std::array<std::string_view, 4> cpu_names{"i8086", "i186", "i286", "default"};
    constexpr std::array<std::string_view, 3> fpu_names{".8087", ".287", ".387"};
    add_statement(line, ".arch", cpu_names[static_cast<std::size_t>(change->cpu)]);
    if (change->cpu != cpu_level::any) {
        add_statement(line, ".arch", fpu_names[static_cast<std::size_t>(change->fpu)]);
    }
}

void write_even(const directive_line& directive, const conversion_context& /*context*/, converted_line& line)
{
    write_fixed_section(directive, ".balign", "2", line);
}

namespace {

struct rest_of_line {
    std::string_view arguments;  // without blanks at either end
    std::string_view list;       // the same with the blanks at its end, as a data list keeps them
    bool has_comment = false;
    std::string_view comment;
};

// What follows position in the line: the arguments up to a ";" outside quotes, and the comment.
rest_of_line rest_from(std::string_view text, std::size_t position)
{
    const std::size_t semicolon = find_comment(text, position);
    rest_of_line rest;
    const std::size_t begin = skip_blanks(text, position);
    rest.list = text.substr(begin, semicolon > begin ? semicolon - begin : 0);
    rest.arguments = trim_trailing_blanks(rest.list);
    rest.has_comment = semicolon < text.size();
    rest.comment = rest.has_comment ? text.substr(semicolon + 1) : std::string_view();
    return rest;
}

rest_of_line rest_after(std::string_view text, std::string_view word)
{
    return rest_from(text, static_cast<std::size_t>(word.data() - text.data()) + word.size());
}

void take_comment(const rest_of_line& rest, converted_line& line)
{
    line.has_comment = rest.has_comment;
    line.comment = rest.comment;
}

// A line of blanks, a comment or nothing.
bool is_empty(const source_line& source)
{
    return source.label.empty() && source.mnemonic.empty() && source.operands.empty();
}

// A data definition in the first column without a label (db 1,2) that the statement converter
// wrote right, as ".byte<tab>1,2<tab>", keeps that form.
void keep_first_column_form(const source_line& source, std::string_view rename, converted_line& line)
{
    if (rename.empty() || !source.operands.empty() || line.leaves_open != data_directive::none ||
        line.statements.size() != 1 || line.view(line.statements[0].mnemonic) != rename ||
        line.has_comment != source.has_comment || line.comment != source.comment) {
        return;
    }
    std::string_view rest = source.mnemonic;
    const statement& only = line.statements[0];
    for (std::size_t n = 0; n < only.operand_count; ++n) {
        const std::string_view operand = line.view(line.operands[only.first_operand + n]);
        if (n > 0) {
            if (rest.empty() || rest.front() != ',') {
                return;
            }
            rest.remove_prefix(1);
        }
        if (rest.substr(0, operand.size()) != operand) {
            return;
        }
        rest.remove_prefix(operand.size());
    }
    if (!rest.empty()) {
        return;
    }
    line.label = rename;
    line.label_colon = false;
    line.operands.clear();
    line.statements.clear();
    add_statement(line, source.mnemonic);
}

// A db, dw, dd or dq list without a quote, a parenthesis or a point holds no string, dup or real:
// only values, which the statement converter writes as convert_data would, in the same order and
// the same text. It is left to that converter, which is quicker about it.
bool holds_plain_values(data_directive directive, std::string_view list)
{
    if (directive == data_directive::df || directive == data_directive::dt) {
        return false;
    }
    for (const char c : list) {
        if (is_quote(c) || c == '(' || c == '.') {
            return false;
        }
    }
    return true;
}

whole_line define_data(const mnemonic_row& row, std::string_view word, std::string_view label,
                       const source_line& source, const conversion_context& context, converted_line& line)
{
    const data_directive directive = data_directive_of(word);
    if (directive == data_directive::none) {
        return whole_line::not_converted;
    }
    const rest_of_line rest = rest_after(source.text, word);
    if (word.data() == source.mnemonic.data() && holds_plain_values(directive, rest.list)) {
        line.leaves_open = !rest.arguments.empty() && rest.arguments.back() == ',' ? directive : data_directive::none;
        return whole_line::not_converted;
    }
    if (!convert_data(directive, label, rest.list, context, line)) {
        line.warnings.push_back({source.column_of(word), warning_text::data_as_written});
        return whole_line::not_converted;
    }
    take_comment(rest, line);
    if (word.data() == source.label.data()) {
        keep_first_column_form(source, row.rename, line);
    }
    return whole_line::data;
}

void continue_data(data_directive continued, const source_line& source, const conversion_context& context,
                   converted_line& line)
{
    const rest_of_line rest = rest_from(source.text, 0);
    if (!convert_data(continued, {}, rest.list, context, line)) {
        line.warnings.push_back({0, warning_text::data_as_written});
        line.statements.clear();
        line.operands.clear();
        add_statement(line, tasm_word(continued));
        add_operand(line, rest.arguments);
    }
    take_comment(rest, line);
}

whole_line write_directive(const directive_row* row, std::string_view label, std::string_view word,
                           const source_line& source, const conversion_context& context, converted_line& line)
{
    if (row == nullptr || row->write == nullptr) {
        return whole_line::not_converted;
    }
    // A processor line that changes nothing GNU As is told is dropped, as any Tasm-only directive.
    if (row->write == write_processor && arch_change_of(context) == nullptr) {
        return whole_line::not_converted;
    }
    const rest_of_line rest = rest_after(source.text, word);
    take_comment(rest, line);
    row->write({label, word, rest.arguments}, context, line);
    return whole_line::directive;
}

} // namespace

whole_line convert_whole_line(whole_line_word word, const source_line& source, const conversion_context& context,
                              data_directive continued, converted_line& line)
{
    if (continued != data_directive::none) {
        if (is_empty(source)) {
            line.leaves_open = continued;  // a blank or comment line between keeps the list open
            return whole_line::not_converted;
        }
        continue_data(continued, source, context, line);
        return whole_line::data;
    }
    switch (word) {
    case whole_line_word::data_in_mnemonic:
        return define_data(*source.mnemonic_word, source.mnemonic, source.label, source, context, line);
    case whole_line_word::data_in_label:
        return define_data(*source.label_word, source.label, {}, source, context, line);
    case whole_line_word::directive_in_mnemonic:
        return write_directive(directive_table.find(source.mnemonic), source.label, source.mnemonic, source, context,
                               line);
    case whole_line_word::directive_in_label:
        return write_directive(directive_table.find(source.label), {}, source.label, source, context, line);
    case whole_line_word::none:
        break;
    }
    return whole_line::not_converted;
}

} // namespace dravent
