// Operand conversion: picks one of six treatments from the operand's start and the line's kind,
// writes the result in order with every suffixed number rewritten, and drops trailing blanks.
#include "convert/convert_operand.hpp"

#include "convert/memory_ref.hpp"
#include "convert/write_expression.hpp"
#include "text/characters.hpp"
#include "vocabulary/flags.hpp"
#include "source/tokenizer.hpp"
#include "vocabulary/registers.hpp"
#include "vocabulary/size_keywords.hpp"

#include <array>

namespace dravent {
namespace {

// What follows a keyword at position: past the keyword, the one white-space character after it
// and the blanks after that.
std::string_view after_keyword(std::string_view text, std::size_t position, std::string_view keyword)
{
    return text.substr(skip_blanks(text, position + keyword.size() + 1));
}

// A jump target's distance keyword goes: the target is written as it stands.
std::string_view without_distance(std::string_view text, std::size_t start)
{
    if (begins_with_keyword(text, start, "short")) {
        return after_keyword(text, start, "short");
    }
    if (begins_with_keyword(text, start, "near")) {
        const std::string_view rest = after_keyword(text, start, "near");
        return begins_with_keyword(rest, 0, "ptr") ? after_keyword(rest, 0, "ptr") : rest;
    }
    return text.substr(start);
}

int size_flag_of_bytes(std::uint32_t bytes)
{
    switch (bytes) {
    case 1:
        return SIZE_BYTE;
    case 2:
        return SIZE_WORD;
    case 4:
        return SIZE_DWORD;
    case 6:
        return SIZE_FWORD;
    case 8:
        return SIZE_QWORD;
    case 10:
        return SIZE_TBYTE;
    default:
        return 0;
    }
}

// A digit, then letters and digits only (10, 0FFh, 1010b): one number, no name in it.
bool is_one_number(std::string_view text)
{
    if (text.empty() || !is_decimal_digit(text[0])) {
        return false;
    }
    for (const char c : text) {
        if (!is_letter(c) && !is_decimal_digit(c)) {
            return false;
        }
    }
    return true;
}

// Adds up the addresses of an expression, each with the sign it has: a name that the program
// declares as a variable, label or procedure, or $, behind a minus (or in parentheses behind one)
// counts -1, else +1. Addresses that add up to 0 leave a number, as in Tasm.
class address_balance {
public:
    void read(const token& t)
    {
        if (t.text == "-") {
            minus_ = !minus_;
        } else if (t.text == "(") {
            if (depth_ + 1 < negated_.size()) {
                negated_[depth_ + 1] = negated_[depth_] != minus_;
            }
            ++depth_;
            minus_ = false;
        } else if (t.text == ")") {
            depth_ -= depth_ > 0 ? 1 : 0;
            minus_ = false;
        } else if (t.text != "+" && !is_white_space(t.text[0])) {
            minus_ = false;
        }
    }

    void read_name(const token& t, const name_facts* facts)
    {
        const bool address = t.text == "$" || (facts != nullptr && (facts->kind == declared::variable ||
                                                                   facts->kind == declared::label ||
                                                                   facts->kind == declared::procedure));
        if (address) {
            const bool negative = (depth_ < negated_.size() && negated_[depth_]) != minus_;
            sum_ += negative ? -1 : 1;
            ++count_;
        }
        minus_ = false;
    }

