// Statement conversion: renames and directives from the vocabulary, label colons, line flags,
// then every operand and the size letters they give the mnemonic.
#include "convert/convert_statement.hpp"

#include "convert/convert_operand.hpp"
#include "convert/directives.hpp"
#include "convert/records.hpp"
#include "convert/structures.hpp"
#include "convert/text_equate_uses.hpp"
#include "convert/warnings.hpp"
#include "source/tokenizer.hpp"
#include "vocabulary/registers.hpp"
#include "vocabulary/size_keywords.hpp"
#include "vocabulary/size_letters.hpp"
#include "text/characters.hpp"
#include "vocabulary/mnemonics.hpp"

#include <algorithm>
#include <optional>
#include <array>

namespace dravent {
namespace {

// How a line's statement was found in the tables.
enum class found { in_mnemonic, in_label, nowhere };

int jump_flag_of(std::string_view mnemonic)
{
    return !mnemonic.empty() && fold_case(mnemonic.front()) == 'j' ? LINE_JUMP : 0;
}

// The line flags of a word: its row's, which hold the jump flag of every row spelt with a "j"; for
// a word outside the vocabulary, the jump flag alone.
int flags_of_word(const mnemonic_row* row, std::string_view word)
{
    return row != nullptr ? row->flags : jump_flag_of(word);
}

constexpr bool rows_spelt_with_j_are_jumps()
{
    for (const mnemonic_row& row : mnemonic_table) {
        if ((row.name.front() == 'j' || (!row.rename.empty() && row.rename.front() == 'j')) &&
            (row.flags & LINE_JUMP) == 0) {
            return false;
        }
    }
    return true;
}
static_assert(rows_spelt_with_j_are_jumps(), "mnemonic_table: a row spelt with a j carries LINE_JUMP");

// Searches the mnemonic table by mnemonic, then by label, for a rename; then the directive table
// the same way. The first hit wins. Returns how the statement was found, after any directive
// has been handled, and sets the line flags of the mnemonic as it ends up.
found replace_from_tables(statement_draft& draft, const source_line& source, const conversion_context& context,
                          converted_line& line)
{
    const mnemonic_row* mnemonic = source.mnemonic_word;
    draft.kind = mnemonic != nullptr ? mnemonic->kind : word_kind::instruction;
    draft.rule = mnemonic != nullptr ? mnemonic->rule : rule_of_spelling(source.mnemonic, word_kind::instruction);
    draft.known = mnemonic != nullptr;
    if (mnemonic != nullptr && !mnemonic->rename.empty()) {
        draft.mnemonic = mnemonic->rename;
        draft.line_flags = mnemonic->flags;
        return found::in_mnemonic;
    }
    draft.line_flags = flags_of_word(mnemonic, source.mnemonic);
    const mnemonic_row* label = source.label_word;
    if (label != nullptr && !label->rename.empty()) {
        // A renamed directive in column 0 (public a, b): what follows it is written as the
        // directive's own operands would be.
        draft.label = label->rename;
        if (label->kind == word_kind::directive) {
            draft.line_flags = label->flags;
        }
        return found::in_label;
    }
    found how = found::in_mnemonic;
    const directive_row* directive = nullptr;
    if (mnemonic != nullptr && mnemonic->kind == word_kind::directive) {
        directive = directive_table.find(source.mnemonic);
    }
    if (directive == nullptr && label != nullptr && label->kind == word_kind::directive) {
        how = found::in_label;
        directive = directive_table.find(source.label);
    }
    if (directive == nullptr) {
        return found::nowhere;
    }
    if (directive->handler == nullptr) {
        // A Tasm-only directive is dropped with its label and operands; its comment stays.
        draft.label = {};
        draft.mnemonic = {};
        draft.operands = {};
        draft.line_flags = 0;
        return how;
    }
    // The flags are those of the mnemonic the handler leaves, with any the handler sets itself.
    const int unhandled_flags = draft.line_flags;
    draft.line_flags = 0;
    draft.kind = word_kind::directive;
    directive->handler(draft, context, line);
    const std::string_view handled = line.view(draft.mnemonic);
    draft.line_flags |= handled == source.mnemonic ? unhandled_flags : line_flags_of(handled);
    draft.rule = rule_of_spelling(handled, word_kind::directive);
    return directive->found_in_label ? found::in_label : found::in_mnemonic;
}

bool is_count_register(std::string_view converted) { return equal_folded(converted, "%cl"); }

// What the operands of one statement turned out to be, in source order.
using operand_results = std::vector<operand_result>;

// What a size keyword gives a memory operand, or else the size of the variable it names.
int sized_flags(const operand_result& result)
{
    const int sizes = SIZE_LETTER_FLAGS | SIZE_TBYTE | SIZE_FWORD;
    return (result.size_flags & sizes) != 0 ? result.size_flags : result.size_flags | result.declared_flags;
}

int size_flags_of(const operand_results& results, operand_form form)
{
    int flags = 0;
    for (const operand_result& result : results) {
        flags |= result.form == form ? sized_flags(result) : 0;
    }
    return flags;
}

// The declared sizes of the memory operands: the letter when no register and no size keyword
// gives one (inc count, mov [flag], 1).
int declared_flags_of(const operand_results& results)
{
    int flags = 0;
    for (const operand_result& result : results) {
        flags |= result.form == operand_form::memory ? result.declared_flags : 0;
    }
    return flags;
}

// The size flags that select an ordinary instruction's letters: those of all operands, except a
// shift count in cl and a port register beside another size.
int ordinary_size_flags(int line_flags, const operand_results& results, bool count_in_cl)
{
    const std::size_t operands_sized = count_in_cl ? results.size() - 1 : results.size();
    int flags = 0;
    for (std::size_t n = 0; n < operands_sized; ++n) {
        flags |= results[n].size_flags;
    }
    // In a port instruction the word-sized port register gives no letter beside another size.
    if ((line_flags & LINE_PORT_IO) != 0 && flags != SIZE_WORD) {
        flags &= ~SIZE_WORD;
    }
    return flags;
}

// x87 memory operands: a float takes s for dword, l for qword, t for tbyte; an integer s for
// word, l for dword, q for qword (GNU As also reads ll). Registers give x87 mnemonics no letter.
std::string_view x87_letters(word_kind kind, int memory_flags)
{
    if (kind == word_kind::x87_float) {
        return (memory_flags & SIZE_DWORD) != 0 ? "s" : (memory_flags & SIZE_QWORD) != 0 ? "l"
             : (memory_flags & SIZE_TBYTE) != 0 ? "t" : "";
    }
    if (kind == word_kind::x87_integer) {
        return (memory_flags & SIZE_WORD) != 0 ? "s" : (memory_flags & SIZE_DWORD) != 0 ? "l"
             : (memory_flags & SIZE_QWORD) != 0 ? "q" : "";
    }
    return letters_of(memory_flags);  // the control, status and environment forms
}

// The register a string instruction addresses its memory operands through, by the mnemonic's
// first letters, for the first and the second operand as Tasm writes them. Tasm's operand names
// only the size and the segment: lods table reads ds:[si] whatever table's address.
struct string_operand_row {
    std::string_view mnemonic;
    std::string_view first;
    std::string_view second;
};
constexpr std::array<string_operand_row, 8> string_operand_table{{
    {"cmps", "si", "di"}, {"ins", "di", "di"},  {"lods", "si", "si"}, {"movs", "di", "si"},
    {"outs", "si", "si"}, {"scas", "di", "di"}, {"stos", "di", "di"}, {"xlat", "bx", "bx"},
}};

std::string_view string_operand_register(std::string_view mnemonic, std::size_t operand)
{
    for (const string_operand_row& row : string_operand_table) {
        if (mnemonic.size() >= row.mnemonic.size() && equal_folded(mnemonic.substr(0, row.mnemonic.size()), row.mnemonic)) {
            return operand == 0 ? row.first : row.second;
        }
    }
    return {};
}

struct swap_row {
    std::string_view intel;
    std::string_view att;
};

// GNU As keeps a historical swap: with a destination st(i), i > 0, the AT&T subtraction and
// division have the "r" the other way round. The popping forms always have such a destination.
constexpr std::array<swap_row, 8> x87_swap_table{{
    {"fsub", "fsubr"}, {"fsubr", "fsub"}, {"fdiv", "fdivr"}, {"fdivr", "fdiv"},
    {"fsubp", "fsubrp"}, {"fsubrp", "fsubp"}, {"fdivp", "fdivrp"}, {"fdivrp", "fdivp"},
}};

// Without operands the arithmetic instructions pop into st(1): their popping forms, swapped.
constexpr std::array<swap_row, 6> x87_bare_table{{
    {"fadd", "faddp"}, {"fmul", "fmulp"}, {"fsub", "fsubrp"}, {"fsubr", "fsubp"}, {"fdiv", "fdivrp"},
    {"fdivr", "fdivp"},
}};

template <std::size_t N>
const swap_row* find_swap(const std::array<swap_row, N>& table, std::string_view mnemonic)
{
    for (const swap_row& row : table) {
        if (equal_folded(mnemonic, row.intel)) {
            return &row;
        }
    }
    return nullptr;
}

// The AT&T mnemonic of an x87 arithmetic instruction, given its Intel operands.
std::string_view x87_mnemonic(std::string_view mnemonic, const operand_results& results)
{
    if (results.empty()) {
        const swap_row* bare = find_swap(x87_bare_table, mnemonic);
        if (bare != nullptr) {
            return bare->att;
        }
    }
    const swap_row* swap = find_swap(x87_swap_table, mnemonic);
    if (swap == nullptr) {
        return mnemonic;
    }
    const bool pops = mnemonic.back() == 'p' || mnemonic.back() == 'P';
    const bool destination_above_st0 = results.size() == 2 && results[0].x87_index > 0;
    return pops || destination_above_st0 ? swap->att : mnemonic;
}

bool is_x87_arithmetic(std::string_view mnemonic)
{
    for (const std::string_view name : {"fadd", "fsub", "fsubr", "fmul", "fdiv", "fdivr"}) {
        if (equal_folded(mnemonic, name)) {
            return true;
        }
    }
    return false;
}

bool is_jump_through(statement_rule rule) { return rule == statement_rule::jmp || rule == statement_rule::call; }

bool is_dword_pointer(const operand_result& target)
{
    const int flags = sized_flags(target);
    return target.form == operand_form::memory && (flags & SIZE_LETTER_FLAGS) == SIZE_DWORD &&
           (flags & (DISTANCE_FAR | DISTANCE_NEAR)) == 0;
}

// jmp and call through a register or a memory operand are indirect: GNU As wants "*". A dword
// pointer is far in 16-bit code and near in 32-bit code; a line converted without the
// declarations of its program cannot tell, and is left as it was, for GNU As to warn about.
bool is_indirect(const operand_result& target, int code_bits)
{
    if (target.form == operand_form::general_register) {
        return true;
    }
    return target.form == operand_form::memory && (!is_dword_pointer(target) || code_bits != 0);
}

bool is_far(const operand_result& target, int code_bits)
{
    return (sized_flags(target) & (DISTANCE_FAR | SIZE_FWORD)) != 0 || (is_dword_pointer(target) && code_bits == 16);
}

// Tasm's keywords and operator words: one of them among the words of an operand makes it one
// expression (push word ptr x, push offset msg, push a or b).
constexpr std::array<std::string_view, 32> expression_words{
    "and", "byte", "dword", "eq", "far", "fword", "ge", "gt", "high", "large", "le", "length", "low", "lt", "mod",
    "ne", "near", "not", "offset", "or", "ptr", "pword", "qword", "seg", "shl", "short", "shr", "size", "small",
    "tbyte", "word", "xor",
};

// A part of a push or pop list is a register, a name or a number.
bool is_list_breaker(std::string_view item)
{
    if (find_register(item) != nullptr) {
        return false;
    }
    for (const char c : item) {
        if (!continues_name(c)) {
            return true;
        }
    }
    for (const std::string_view word : expression_words) {
        if (equal_folded(item, word)) {
            return true;
        }
    }
    return false;
}

// The words of a push or pop list (push ax bx cx): the blank-separated parts of its operands.
// A part that is a keyword or an operator, or a bracket that a blank splits, makes the operand one
// expression instead, which is no list.
bool split_list(std::span<const std::string_view> operands, std::vector<std::string_view>& items)
{
    items.clear();
    for (const std::string_view operand : operands) {
        std::size_t at = skip_blanks(operand, 0);
        while (at < operand.size()) {
            const std::size_t end = find_from(operand, at, is_blank);
            const std::string_view item = operand.substr(at, end - at);
            if (is_list_breaker(item)) {
                return false;
            }
            items.push_back(item);
            at = skip_blanks(operand, end);
        }
    }
    return items.size() >= 2;
}

// The value Tasm's type, length or size (word) has for a name with these facts, where the
// declarations tell it: type is the bytes of a variable's elements (an instance's structure) or of
// a structure, length a variable's count of first values (an instance's count of instances), size
// length times type, and a structure's size its bytes.
std::optional<std::uint64_t> type_operator_value(std::string_view word, const name_facts& facts)
{
    const bool variable = facts.kind == declared::variable && facts.size > 0;
    const bool structure = facts.kind == declared::structure && facts.size > 0;
    if (equal_folded(word, "type")) {
        return variable || structure ? std::optional<std::uint64_t>(facts.size) : std::nullopt;
    }
    if (structure && equal_folded(word, "size")) {
        return facts.size;
    }
    if (!variable || facts.count == 0) {
        return std::nullopt;
    }
    if (equal_folded(word, "length")) {
        return facts.count;
    }
    return std::uint64_t{facts.count} * facts.size;  // size
}

// type, length or size stands in text as a word of its own (mov cx, size buf; (size buf) / 2;
// offset buf + size buf - 1; n * size rec): each is an operator of one name, as tight as offset.
bool holds_type_operator(std::string_view text)
{
    for (std::size_t at = 0; at + 4 < text.size(); ++at) {
        if (at > 0 && continues_name(text[at - 1])) {
            continue;  // inside a word
        }
        const char first = fold_case(text[at]);
        if ((first == 't' && begins_with_keyword(text, at, "type")) ||
            (first == 's' && begins_with_keyword(text, at, "size")) ||
            (first == 'l' && begins_with_keyword(text, at, "length"))) {
            return true;
        }
    }
    return false;
}

// Some operand may hold type, length or size; most are shorter than "size x" and are passed over
// at once.
[[gnu::always_inline]] inline bool may_hold_type_operator(std::span<const std::string_view> operands)
{
    for (const std::string_view operand : operands) {
        if (operand.size() >= 6 && holds_type_operator(operand)) {
            return true;
        }
    }
    return false;
}

// Calls f(word, name, value) for each type, length or size before a name in operand whose value
// the declarations tell: word and name are the tokens, value the number they stand for.
template <typename F>
void for_each_type_operator(std::string_view operand, const conversion_context& context, F f)
{
    tokenizer tokens(operand);
    token word;  // the last token that was not a blank
    for (token t; tokens.next(t);) {
        if (t.kind == token_kind::other && is_blank(t.text[0])) {
            continue;
        }
        if (t.kind == token_kind::name && word.kind == token_kind::name &&
            (equal_folded(word.text, "type") || equal_folded(word.text, "length") || equal_folded(word.text, "size"))) {
            const name_facts* facts = context.find(t.text);
            if (const std::optional<std::uint64_t> value = facts != nullptr ? type_operator_value(word.text, *facts)
                                                                            : std::nullopt) {
                f(word, t, *value);
            }
        }
        word = t;
    }
}

// The rest of an arg or local list, on the line after one that ends in a comma: written after the
// list's directive, for GNU As to reject, as the line that begins the list is.
void write_frame_list_rest(const source_line& source, const frame_list_line& list, converted_line& line)
{
    std::string_view rest = source.text;
    if (source.has_comment && source.comment.data() > source.text.data()) {
        rest = rest.substr(0, static_cast<std::size_t>(source.comment.data() - source.text.data()) - 1);
    }
    rest = trim_blanks(rest);
    statement& s = line.statements.emplace_back();
    s.mnemonic = list.local ? std::string_view("local") : std::string_view("arg");
    s.first_operand = line.operands.size();
    s.operand_count = 1;
    line.operands.push_back(rest);
    line.warnings.push_back({source.column_of(rest), warning_text::frame_directive});
}

// arg and local in a procedure that has stack slots named: the line that names them.
bool declares_frame_slots(const source_line& source, const conversion_context& context)
{
    if (!context.has_frame_names()) {
        return false;
    }
    const std::string_view word = source.label_word != nullptr && source.label_word->kind == word_kind::directive
                                      ? source.label
                                      : source.mnemonic;
    return equal_folded(word, "arg") || equal_folded(word, "local");
}

} // namespace

int line_flags_of(std::string_view mnemonic)
{
    return flags_of_word(mnemonic_table.find(mnemonic), mnemonic);
}

namespace {

// A label written in another case than the program declares its name (COUNT: for count) takes
// the declared spelling, colon kept: GNU As would define another symbol.
void spell_label_as_declared(const conversion_context& context, converted_line& line)
{
    const std::string_view label = line.view(line.label);
    const std::string_view name = label.ends_with(':') ? label.substr(0, label.size() - 1) : label;
    if (name.empty() || !context.spelled_otherwise(name)) {
        return;
    }
    const std::size_t begin = line.text.size();
    line.text += context.spelling_of(name);
    line.text += label.substr(name.size());
    line.label = piece::in_buffer(begin, line.text.size());
}

} // namespace

void statement_converter::convert(const source_line& source, const conversion_context& context,
                                  converted_line& line, data_directive continued)
{
    convert_line(source, context, line, continued);
    // A label is a declaration: it can be spelled otherwise only where some name is declared twice.
    if (context.program != nullptr && context.program->declared_in_another_case && !line.label.empty()) {
        spell_label_as_declared(context, line);
    }
}

void statement_converter::convert_line(const source_line& source, const conversion_context& context,
                                       converted_line& line, data_directive continued)
{
    line.clear();
    line.has_comment = source.has_comment;
    line.comment = source.comment;
    line.ending = source.ending;

    source_ = &source;
    // Every writer of the line's expressions knows its context, the first ones too (structure
    // lines and instances): none may see the line before's.
    line.work.expressions.local_label_prefix = context.local_label_prefix;
    line.work.expressions.context = &context;
    // A line of a comment block is a comment, all of it.
    if (context.comment != nullptr) {
        draft_.line_flags = 0;
        line.has_comment = true;
        line.comment = source.text;
        return;
    }
    if (context.structure != nullptr) {
        write_structure_line(source, context, line);
        return;
    }
    if (context.program != nullptr && !context.program->frame_list_lines.empty()) {
        if (const frame_list_line* list = context.program->frame_list_at(context.line)) {
            draft_.line_flags = 0;
            write_frame_list_rest(source, *list, line);
            return;
        }
    }
    // A blank line or a comment alone is its comment; a data definition that the line before
    // left open stays open across it.
    if (source.label.empty() && source.mnemonic.empty() && source.operands.empty() && context.include == nullptr) {
        draft_.line_flags = 0;
        line.leaves_open = continued;
        return;
    }
    // An instance of a structure may have a name or not (the rows of a table of them); only a
    // labelled line can define a record's, only an include line includes.
    const bool records = context.program != nullptr && context.program->declares(declared::record);
    if ((records && write_record_line(source, context, line)) || write_instance(source, context, line) ||
        (!source.label.empty() && records && write_record_instance(source, context, line)) ||
        (context.include != nullptr && write_include(source, context, line))) {
        return;
    }
    // Data definitions and the directives with a line writer (directives.hpp) convert the whole
    // line themselves.
    if (const whole_line written = convert_whole_line(source, context, continued, line);
        written != whole_line::not_converted) {
        draft_.line_flags = written == whole_line::data ? LINE_DATA : 0;
        return;
    }

    statement_draft& draft = draft_;
    draft.start(source);
    const found how = replace_from_tables(draft, source, context, line);
    const std::string_view label = line.view(draft.label);
    line.label = draft.label;
    if (is_local_label(label) && !context.local_label_prefix.empty()) {
        // @@next: becomes the scope's own name for it, .Lscope.next:
        const std::size_t begin = line.text.size();
        line.text += context.local_label_prefix;
        line.text += context.local_label_spelling(label);
        line.label = piece::in_buffer(begin, line.text.size());
    }
    // A label beside a replaced mnemonic becomes a GNU As label; one that ends in a colon keeps it.
    line.label_colon = how == found::in_mnemonic && !label.empty() && label.back() != ':';

    if (line.view(draft.mnemonic).empty()) {
        // A word alone in the first column without a colon is no label: in Tasm it is a directive
        // (IF1, as MASM sources open their includes) or a macro call, and GNU As rejects it.
        if (how != found::nowhere || label.empty() || label.back() == ':' || !source.operands.empty()) {
            return;
        }
        if (source.label_word == nullptr) {
            line.warnings.push_back({source.column_of(source.label), warning_text::unknown_mnemonic});
        } else if (source.label_word->kind == word_kind::directive) {
            warn_unconverted_directive(source.label, source.column_of(source.label), context.procedure != nullptr, line);
        }
        return;
    }
    // After a directive in column 0 the word in the mnemonic's place is its argument (org 100h).
    const bool directive_in_label = source.label_word != nullptr && source.label_word->kind == word_kind::directive;
    if (how == found::nowhere && !draft.known && source.mnemonic.front() != '.' && !directive_in_label) {
        line.warnings.push_back({source.column_of(source.mnemonic), warning_text::unknown_mnemonic});
    }
    if (how == found::nowhere && draft.known && draft.kind == word_kind::directive) {
        warn_unconverted_directive(source.mnemonic, source.column_of(source.mnemonic), context.procedure != nullptr, line);
    } else if (how == found::nowhere && directive_in_label) {
        warn_unconverted_directive(source.label, source.column_of(source.label), context.procedure != nullptr, line);
    }
    if (draft.operands.size() >= 2 && source.mnemonic_word != nullptr &&
        source.mnemonic_word->rule == statement_rule::call) {
        line.warnings.push_back({source.column_of(draft.operands[1]), warning_text::call_with_arguments});
    }
    if (draft.kind == word_kind::prefix) {
        take_prefixes(draft, line);
    }
    put_text_equates(draft, context);
    if (context.program != nullptr && may_hold_type_operator(draft.operands)) {
        put_type_values(draft, context);
    }
    write_typed_pointers(draft, context);
    if (how == found::nowhere && declares_frame_slots(source, context)) {
        // The names of an arg or local line are declared there, not used: the line keeps the
        // form it had before they were known.
        conversion_context declaring = context;
        declaring.procedure = nullptr;
        line.work.expressions.context = &declaring;
        write_statement(draft, draft.operands, declaring, line);
        line.work.expressions.context = &context;
        return;
    }
    if (draft.operands.size() == 1 && is_jump_through(draft.rule) && write_far_transfer(draft, context, line)) {
        return;
    }
    // ret in a far procedure is a far return.
    if (draft.rule == statement_rule::near_return && context.procedure != nullptr && context.procedure->far) {
        draft.mnemonic = std::string_view("lret");
        draft.rule = statement_rule::none;
    }
    // push ax bx cx: one statement for each register, in order.
    if (draft.rule == statement_rule::push_or_pop && split_list(draft.operands, list_items_)) {
        for (const std::string_view item : list_items_) {
            write_statement(draft, std::span<const std::string_view>(&item, 1), context, line);
        }
        return;
    }
    write_statement(draft, draft.operands, context, line);
}

// A Tasm directive that has no GNU As form stays as written, for GNU As to reject.
void statement_converter::warn_unconverted_directive(std::string_view word, std::size_t column, bool in_procedure,
                                                     converted_line& line)
{
    std::string_view text = warning_text::directive_as_written;
    if (equal_folded(word, "arg") || (in_procedure && equal_folded(word, "local"))) {
        text = warning_text::frame_directive;  // local outside procedures belongs to a macro
    } else if (equal_folded(word, "uses")) {
        text = warning_text::uses_directive;
    } else if (equal_folded(word, "org")) {
        text = warning_text::org_directive;
    } else if (equal_folded(word, ".radix") || equal_folded(word, "radix")) {
        text = warning_text::radix_directive;
    } else {
        for (const std::string_view macro_word : {"macro", "endm", "rept", "irp", "irpc", "exitm", "local", "purge"}) {
            text = equal_folded(word, macro_word) ? warning_text::macro_directive : text;
        }
    }
    line.warnings.push_back({column, text});
}

// The sizes of the variables the statement's memory references name, once it needs them.
void statement_converter::look_up_declared_sizes(const conversion_context& context)
{
    for (operand_result& result : results_) {
        look_up_declared_size(result, context);
    }
}

// A word with no GNU As form stays as written, for GNU As to reject; the warning says why.
void statement_converter::warn_left_as_written(std::string_view operand, std::string_view word,
                                               const conversion_context& context, converted_line& line) const
{
    const std::size_t at = operand.find(word);
    const std::size_t column = source_->column_of(at == std::string_view::npos ? operand : operand.substr(at));
    if (context.program != nullptr && !context.program->quoted_name_warning(word).empty()) {
        return;  // a name of the program's, such as @start: the line draws the warning that names it
    }
    std::string_view otherwise = warning_text::type_operator;
    if (word.front() == '@' || context.names_segment(word)) {
        otherwise = warning_text::segment_value;
    } else if (equal_folded(word, "seg")) {
        otherwise = warning_text::seg_operator;
    } else if (register_named(word) != nullptr) {
        otherwise = warning_text::register_in_expression;
    }
    line.warnings.push_back({column, context.warning_for_word_left(word, otherwise)});
}

// A direct call or jump to a far procedure or label. Within the segment of the line, a far call
// is push cs and a near call (the far return then finds the segment it expects) and a far jump a
// near one. Anywhere else ELF cannot hold the target's segment: the line keeps a form GNU As
// rejects, never a near transfer. A name the program never declares, without far ptr, is left
// as it is. Returns true when it wrote the line's statements.
bool statement_converter::write_far_transfer(const statement_draft& draft, const conversion_context& context,
                                             converted_line& line)
{
    if (context.program == nullptr || draft.operands.size() != 1 || !is_jump_through(draft.rule)) {
        return false;
    }
    std::string_view target = trim_blanks(draft.operands[0]);
    bool far_ptr = false;
    if (begins_with_keyword(target, 0, "far")) {
        std::string_view rest = target.substr(skip_blanks(target, 4));
        if (begins_with_keyword(rest, 0, "ptr")) {
            rest = rest.substr(skip_blanks(rest, 4));
        }
        target = rest;
        far_ptr = true;
    }
    for (const char c : target) {
        if (!continues_name(c)) {
            return false;  // no plain name: memory, a register, an expression
        }
    }
    const name_facts* facts = target.empty() || find_register(target) != nullptr ? nullptr : context.find(target);
    const bool code = facts != nullptr && (facts->kind == declared::procedure || facts->kind == declared::label);
    if (!far_ptr && !(code && facts->far)) {
        return false;
    }
    const bool call = draft.rule == statement_rule::call;
    const std::size_t column = source_->column_of(draft.operands[0]);
    const bool same_segment = code && !facts->external && facts->segment == context.segment;
    if (!same_segment) {
        // call far ptr name: GNU As rejects it, naming the line.
        const std::size_t begin = line.text.size();
        line.text += "far ptr ";
        line.text += target;
        statement& s = line.statements.emplace_back();
        s.mnemonic = draft.mnemonic;
        s.first_operand = line.operands.size();
        s.operand_count = 1;
        line.operands.push_back(piece::in_buffer(begin, line.text.size()));
        line.warnings.push_back({column, warning_text::far_transfer_elsewhere});
        return true;
    }
    if (call) {
        statement& push = line.statements.emplace_back();
        push.mnemonic = std::string_view("push");
        push.size_letters = context.code_bits == 32 ? "l" : "w";
        push.first_operand = line.operands.size();
        push.operand_count = 1;
        line.operands.push_back(std::string_view("%cs"));
    }
    statement& s = line.statements.emplace_back();
    s.mnemonic = draft.mnemonic;
    s.first_operand = line.operands.size();
    s.operand_count = 1;
    line.operands.push_back(context.spelling_of(target));
    line.warnings.push_back({column, call ? warning_text::far_call_same_segment : warning_text::far_jump_same_segment});
    return true;
}

namespace {

// Each operand that rewrite writes anew (into buffer, returning true) becomes the text written.
// The operands take their views into buffer once all are written, wherever its growing has moved
// it; bounds keeps where each begins and ends meanwhile.
template <typename Rewrite>
void rewrite_operands(statement_draft& draft, std::string& buffer, std::vector<std::size_t>& bounds, Rewrite rewrite)
{
    constexpr std::size_t kept = ~std::size_t{0};  // the operand stays as it is
    buffer.clear();
    bounds.clear();
    for (const std::string_view operand : draft.operands) {
        const std::size_t begin = buffer.size();
        bounds.push_back(rewrite(operand, buffer) ? begin : kept);
        bounds.push_back(buffer.size());
    }
    for (std::size_t n = 0; n < draft.operands.size(); ++n) {
        if (const std::size_t begin = bounds[2 * n]; begin != kept) {
            draft.replace_operand(n, std::string_view(buffer).substr(begin, bounds[2 * n + 1] - begin));
        }
    }
}

// Writes operand with the value of each type, length or size the declarations tell in place;
// false, writing nothing, when there is none.
bool put_type_values(std::string_view operand, const conversion_context& context, std::string& out)
{
    const char* written = operand.data();
    for_each_type_operator(operand, context, [&](const token& word, const token& name, std::uint64_t value) {
        out.append(written, word.text.data());
        out.append(std::to_string(value));
        written = name.text.data() + name.text.size();
    });
    if (written == operand.data()) {
        return false;
    }
    out.append(written, operand.data() + operand.size());
    return true;
}

// How GNU As spells a mnemonic the vocabulary knows as word (stosd: stosl, segcs: cs).
std::string_view spelling_of(const mnemonic_row& row, std::string_view word)
{
    return row.rename.empty() ? word : row.rename;
}

// The draft's prefix becomes its own prefix word and the first count words of words (prefix words
// all, blank-separated), each a statement of its own: "rep; cs".
void write_prefix_words(statement_draft& draft, std::string_view words, std::size_t count, converted_line& line)
{
    const std::size_t begin = line.text.size();
    line.text += line.view(draft.mnemonic);
    std::size_t at = 0;
    for (std::size_t n = 0; n < count; ++n) {
        const std::size_t word_end = find_from(words, at, is_blank);
        const std::string_view word = words.substr(at, word_end - at);
        line.text += "; ";
        line.text += spelling_of(*mnemonic_table.find(word), word);
        at = skip_blanks(words, word_end);
    }
    draft.prefix = piece::in_buffer(begin, line.text.size());
    draft.prefixes = true;
}

// True when an operand as written for GNU As begins with a segment override that GNU As lays out
// as a prefix (%es:(%bx)).
bool has_segment_override(std::string_view operand)
{
    if (!operand.empty() && operand.front() == '*') {
        operand.remove_prefix(1);
    }
    if (operand == "%es:(%di)" || operand == "%es:(%edi)") {
        return false;  // a string instruction's destination: es is its own segment, no prefix is laid out
    }
    return operand.size() > 4 && operand[0] == '%' && operand[2] == 's' && operand[3] == ':' &&
           std::string_view("cdefgs").find(fold_case(operand[1])) != std::string_view::npos;
}

} // namespace

// mov cx, size buffer: Tasm's type, length and size of a variable or structure whose declaration
// tells them are numbers (buffer db 80 dup (?): size 80, type 1).
void statement_converter::put_type_values(statement_draft& draft, const conversion_context& context)
{
    rewrite_operands(draft, typed_values_, rewritten_, [&](std::string_view operand, std::string& out) {
        return dravent::put_type_values(operand, context, out);
    });
}

// arg1 equ word ptr [bp+4] ... mov ax, arg1: each name that a text equate gives a text stands
// for that text, as in Tasm: mov ax, word ptr [bp+4].
void statement_converter::put_text_equates(statement_draft& draft, const conversion_context& context)
{
    if (context.program == nullptr || context.program->text_equates.empty()) {
        return;
    }
    rewrite_operands(draft, equated_, rewritten_, [&](std::string_view operand, std::string& out) {
        return dravent::put_text_equates(operand, context, out);
    });
}

// (node ptr [si]).next, [(Node PTR si).next]: each operand that holds a typed pointer is
// converted as [si+node.next].
void statement_converter::write_typed_pointers(statement_draft& draft, const conversion_context& context)
{
    if (context.program == nullptr || !context.program->declares(declared::structure)) {
        return;
    }
    rewrite_operands(draft, typed_pointers_, rewritten_, [&](std::string_view operand, std::string& out) {
        return dravent::write_typed_pointers(operand, context, out);
    });
}

// rep stosd, lock inc word ptr [bx]: the instruction after a prefix is converted as if it stood
// alone, and the prefix is written before it. Tasm lays out prefixes in the order they are written
// (rep segcs movsb is F3 2E A4), while GNU As orders the prefixes of one statement by their kind
// (rep cs movsb is 2E F3 A4): after a second prefix word each one is a statement of its own,
// rep; cs; movsb. Anything else after a prefix is left for GNU As to reject.
void statement_converter::take_prefixes(statement_draft& draft, converted_line& line) const
{
    if (draft.operands.empty()) {
        return;
    }
    const std::string_view first = draft.operands[0];
    std::size_t prefix_words = 0;
    std::size_t at = 0;
    std::string_view word;
    const mnemonic_row* row = nullptr;
    while (at < first.size()) {
        const std::size_t word_end = find_from(first, at, is_blank);
        word = first.substr(at, word_end - at);
        row = mnemonic_table.find(word);
        if (row == nullptr || row->kind != word_kind::prefix) {
            break;
        }
        ++prefix_words;
        at = skip_blanks(first, word_end);
    }
    const bool instruction = at < first.size() && row != nullptr && names_instruction(row->kind);
    if (at < first.size() && !instruction) {
        line.warnings.push_back({source_->column_of(first), warning_text::prefix_before_no_instruction});
        return;
    }
    if (prefix_words == 0 && !instruction) {
        return;  // rep, (an empty operand): left as it stands
    }
    if (prefix_words == 0) {
        draft.prefix = draft.mnemonic;
    } else {
        write_prefix_words(draft, first.substr(0, at), instruction ? prefix_words : prefix_words - 1, line);
    }
    if (!instruction) {
        // rep segcs alone: the last prefix word stands in the mnemonic's place.
        draft.mnemonic = spelling_of(*row, word);
        draft.operands = draft.operands.subspan(1);
        return;
    }
    draft.mnemonic = spelling_of(*row, word);
    draft.line_flags = row->flags;
    draft.kind = row->kind;
    draft.rule = row->rule;
    const std::string_view rest = first.substr(skip_blanks(first, at + word.size()));
    if (rest.empty()) {
        draft.operands = draft.operands.subspan(1);
    } else {
        draft.replace_first_operand(rest);
    }
}

// lods table, stos es:buffer, xlat cs:table: a string instruction's memory operand written as a
// name becomes the register it stands for, (%si) or (%esi) by the code size, with its override.
// GNU As takes no other address there.
void statement_converter::address_string_operands(std::string_view mnemonic, std::size_t first, int code_bits,
                                                  converted_line& line) const
{
    // Read before the buffer, which the mnemonic may be in, grows.
    const std::array<std::string_view, 2> names{string_operand_register(mnemonic, 0),
                                                string_operand_register(mnemonic, 1)};
    for (std::size_t n = 0; n < results_.size() && n < names.size(); ++n) {
        const std::string_view written = line.view(line.operands[first + n]);
        const std::string_view name = names[n];
        if (results_[n].form != operand_form::memory || written.empty() || written.find('(') != std::string_view::npos ||
            name.empty()) {
            continue;
        }
        // %es:buffer keeps its %es:, copied before the buffer grows.
        std::array<char, 4> segment{};
        const bool overridden = written.size() > 4 && written[0] == '%' && written[3] == ':';
        if (overridden) {
            std::copy_n(written.begin(), 4, segment.begin());
        }
        const std::size_t begin = line.text.size();
        if (overridden) {
            line.text.append(std::string_view(segment.data(), segment.size()));
        }
        line.text += code_bits == 32 ? "(%e" : "(%";
        line.text += name;
        line.text += ')';
        line.operands[first + n] = piece::in_buffer(begin, line.text.size());
    }
}

// Converts the operands and appends one statement: its mnemonic as the operands leave it, its size
// letters, its operands in AT&T order.
void statement_converter::write_statement(const statement_draft& draft, std::span<const std::string_view> operands,
                                          const conversion_context& context, converted_line& line)
{
    const std::size_t first = line.operands.size();
    const bool transfer = operands.size() == 1 && is_jump_through(draft.rule);
    // A string instruction's operands name what si (or bx) and di reach: what di reaches is es's,
    // with no override, so assume implies none there (the views are the table's, not the line's).
    std::array<std::string_view, 2> string_registers{};
    if (draft.kind == word_kind::string_op) {
        const std::string_view written = line.view(draft.mnemonic);
        string_registers = {string_operand_register(written, 0), string_operand_register(written, 1)};
    }
    results_.clear();
    for (const std::string_view operand : operands) {
        const std::size_t n = results_.size();
        const int operand_flags =
            n < string_registers.size() && string_registers[n] == "di" ? draft.line_flags | LINE_NO_ACCESS : draft.line_flags;
        std::size_t begin = line.text.size();
        if (transfer) {
            line.text += '*';  // used only when the target turns out to be indirect
        }
        operand_result& result =
            results_.emplace_back(convert_operand(operand, operand_flags, context, line.text, line.work));
        if (transfer) {
            look_up_declared_size(result, context);
            if (!is_indirect(result, context.code_bits)) {
                ++begin;
            }
        }
        line.operands.push_back(piece::in_buffer(begin, line.text.size()));
        if (!result.left_as_written.empty()) {
            warn_left_as_written(operand, result.left_as_written, context, line);
        }
        if (result.override_undecided) {
            line.warnings.push_back({source_->column_of(operand), warning_text::override_undecided});
        }
    }

    piece mnemonic = draft.mnemonic;
    std::string_view size_letters;
    if (transfer && is_indirect(results_[0], context.code_bits)) {
        const bool far = is_far(results_[0], context.code_bits);
        if (context.code_bits_uncertain && is_dword_pointer(results_[0]) &&
            (sized_flags(results_[0]) & (DISTANCE_FAR | SIZE_FWORD)) == 0) {
            line.warnings.push_back({source_->column_of(operands[0]), warning_text::code_size_in_branches});
        }
        if (far) {
            mnemonic = draft.rule == statement_rule::jmp ? std::string_view("ljmp") : std::string_view("lcall");
        }
        size_letters = far ? "" : letters_of(size_flags_of(results_, operand_form::memory));
    } else {
        switch (draft.kind) {
        case word_kind::x87_float:
        case word_kind::x87_integer:
        case word_kind::x87_other:
        case word_kind::x87_register: {
            look_up_declared_sizes(context);
            const std::string_view written = line.view(draft.mnemonic);
            const std::string_view swapped = x87_mnemonic(written, results_);
            if (swapped != written) {
                mnemonic = swapped;
            }
            size_letters = x87_letters(draft.kind, size_flags_of(results_, operand_form::memory));
            break;
        }
        case word_kind::mmx:
            break;
        case word_kind::far_pointer_load:
            size_letters = letters_of(size_flags_of(results_, operand_form::general_register));
            break;
        default: {
            // A data definition's directive says its size: dw table[2] is .short table+2. With a
            // size keyword or a register written anywhere it keeps the letter, for GNU As to
            // reject (.byte %al and .int (%bx) it takes).
            if ((draft.line_flags & (LINE_DATA | LINE_EQUATE)) == LINE_DATA &&
                std::none_of(results_.begin(), results_.end(),
                             [](const operand_result& result) { return (result.size_flags & SIZE_LETTER_FLAGS) != 0; }) &&
                std::none_of(line.operands.begin() + static_cast<std::ptrdiff_t>(first), line.operands.end(),
                             [&](piece operand) { return line.view(operand).find('%') != std::string_view::npos; })) {
                break;
            }
            const bool count_in_cl = (draft.line_flags & LINE_SHIFT) != 0 && results_.size() >= 2 &&
                                     is_count_register(line.view(line.operands.back()));
            const int flags = ordinary_size_flags(draft.line_flags, results_, count_in_cl);
            // movzx eax, level: the variable's size is the source's, beside the register's.
            if (draft.rule == statement_rule::extension || (flags & SIZE_LETTER_FLAGS) == 0) {
                look_up_declared_sizes(context);
                size_letters = letters_of(flags | declared_flags_of(results_));
            } else {
                size_letters = letters_of(flags);
            }
            // dw ax, dw word ptr [bp+4] (also through a text equate) keep a letter, for GNU As to
            // reject: Tasm lays out no such value either.
            if ((draft.line_flags & (LINE_DATA | LINE_EQUATE)) == LINE_DATA && !size_letters.empty() &&
                line.warnings.empty()) {
                line.warnings.push_back({0, warning_text::data_as_written});
            }
            break;
        }
        }
    }
    if (draft.kind == word_kind::string_op) {
        if (context.code_bits_uncertain && line.operands.size() > first) {
            line.warnings.push_back({source_->column_of(operands[0]), warning_text::code_size_in_branches});
        }
        address_string_operands(line.view(mnemonic), first, context.code_bits, line);
    }
    if ((draft.line_flags & (LINE_DATA | LINE_SOURCE_ORDER)) == 0) {
        std::reverse(line.operands.begin() + static_cast<std::ptrdiff_t>(first), line.operands.end());
    }
    // fsub st(2) is fsub st, st(2): GNU As reads a lone register as the other operand.
    if (results_.size() == 1 && results_[0].form == operand_form::x87_register &&
        is_x87_arithmetic(line.view(mnemonic))) {
        line.operands.push_back(std::string_view("%st"));
    }
    // lock inc word ptr es:[bx] is F0 26 in Tasm; GNU As puts an override before the prefixes of
    // its statement.
    const bool prefix_apart =
        draft.prefixes ||
        (!draft.prefix.empty() &&
         std::any_of(line.operands.begin() + static_cast<std::ptrdiff_t>(first), line.operands.end(),
                     [&](piece operand) { return has_segment_override(line.view(operand)); }));
    line.statements.push_back(
        {draft.prefix, prefix_apart, mnemonic, size_letters, first, line.operands.size() - first});
}

} // namespace dravent
