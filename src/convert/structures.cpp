// Structures: offsets for their fields, and instances laid out field by field through the data
// definitions' own conversion.
#include "convert/structures.hpp"

#include "convert/data.hpp"
#include "convert/data_directive.hpp"
#include "convert/memory_ref.hpp"
#include "convert/records.hpp"
#include "convert/warnings.hpp"
#include "convert/write_expression.hpp"
#include "declarations/collect_declarations.hpp"
#include "source/tokenizer.hpp"
#include "text/characters.hpp"
#include "vocabulary/mnemonics.hpp"

#include <string>

namespace dravent {

namespace {

// The word struc or union of a line that opens a block (name union, union in the first column or
// after blanks), or record, which declares nothing inside a structure; or empty.
std::string_view nested_block_word(const source_line& source)
{
    for (const std::string_view word : {source.mnemonic, source.label}) {
        if (equal_folded(word, "union") || equal_folded(word, "struc") || equal_folded(word, "struct") ||
            equal_folded(word, "record")) {
            return word;
        }
    }
    return {};
}

} // namespace

// The lines of a structure's declaration declare offsets: each named field becomes .equ field,
// offset, and structure.field the same (IDEAL mode knows only that name). The struc and ends
// lines, and every other line inside, keep only their comment.
void write_structure_line(const source_line& source, const conversion_context& context, converted_line& line)
{
    const bool inside = context.line != context.structure->first_line && context.line != context.structure->last_line;
    if (const std::string_view block = nested_block_word(source); inside && !block.empty()) {
        // A struc or union inside: its word stays, for GNU As to reject.
        statement& s = line.statements.emplace_back();
        s.mnemonic = block;
        s.first_operand = line.operands.size();
        line.warnings.push_back({source.column_of(block), equal_folded(block, "record")
                                                              ? warning_text::directive_as_written
                                                              : warning_text::nested_structure});
        return;
    }
    const program_declarations& program = *context.program;
    // A field is a data definition, or an instance of a structure or a record declared before.
    const name_facts* type = program.find(source.mnemonic);
    const bool field_line = (source.mnemonic_word != nullptr && source.mnemonic_word->kind == word_kind::data) ||
                            (type != nullptr && (type->kind == declared::structure || type->kind == declared::record));
    if (context.line == context.structure->first_line || context.line == context.structure->last_line ||
        source.label.empty() || !field_line) {
        return;
    }
    const std::string_view structure = program.names.name(context.structure->structure);
    const std::string_view field = source.label.back() == ':' ? source.label.substr(0, source.label.size() - 1)
                                                                : source.label;
    const std::size_t begin = line.text.size();
    line.text += structure;
    line.text += '.';
    line.text += field;
    const piece qualified = piece::in_buffer(begin, line.text.size());
    const name_facts* facts = program.find(line.view(qualified));
    if (facts == nullptr || facts->kind != declared::field) {
        return;
    }
    const std::size_t offset_begin = line.text.size();
    if (facts->offset == unknown_offset) {
        line.text += '?';  // for GNU As to reject
        line.warnings.push_back({source.column_of(source.label), warning_text::field_offset_unknown});
    } else {
        line.text += std::to_string(facts->offset);
    }
    const piece offset = piece::in_buffer(offset_begin, line.text.size());
    const auto equate = [&](piece name) {
        statement& s = line.statements.emplace_back();
        s.mnemonic = std::string_view(".equ");
        s.first_operand = line.operands.size();
        s.operand_count = 2;
        line.operands.push_back(name);
        line.operands.push_back(offset);
    };
    if (!context.ideal) {
        equate(field);
    }
    equate(qualified);
}

namespace {

// Cuts text at the commas outside quotes and angle brackets (and parentheses too, when asked).
void split_at_outer_commas(std::string_view text, bool parentheses, std::vector<std::string_view>& parts)
{
    parts.clear();
    std::size_t start = 0;
    int depth = 0;
    for (std::size_t at = 0; at < text.size();) {
        const char c = text[at];
        if (is_quote(c)) {
            at = end_of_string(text, at).end;
            continue;
        }
        depth += c == '<' || (parentheses && c == '(') ? 1 : c == '>' || (parentheses && c == ')') ? -1 : 0;
        if (c == ',' && depth == 0) {
            parts.push_back(text.substr(start, at - start));
            start = at + 1;
        }
        ++at;
    }
    parts.push_back(text.substr(start));
}

} // namespace

bool split_initialisers(std::string_view text, std::vector<std::string_view>& values)
{
    values.clear();
    text = trim_blanks(text);
    if (text.size() < 2 || text.front() != '<' || text.back() != '>') {
        return false;
    }
    split_at_outer_commas(text.substr(1, text.size() - 2), false, values);
    if (values.size() == 1 && trim_blanks(values[0]).empty()) {
        values.clear();  // <> gives every field its default
    }
    return true;
}

bool split_repeated_instance(std::string_view text, std::string_view& count, std::string_view& list)
{
    tokenizer tokens(text);
    for (token t; tokens.next(t);) {
        if (t.kind != token_kind::name || !equal_folded(t.text, "dup")) {
            continue;
        }
        const auto dup_at = static_cast<std::size_t>(t.text.data() - text.data());
        count = trim_blanks(text.substr(0, dup_at));
        const std::string_view group = trim_blanks(text.substr(dup_at + t.text.size()));
        if (count.empty() || group.size() < 2 || group.front() != '(' || group.back() != ')') {
            return false;
        }
        list = group.substr(1, group.size() - 2);
        return true;
    }
    return false;
}

namespace {

piece keep_number(std::uint32_t value, converted_line& line)
{
    const std::size_t begin = line.text.size();
    line.text += std::to_string(value);
    return piece::in_buffer(begin, line.text.size());
}

void declare_field(const program_declarations& program, const include_item& item, bool ideal, converted_line& line)
{
    const std::string_view field = program.view(item.name);
    piece offset = std::string_view("?");  // for GNU As to reject
    if (item.offset != unknown_offset) {
        offset = keep_number(item.offset, line);
    } else if (line.warnings.empty()) {
        line.warnings.push_back({0, warning_text::field_offset_unknown});
    }
    if (!ideal) {
        add_statement(line, ".equ", field, offset);
    }
    const std::size_t begin = line.text.size();
    line.text += program.names.name(item.structure);
    line.text += '.';
    line.text += field;
    add_statement(line, ".equ", piece::in_buffer(begin, line.text.size()), offset);
}

// The two lists of values lay out the same number of bytes.
bool same_length(std::string_view value, std::string_view default_value, std::uint32_t unit,
                 const program_declarations& program)
{
    std::uint64_t length = 0;
    std::uint64_t default_length = 0;
    return length_of_values(value, unit, program, length) &&
           length_of_values(default_value.empty() ? std::string_view("?") : default_value, unit, program,
                            default_length) &&
           length == default_length;
}

// A default of ? alone, or of count dup (?) groups, lists and nestings of them: no value at all.
bool lays_out_only_unknowns(std::string_view values)
{
    tokenizer tokens(values);
    bool any = false;
    bool count_before = false;  // the token before was a count, which dup must follow
    for (token t; tokens.next(t);) {
        if (t.kind == token_kind::other && is_blank(t.text[0])) {
            continue;
        }
        const bool dup = t.kind == token_kind::name && equal_folded(t.text, "dup");
        if (count_before != dup) {
            return false;
        }
        count_before = t.kind == token_kind::number || (t.kind == token_kind::name && t.text != "?" && !dup);
        any = any || t.text == "?";
        if (t.kind == token_kind::string || (t.kind == token_kind::other && t.text != "(" && t.text != ")" &&
                                             t.text != ",")) {
            return false;
        }
    }
    return any && !count_before;
}

// A union whose instances Tasm lays out as its first field alone, with the value given or that
// field's default: the first field has a name and fills the union, and no other field has a
// default that could lie over it.
bool first_field_fills_union(const name_facts& union_type, const program_declarations& program)
{
    const structure_field& first = program.fields[union_type.first_field];
    std::uint64_t length = 0;
    const std::string_view value = program.view(first.value);
    if (first.name == no_entry || union_type.size == 0 ||
        !length_of_values(value.empty() ? std::string_view("?") : value, first.size, program, length) ||
        length != union_type.size) {
        return false;
    }
    for (std::uint32_t n = 1; n < union_type.field_count; ++n) {
        if (!lays_out_only_unknowns(program.view(program.fields[union_type.first_field + n].value))) {
            return false;
        }
    }
    return true;
}

} // namespace

void write_instance_as_written(const source_line& source, std::string_view list, std::string_view warning,
                               converted_line& line)
{
    line.warnings.push_back({source.column_of(source.mnemonic), warning});
    line.label = source.label;
    statement& s = line.statements.emplace_back();
    s.mnemonic = source.mnemonic;
    s.first_operand = line.operands.size();
    s.operand_count = 1;
    line.operands.push_back(trim_trailing_blanks(list));
}

bool write_include(const source_line& source, const conversion_context& context, converted_line& line)
{
    if (context.include == nullptr) {
        return false;
    }
    const include_span& span = *context.include;
    if (!span.found || !span.declarations_only) {
        statement& s = line.statements.emplace_back();
        s.mnemonic = source.label.empty() ? source.mnemonic : source.label;
        s.first_operand = line.operands.size();
        const std::string_view file_name = source.after_directive_word();
        if (!file_name.empty()) {
            line.operands.push_back(file_name);
            s.operand_count = 1;
        }
        line.warnings.push_back({source.column_of(s.mnemonic.in(line.text)), warning_text::include_not_declarations});
        return true;
    }
    const program_declarations& program = *context.program;
    for (std::uint32_t n = 0; n < span.item_count; ++n) {
        const include_item& item = program.include_items[span.first_item + n];
        switch (item.kind) {
        case include_item_kind::equate: {
            const std::size_t begin = line.text.size();
            write_expression(program.view(item.value), line.text, line.work.expressions);
            add_statement(line, ".equ", program.view(item.name), piece::in_buffer(begin, line.text.size()));
            break;
        }
        case include_item_kind::field:
            declare_field(program, item, context.ideal, line);
            break;
        case include_item_kind::global:
            // As the program declares the name: GLOBAL comsend:PROC for PROC ComSend.
            add_statement(line, ".globl", context.spelling_of(program.view(item.name)));
            break;
        }
    }
    return true;
}

namespace {

// How one instance of a list was laid out: written, no instance at all (the line is converted
// otherwise), or left as written with the warning given.
enum class laid_out { written, not_an_instance, as_written };

// Lays out one instance of structure, or count of them: <values> or count dup (<values>). depth:
// how many instances this one lies in (a field that is an instance of a structure).
laid_out lay_out_instance(std::string_view piece, const name_facts& structure, const conversion_context& context,
                          converted_line& line, std::string_view& warning, std::size_t depth = 0)
{
    const program_declarations& program = *context.program;
    std::vector<std::string_view>& values =
        depth == 0 ? line.work.initialisers : line.work.nested_initialisers[depth - 1];
    std::string_view count;  // of an array of instances
    std::string_view bracketed = piece;
    if (!split_initialisers(piece, values) &&
        !(split_repeated_instance(piece, count, bracketed) && split_initialisers(bracketed, values))) {
        return laid_out::not_an_instance;
    }
    if (values.size() > structure.field_count) {
        return laid_out::not_an_instance;
    }
    if ((structure.value & layout_nested) != 0) {
        warning = warning_text::nested_structure;
        return laid_out::as_written;
    }
    // A union lays out its first field alone.
    const bool is_union = structure.value == layout_union;
    if (is_union && (values.size() > 1 || !first_field_fills_union(structure, program))) {
        warning = warning_text::union_instance;
        return laid_out::as_written;
    }
    if (!count.empty()) {
        const std::size_t begin = line.text.size();
        write_expression(count, line.text, line.work.expressions);
        add_statement(line, ".rept", piece::in_buffer(begin, line.text.size()));
    }
    // A field without a name takes its default. Whether a value in the list stands for it or for
    // the named field after it, the converter does not know: such an instance is left for a hand.
    std::size_t next_value = 0;
    bool unnamed_before = false;
    for (std::uint32_t n = 0; n < (is_union ? 1 : structure.field_count); ++n) {
        const structure_field& field = program.fields[structure.first_field + n];
        std::string_view value;
        if (field.name == no_entry) {
            unnamed_before = true;
        } else if (next_value < values.size()) {
            if (unnamed_before) {
                warning = warning_text::instance_past_unnamed_field;
                return laid_out::as_written;
            }
            value = values[next_value++];
        }
        const std::string_view default_value = program.view(field.value);
        const data_directive directive = data_directive_of(program.view(field.directive));
        if (trim_blanks(value).empty()) {
            value = default_value;
        } else if (directive != data_directive::none && !same_length(value, default_value, field.size, program)) {
            // How Tasm fills or cuts a field given a value of another length, the converter
            // does not know: the line stays as written.
            warning = warning_text::instance_value_length;
            return laid_out::as_written;
        }
        if (directive == data_directive::none) {
            // A field that is an instance of a structure (laid out in its place, with the value
            // given or the field's default) or of a record.
            const name_facts* type = program.find(program.view(field.directive));
            const bool nested_structure = type != nullptr && type->kind == declared::structure;
            if (nested_structure && depth < line.work.nested_initialisers.size()) {
                const std::string_view nested = trim_blanks(value).empty() ? std::string_view("<>") : value;
                if (lay_out_instance(nested, *type, context, line, warning, depth + 1) == laid_out::written) {
                    continue;
                }
            } else if (type != nullptr && type->kind == declared::record && write_record_value(*type, value, context, line)) {
                continue;
            }
            warning = warning_text::instance_of_typed_fields;
            return laid_out::as_written;
        }
        if (!convert_data(directive, {}, value, context, line)) {
            return laid_out::not_an_instance;
        }
    }
    if (!count.empty()) {
        statement& end = line.statements.emplace_back();
        end.mnemonic = std::string_view(".endr");
        end.first_operand = line.operands.size();
    }
    return laid_out::written;
}

} // namespace

bool write_instance(const source_line& source, const conversion_context& context, converted_line& line)
{
    if (context.program == nullptr || source.mnemonic.empty() || !context.program->declares(declared::structure)) {
        return false;
    }
    const program_declarations& program = *context.program;
    const name_facts* structure = program.find(source.mnemonic);
    if (structure == nullptr || structure->kind != declared::structure || structure->field_count == 0) {
        return false;
    }
    // The operands were cut at commas; the list as written runs from the first to the last.
    std::string_view list;
    if (!source.operands.empty()) {
        const auto begin = static_cast<std::size_t>(source.operands.front().data() - source.text.data());
        const auto end = static_cast<std::size_t>(source.operands.back().data() - source.text.data()) +
                         source.operands.back().size();
        list = source.text.substr(begin, end - begin);
    }
    // One instance, or several one after another (table point <1, 2>, <3, 4>), each in turn.
    std::vector<std::string_view>& pieces = line.work.instances;
    // The commas between instances stand outside their brackets: commas inside separate values.
    split_at_outer_commas(list, true, pieces);
    for (const std::string_view piece : pieces) {
        std::string_view warning;
        const laid_out result = lay_out_instance(piece, *structure, context, line, warning);
        if (result == laid_out::written) {
            continue;
        }
        line.statements.clear();
        line.operands.clear();
        if (result == laid_out::not_an_instance) {
            return false;
        }
        write_instance_as_written(source, list, warning, line);
        return true;
    }
    line.label = source.label;
    line.label_colon = !source.label.empty() && source.label.back() != ':';
    line.leaves_open = data_directive::none;
    return true;
}

namespace {

// One typed pointer in an operand: the text it spans and its parts.
struct typed_pointer {
    std::size_t begin = 0;  // its "("
    std::size_t end = 0;    // just after the field's name
    std::string_view structure;
    std::string_view address;  // x, its brackets taken off
    std::string_view field;
};

// The typed pointer whose "(" stands at open, if it is one: ( T ptr x ) . field.
bool read_typed_pointer(std::string_view text, std::size_t open, const conversion_context& context, typed_pointer& found)
{
    tokenizer tokens(text.substr(open + 1));
    token t;
    do {
        if (!tokens.next(t)) {
            return false;
        }
    } while (is_blank(t.text[0]));
    const name_facts* type = context.find(t.text);
    if (t.kind != token_kind::name || type == nullptr || type->kind != declared::structure) {
        return false;
    }
    const std::string_view structure = t.text;
    const std::size_t after_type = static_cast<std::size_t>(t.text.data() + t.text.size() - text.data());
    const std::size_t ptr = skip_blanks(text, after_type);
    if (ptr == after_type || !keyword_at(text, ptr, "ptr")) {
        return false;
    }
    int depth = 0;
    std::size_t close = ptr + 3;
    for (; close < text.size(); ++close) {
        depth += text[close] == '(' || text[close] == '[' ? 1 : text[close] == ')' || text[close] == ']' ? -1 : 0;
        if (depth < 0) {
            break;
        }
    }
    if (close == text.size() || text[close] != ')') {
        return false;
    }
    const std::size_t dot = skip_blanks(text, close + 1);
    const std::size_t field_at = skip_blanks(text, dot + 1);
    if (dot == text.size() || text[dot] != '.' || field_at == text.size() || !starts_name(text[field_at])) {
        return false;
    }
    // The field, and the fields of a chain after it (( Sprite ptr edi ).pos.y): one name of the
    // structure, Sprite.pos.y, which the expression writer follows.
    const auto name_end = [&](std::size_t at) {
        return find_from(text, at, [](char c) { return !continues_name(c); });
    };
    std::size_t field_end = name_end(field_at);
    while (field_end + 1 < text.size() && text[field_end] == '.' && starts_name(text[field_end + 1])) {
        field_end = name_end(field_end + 1);
    }
    std::string_view address = trim_blanks(text.substr(ptr + 3, close - ptr - 3));
    if (address.size() >= 2 && address.front() == '[' && address.back() == ']') {
        address = trim_blanks(address.substr(1, address.size() - 2));
    }
    if (address.empty()) {
        return false;
    }
    found = {open, field_end, structure, address, text.substr(field_at, field_end - field_at)};
    return true;
}

// The text before a typed pointer leaves a "[" open: [(T ptr x).f], and also [es:(T ptr x).f],
// [word (T ptr x).f] and [bx+(T ptr x).f], where brackets around the address would stand inside
// the reference's own.
bool inside_brackets(std::string_view before)
{
    int depth = 0;
    for (const char c : before) {
        depth += c == '[' ? 1 : c == ']' ? -1 : 0;
    }
    return depth > 0;
}

} // namespace

bool write_typed_pointers(std::string_view operand, const conversion_context& context, std::string& out)
{
    if (context.program == nullptr || !context.program->declares(declared::structure)) {
        return false;
    }
    const std::size_t begin = out.size();
    std::size_t written = 0;  // of operand
    for (std::size_t open = operand.find('('); open != std::string_view::npos; open = operand.find('(', open + 1)) {
        typed_pointer p;
        if (open < written || !read_typed_pointer(operand, open, context, p)) {
            continue;
        }
        const bool in_brackets = inside_brackets(operand.substr(0, p.begin)) &&
                                 skip_blanks(operand, p.end) < operand.size() && operand[skip_blanks(operand, p.end)] == ']';
        out.append(operand.substr(written, p.begin - written));
        out.append(in_brackets ? "" : "[");
        out.append(p.address);
        out += '+';
        out.append(p.structure);
        out += '.';
        out.append(p.field);
        out.append(in_brackets ? "" : "]");
        written = p.end;
    }
    if (written == 0) {
        out.resize(begin);
        return false;
    }
    out.append(operand.substr(written));
    return true;
}

} // namespace dravent