    // Two or more addresses whose signs add up to 0.
    bool cancel_out() const { return count_ >= 2 && sum_ == 0; }

private:
    std::array<bool, 16> negated_{};  // a group behind a minus, by nesting depth
    std::size_t depth_ = 0;
    bool minus_ = false;              // a minus stands before the next term
    int sum_ = 0;
    int count_ = 0;
};

// The field named by the "." that follows an instance's name, whose tokens after the name are
// tokens: directly (point.x) or after the index that goes with the name (table[bx].x,
// table[bx][si].x, [table+bx].x). Empty when no "." and field follow.
std::string_view field_named_after(tokenizer& tokens)
{
    int depth = 0;  // of the brackets opened since the name; below 0 once the name's own closes
    for (token t; tokens.next(t);) {
        if (t.text == ".") {
            token field;
            return depth <= 0 && tokens.next(field) && field.kind == token_kind::name ? field.text
                                                                                   : std::string_view();
        }
        if (t.text == "[") {
            ++depth;
        } else if (t.text == "]") {
            --depth;
        } else if (depth <= 0 && t.text != "+" && t.kind != token_kind::name && t.kind != token_kind::number) {
            return {};  // a "." past anything else is no field of this name
        }
    }
    return {};
}

// The field a chain of fields ends in: field, or after it ".name" for each field that is itself an
// instance of a structure (heap.head.next), read from tokens on.
const structure_field& last_field_of_chain(const structure_field& field, tokenizer tokens,
                                           const program_declarations& program)
{
    const structure_field* last = &field;
    for (token dot, name; tokens.next(dot) && dot.text == "." && tokens.next(name) && name.kind == token_kind::name;) {
        const name_facts* type = structure_of_field(*last, program);
        const structure_field* next = type != nullptr ? field_of_structure(*type, name.text, program) : nullptr;
        if (next == nullptr) {
            break;
        }
        last = next;
    }
    return *last;
}

// The size flag of the first name in text that the program declares as a variable (or, inside
// brackets, as a structure field): the size a memory operand has when nothing else gives one.
// A name after "offset" is an address, no variable use. 0 when there is none, and 0 when the
// addresses in text cancel out (end_buf - buf, ($ - msg) / 2): their difference is a number.
int declared_size_in(std::string_view text, const conversion_context& context, bool fields_count)
{
    if (context.program == nullptr || !(context.program->declares(declared::variable) ||
                                        (fields_count && context.program->declares(declared::field)))) {
        return 0;
    }
    if (is_one_number(text)) {
        return 0;  // most immediates: no name to look up
    }
    bool after_offset = false;
    bool found = false;
    int size = 0;
    address_balance addresses;
    tokenizer tokens(text);
    for (token t; tokens.next(t);) {
        if (t.kind != token_kind::name) {
            addresses.read(t);
            continue;
        }
        if (equal_folded(t.text, "offset")) {
            after_offset = true;
            continue;
        }
        const name_facts* facts = context.find(t.text);
        addresses.read_name(t, facts);
        if (after_offset || found) {
            after_offset = false;
            continue;
        }
        if (facts != nullptr && facts->kind == declared::variable) {
            // A field after the variable's "." gives the size (the instance's own field, or in
            // MASM mode any structure's); without one, the variable's own size does (an instance's
            // is its structure's: a word for a two-byte one).
            found = true;
            tokenizer after = tokens;
            const std::string_view field = field_named_after(after);
            if (const structure_field* f = field.empty() ? nullptr : field_of_instance(t.text, field, &context)) {
                size = size_flag_of_bytes(last_field_of_chain(*f, after, *context.program).size);
            } else if (const name_facts* g = field.empty() ? nullptr : masm_field_of(t.text, field, &context)) {
                // MASM mode: the last field of a chain (buffer.bs_head.next) gives the size.
                for (token dot, name; after.next(dot) && dot.text == "." && after.next(name) &&
                                      name.kind == token_kind::name;) {
                    const name_facts* next = context.find(name.text);
                    if (next == nullptr || next->kind != declared::field) {
                        break;
                    }
                    g = next;
                }
                size = size_flag_of_bytes(g->size);
            } else if (field.empty() || facts->structure == no_entry) {
                size = size_flag_of_bytes(facts->size);
            }
            continue;
        }
        if (facts != nullptr && fields_count && facts->kind == declared::structure) {
            // [esi+Sprite.pos.y]: the last field of the chain after the structure's name.
            tokenizer after = tokens;
            const std::string_view field = field_named_after(after);
            if (const structure_field* f = field.empty() ? nullptr : field_of_structure(*facts, field, *context.program)) {
                found = true;
                size = size_flag_of_bytes(last_field_of_chain(*f, after, *context.program).size);
            }
            continue;
        }
        if (facts != nullptr && fields_count && facts->kind == declared::field) {
            found = true;
            size = size_flag_of_bytes(facts->size);
        }
    }
    return addresses.cancel_out() ? 0 : size;
}

// The first name in text that the program declares as a variable, outside offset's operand: the
// variable a memory operand reaches. nullptr when there is none.
const name_facts* first_variable_in(std::string_view text, const conversion_context& context)
{
    bool after_offset = false;
    tokenizer tokens(text);
    for (token t; tokens.next(t);) {
        if (t.kind != token_kind::name) {
            continue;
        }
        if (equal_folded(t.text, "offset")) {
            after_offset = true;
            continue;
        }
        const name_facts* facts = context.find(t.text);
        if (!after_offset && facts != nullptr && facts->kind == declared::variable) {
            return facts;
        }
        after_offset = false;
    }
    return nullptr;
}

// The override Tasm puts before a memory operand that names none, as assume tells it.
struct implied_override {
    std::string_view segment;  // the register, or empty for none
    bool undecided = false;    // several registers would do
};

// The operand's variable lies in a segment that the register its address goes through by default
// (ds; ss through bp) does not reach, and one other register reaches it (cs, for a variable kept
// in the code segment while ds reaches the data): that one. None in 32-bit code, while assume has
// said nothing of the default register, or where no other register reaches the variable; where
// several do, Tasm would choose, and the operand is left without one.
implied_override implied_segment(std::string_view text, bool through_stack, const conversion_context& context)
{
    if (context.assumes == nullptr || context.code_bits != 16) {
        return {};
    }
    const name_facts* variable = first_variable_in(text, context);
    if (variable == nullptr) {
        return {};
    }
    const program_declarations& program = *context.program;
    const auto& targets = context.assumes->targets;
    const std::size_t by_default = through_stack ? ss_register : ds_register;
    if (targets[by_default] == assumed_unknown || program.reaches(targets[by_default], variable->segment)) {
        return {};
    }
    implied_override found;
    for (std::size_t r = 0; r < targets.size(); ++r) {
        if (r != by_default && program.reaches(targets[r], variable->segment)) {
            if (!found.segment.empty()) {
                return {{}, true};
            }
            found.segment = segment_registers[r];
        }
    }
    return found;
}

// A base or index register that makes ss the default segment: bp, ebp or esp.
bool goes_through_stack(std::string_view base, std::string_view index)
{
    const auto stack_register = [](std::string_view name) {
        return equal_folded(name, "bp") || equal_folded(name, "ebp") || equal_folded(name, "esp");
    };
    return stack_register(base) || stack_register(index);
}

// A segment register and ":" at the start of text: the override of a memory operand written
// without brackets (es:x). Returns the register's name, and the text after the ":".
bool take_segment_override(std::string_view& text, std::string_view& segment)
{
    // The name before the colon has two letters, the second an "s" (cs, ds, es, fs, gs, ss).
    if (text.size() < 3 || fold_case(text[1]) != 's') {
        return false;
    }
    const std::size_t colon = text.find(':');
    if (colon == std::string_view::npos) {
        return false;
    }
    const std::string_view name = trim_trailing_blanks(text.substr(0, colon));
    const register_row* named = register_named(name);
    if (named == nullptr || !named->segment) {
        return false;
    }
    segment = name;
    text = text.substr(skip_blanks(text, colon + 1));
    return true;
}

// The first token of an operand, read once. The words that decide a treatment (offset, a
// register, st, a size keyword, a segment register, short) stand first, and most operands are
// that one token alone: a register, a number, a name.
class operand_start {
public:
    explicit operand_start(std::string_view text) : text_(text), start_(skip_blanks(text, 0))
    {
        tokenizer(text.substr(start_)).next(first_);
        after_ = start_ + first_.text.size();
        alone_ = skip_blanks(text, after_) == text.size();
    }

    std::size_t start() const { return start_; }
    const token& first() const { return first_; }
    // Nothing but blanks follows the first token.
    bool alone() const { return alone_; }
    // A lone number, string or other character: no name in it to look up.
    bool holds_no_name() const { return alone_ && first_.kind != token_kind::name; }

    // The first token is the name word (given in lower case), in any case.
    bool first_is(std::string_view word) const
    {
        return first_.kind == token_kind::name && equal_folded(first_.text, word);
    }
    // The first token is a name, and white space follows it.
    bool first_is_a_word() const
    {
        return first_.kind == token_kind::name && after_ < text_.size() && is_white_space(text_[after_]);
    }
    // The register the first token names when a blank or nothing follows it, or nullptr.
    const register_row* first_register() const
    {
        if (first_.kind != token_kind::name || (after_ < text_.size() && !is_blank(text_[after_]))) {
            return nullptr;
        }
        return register_named(first_.text);
    }

private:
    std::string_view text_;
    std::size_t start_;
    token first_;
    std::size_t after_ = 0;
    bool alone_ = false;
};

// Writes an expression of the operand; when it is the operand's first token alone, from the token
// already read.
std::string_view write_operand_expression(std::string_view expression, const operand_start& look, text_buffer& out,
                                          conversion_workspace& work, string_meaning strings = string_meaning::number)
{
    if (look.alone() && expression.data() == look.first().text.data()) {
        return write_single_token(look.first(), out, work.expressions, strings);
    }
    return write_expression(expression, out, work.expressions, strings);
}

// Where the line's memory operands take the segment assume implies: not on data lines, nor for lea
// (nor a string instruction's destination).
bool implies_segments(int line_flags) { return (line_flags & (LINE_DATA | LINE_NO_ACCESS)) == 0; }

// A memory operand written without brackets: [size keyword [ptr]] [segment:] expression.
operand_result write_bare_memory(std::string_view text, int size_flags, int declared_flags, const operand_start& look,
                                 int line_flags, const conversion_context& context, text_buffer& out,
                                 conversion_workspace& work)
{
    std::string_view segment;
    implied_override implied;
    if (!take_segment_override(text, segment) && implies_segments(line_flags)) {
        implied = implied_segment(text, false, context);
        segment = implied.segment;
    }
    if (!segment.empty()) {
        out += '%';
        out += segment;
        out += ':';
    }
    operand_result result{size_flags, declared_flags, operand_form::memory, -1,
                          write_operand_expression(text, look, out, work), {}};
    result.override_undecided = implied.undecided;
    return result;
}

// Writes the first treatment whose condition holds. Called from convert_operand alone, and kept
// in its frame: a call of its own cost 16 instructions an operand.
[[gnu::always_inline]] inline operand_result write_treatment(std::string_view text, int line_flags, const conversion_context& context,
                               text_buffer& out, conversion_workspace& work)
{
    const operand_start look(text);
    // offset table[2] is the address table+2: brackets after offset add to the address and reach
    // no memory. With a register or an override in them, it is the memory reference below. (A data
    // line writes such a reference as its address already.)
    if ((line_flags & LINE_DATA) == 0 && look.first_is_a_word() && look.first_is("offset") && holds_memory_ref(text)) {
        const memory_ref ref = parse_memory_ref(after_keyword(text, look.start(), "offset"), work.scratch);
        if (ref.base.empty() && ref.index.empty() && ref.segment.empty() && ref.size_flags == 0) {
            out.append(text.substr(0, look.start()));
            out += '$';
            return {0, 0, operand_form::other, -1, write_memory_ref(ref, out, work.expressions), {}};
        }
    }
    // Most references begin with their "["; a token alone holds none unless it is that "[".
    if (look.first().text == "[" || (!look.alone() && holds_memory_ref(text))) {
        memory_ref ref = parse_memory_ref(text, work.scratch);
        implied_override implied;
        if (ref.segment.empty() && implies_segments(line_flags)) {
            implied = implied_segment(text, goes_through_stack(ref.base, ref.index), context);
            ref.segment = implied.segment;
        }
        const std::string_view left = write_memory_ref(ref, out, work.expressions);
        const bool sized = (ref.size_flags & ~(DISTANCE_NEAR | DISTANCE_FAR)) != 0;
        operand_result result{ref.size_flags, 0, operand_form::memory, -1, left, sized ? std::string_view() : text};
        result.override_undecided = implied.undecided;
        return result;
    }
    // Whatever stands before the operand's first non-blank character stays as it is.
    const std::size_t start = look.start();
    const std::string_view at_start = text.substr(start);
    if (start > 0) {
        out.append(text.substr(0, start));
    }
    if (look.first_is_a_word() && look.first_is("offset")) {
        if ((line_flags & LINE_DATA) == 0) {
            out += '$';
        }
        return {0, 0, operand_form::other, -1,
                write_expression(after_keyword(text, start, "offset"), out, work.expressions), {}};
    }
    if (const register_row* named = look.first_register()) {
        out += '%';
        if (look.alone()) {
            out += look.first().text;  // the register alone: nothing to rewrite
        } else {
            write_expression(at_start, out, work.expressions);
        }
        return {named->size, 0, named->segment ? operand_form::segment_register : operand_form::general_register,
                -1, {}, {}};
    }
    if (const int index = look.first_is("st") ? x87_register_index(at_start) : -1; index >= 0) {
        out += "%st";
        if (at_start.find('(') != std::string_view::npos) {
            out += '(';
            out += static_cast<char>('0' + index);
            out += ')';
        }
        return {0, 0, operand_form::x87_register, index, {}, {}};
    }
    // push large 0: large and small make an immediate 32 and 16 bits wide.
    if ((line_flags & (LINE_DATA | LINE_JUMP)) == 0 && look.first_is_a_word() &&
        (look.first_is("large") || look.first_is("small"))) {
        const int size = look.first_is("large") ? SIZE_DWORD : SIZE_WORD;
        const std::string_view value = after_keyword(text, start, look.first().text);
        if (!value.empty() && declared_size_in(value, context, false) == 0) {
            out += '$';
            return {size, 0, operand_form::other, -1, write_expression(value, out, work.expressions), {}};
        }
    }
    if ((line_flags & LINE_DATA) == 0) {
        // word ptr x, es:x, or a variable the program declares: memory without brackets.
        std::size_t cursor = start;
        if (const int keyword = look.first_is_a_word() ? match_size_keyword(text, cursor) : 0;
            keyword != 0 && (keyword & (DISTANCE_NEAR | DISTANCE_FAR)) == 0) {
            cursor = skip_blanks(text, cursor);
            if (begins_with_keyword(text, cursor, "ptr")) {
                cursor = skip_blanks(text, cursor + 4);
            }
            return write_bare_memory(text.substr(cursor), keyword, 0, look, line_flags, context, out, work);
        }
        std::string_view rest = at_start;
        std::string_view segment;
        const bool overridden = look.first().text.size() == 2 && take_segment_override(rest, segment);
        const int declared = (line_flags & LINE_ADDRESS) != 0 || look.holds_no_name()
                                 ? 0
                                 : declared_size_in(at_start, context, false);
        if (overridden || declared != 0) {
            return write_bare_memory(at_start, 0, declared, look, line_flags, context, out, work);
        }
    }
    if ((line_flags & LINE_JUMP) != 0) {
        return {0, 0, operand_form::other, -1, write_operand_expression(without_distance(text, start), look, out, work),
                {}};
    }
    // mov ax, DGROUP, push code: a segment's value, which only a DOS loader fills in. It is
    // written as seg name would be, for GNU As to reject.
    if ((line_flags & LINE_DATA) == 0 && look.alone() && look.first().kind == token_kind::name &&
        context.names_segment(look.first().text)) {
        out += "seg ";
        out += look.first().text;
        return {0, 0, operand_form::other, -1, look.first().text, {}};
    }
    // Anything else is an immediate, except on data lines and where an address is expected.
    if ((line_flags & (LINE_DATA | LINE_ADDRESS)) == 0) {
        out += '$';
    }
    // les and lds read a far pointer from memory: through the segment assume gives it.
    implied_override implied;
    if ((line_flags & LINE_ADDRESS) != 0 && implies_segments(line_flags)) {
        implied = implied_segment(at_start, false, context);
        if (!implied.segment.empty()) {
            out += '%';
            out += implied.segment;
            out += ':';
        }
    }
    // A data line lays its strings out character by character; an equate's value is a number.
    const bool characters = (line_flags & (LINE_DATA | LINE_EQUATE)) == LINE_DATA;
    operand_result result{0, 0, operand_form::other, -1,
                          write_operand_expression(at_start, look, out, work,
                                                   characters ? string_meaning::characters : string_meaning::number),
                          {}};
    result.override_undecided = implied.undecided;
    return result;
}

} // namespace

int x87_register_index(std::string_view text)
{
    text = text.substr(skip_blanks(text, 0));
    if (text.empty() || fold_case(text[0]) != 's') {
        return -1;  // most operands: no need to look further
    }
    text = trim_trailing_blanks(text);
    if (text.size() < 2 || fold_case(text[1]) != 't') {
        return -1;
    }
    std::size_t at = skip_blanks(text, 2);
    if (at == text.size()) {
        return text.size() == 2 ? 0 : -1;
    }
    if (text[at] != '(') {
        return -1;
    }
    at = skip_blanks(text, at + 1);
    if (at >= text.size() || text[at] < '0' || text[at] > '7') {
        return -1;
    }
    const int index = text[at] - '0';
    at = skip_blanks(text, at + 1);
    return at + 1 == text.size() && text[at] == ')' ? index : -1;
}

void look_up_declared_size(operand_result& result, const conversion_context& context)
{
    if (!result.declared_size_pending.empty()) {
        result.declared_flags = declared_size_in(result.declared_size_pending, context, true);
        result.declared_size_pending = {};
    }
}

operand_form form_of_operand(std::string_view text)
{
    if (text.find('[') != std::string_view::npos) {
        return operand_form::memory;
    }
    const register_row* named = find_register(text.substr(skip_blanks(text, 0)));
    if (named == nullptr) {
        return operand_form::other;
    }
    return named->segment ? operand_form::segment_register : operand_form::general_register;
}

operand_result convert_operand(std::string_view text, int line_flags, const conversion_context& context,
                               text_buffer& out, conversion_workspace& work)
{
    const std::size_t begin = out.size();
    const operand_result result = write_treatment(text, line_flags, context, out, work);
    // The operand ends at its last character that is not a blank.
    if (out.size() > begin && is_blank(out.back())) {
        out.truncate(begin + trim_trailing_blanks(out.view().substr(begin)).size());
    }
    return result;
}

} // namespace dravent
