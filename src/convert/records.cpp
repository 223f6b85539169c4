// Records: shift counts for their fields, instances packed into one value, and the numbers that
// mask and width stand for.
#include "convert/records.hpp"

#include "convert/structures.hpp"
#include "convert/warnings.hpp"
#include "convert/write_expression.hpp"
#include "declarations/collect_declarations.hpp"
#include "source/tokenizer.hpp"
#include "text/characters.hpp"

#include <array>

namespace dravent {
namespace {

constexpr std::string_view hex_digits = "0123456789ABCDEF";

// value in GNU As hexadecimal (0x..) or, tasm true, in Tasm's (0..h), appended to out.
template <typename Buffer>
void append_hex(std::uint32_t value, bool tasm, Buffer& out)
{
    std::array<char, 8> digits{};
    std::size_t count = 0;
    do {
        digits[count++] = hex_digits[value & 15];
        value >>= 4;
    } while (value != 0);
    out += tasm ? "0" : "0x";
    while (count > 0) {
        out += digits[--count];
    }
    if (tasm) {
        out += 'h';
    }
}

piece keep_hex(std::uint32_t value, converted_line& line)
{
    const std::size_t begin = line.text.size();
    append_hex(value, false, line.text);
    return piece::in_buffer(begin, line.text.size());
}

// The name a record line declares: before the word record (MASM), or after it (IDEAL: record
// name ...). Sets fields to the text after the name.
std::string_view record_name(const source_line& source, std::string_view& fields)
{
    if (!source.label.empty() && equal_folded(source.mnemonic, "record")) {
        fields = source.operand_text();
        return source.label;
    }
    const std::string_view after = source.after_directive_word();
    if (!(source.label.empty() ? equal_folded(source.mnemonic, "record") : equal_folded(source.label, "record"))) {
        return {};
    }
    const std::size_t name_end = find_from(after, 0, [](char c) { return is_blank(c); });
    fields = after.substr(name_end);
    return after.substr(0, name_end);
}

// The facts of the record a name stands for, or nullptr.
const name_facts* record_named(std::string_view name, const conversion_context& context)
{
    if (context.program == nullptr || name.empty() || !context.program->declares(declared::record)) {
        return nullptr;
    }
    const name_facts* facts = context.find(name);
    return facts != nullptr && facts->kind == declared::record ? facts : nullptr;
}

// The packed value of a record with the values given, or false when one cannot be worked out.
bool pack_record(const name_facts& record, const std::vector<std::string_view>& values,
                 const program_declarations& program, std::uint32_t& packed)
{
    if (values.size() > record.field_count) {
        return false;
    }
    packed = 0;
    for (std::uint32_t n = 0; n < record.field_count; ++n) {
        const bit_field_row& field = program.bit_fields[record.first_field + n];
        std::uint32_t value = field.default_value;
        const std::string_view written = n < values.size() ? trim_blanks(values[n]) : std::string_view();
        if (written.empty() ? !field.has_default : !number_or_constant(written, program, value)) {
            return false;
        }
        // What Tasm makes of a value wider than its field is not known here.
        if (value > low_bits(field.width)) {
            return false;
        }
        packed |= value << field.shift;
    }
    return true;
}

} // namespace

bool write_record_line(const source_line& source, const conversion_context& context, converted_line& line)
{
    if (context.program == nullptr || !context.program->declares(declared::record)) {
        return false;
    }
    std::string_view fields;
    const name_facts* record = record_named(record_name(source, fields), context);
    if (record == nullptr || record->field_count == 0) {
        return false;
    }
    const program_declarations& program = *context.program;
    for (std::uint32_t n = 0; n < record->field_count; ++n) {
        if (program.bit_fields[record->first_field + n].name == no_entry) {
            return false;  // a field named like something else
        }
    }
    for (std::uint32_t n = 0; n < record->field_count; ++n) {
        const bit_field_row& field = program.bit_fields[record->first_field + n];
        const std::size_t begin = line.text.size();
        line.text += std::to_string(field.shift);
        add_statement(line, ".equ", program.names.name(field.name), piece::in_buffer(begin, line.text.size()));
    }
    return true;
}

bool write_record_instance(const source_line& source, const conversion_context& context, converted_line& line)
{
    const name_facts* record = record_named(source.mnemonic, context);
    if (record == nullptr || source.label.empty() || source.operands.empty()) {
        return false;
    }
    const std::string_view list = source.operand_text();
    std::vector<std::string_view>& values = line.work.initialisers;
    std::string_view count;  // of an array of instances
    std::string_view bracketed = list;
    if (!split_initialisers(list, values) &&
        !(split_repeated_instance(list, count, bracketed) && split_initialisers(bracketed, values))) {
        return false;
    }
    std::uint32_t packed = 0;
    if (!pack_record(*record, values, *context.program, packed)) {
        write_instance_as_written(source, list, warning_text::record_instance_value, line);
        return true;
    }
    constexpr std::array<std::string_view, 5> directives{"", ".byte", ".short", "", ".int"};
    if (count.empty()) {
        add_statement(line, directives[record->size], keep_hex(packed, line));
    } else {
        // count dup (<values>): .fill count, size, value
        const std::size_t count_begin = line.text.size();
        write_expression(count, line.text, line.work.expressions);
        const piece written_count = piece::in_buffer(count_begin, line.text.size());
        const std::size_t size_begin = line.text.size();
        line.text += static_cast<char>('0' + record->size);
        const piece size = piece::in_buffer(size_begin, line.text.size());
        statement& s = line.statements.emplace_back();
        s.mnemonic = std::string_view(".fill");
        s.first_operand = line.operands.size();
        s.operand_count = 3;
        line.operands.push_back(written_count);
        line.operands.push_back(size);
        line.operands.push_back(keep_hex(packed, line));
    }
    line.label = source.label;
    line.label_colon = source.label.back() != ':';
    return true;
}

bool write_record_value(const name_facts& record, std::string_view value, const conversion_context& context,
                        converted_line& line)
{
    if (record.size != 1 && record.size != 2 && record.size != 4) {
        return false;
    }
    std::vector<std::string_view>& values = line.work.record_values;
    std::uint32_t packed = 0;
    if (!split_initialisers(trim_blanks(value).empty() ? std::string_view("<>") : value, values) ||
        !pack_record(record, values, *context.program, packed)) {
        return false;
    }
    constexpr std::array<std::string_view, 5> directives{"", ".byte", ".short", "", ".int"};
    add_statement(line, directives[record.size], keep_hex(packed, line));
    return true;
}

bool write_record_operators(std::string_view text, const conversion_context& context, std::string& out)
{
    if (context.program == nullptr || !context.program->declares(declared::record)) {
        return false;
    }
    const program_declarations& program = *context.program;
    const std::size_t start = out.size();
    std::size_t written = 0;  // of text
    tokenizer tokens(text);
    token word;
    token t;
    bool have_word = false;  // word is mask or width, blanks at most after it
    while (tokens.next(t)) {
        if (t.kind == token_kind::other && is_blank(t.text[0])) {
            continue;
        }
        const name_facts* facts = have_word && t.kind == token_kind::name ? context.find(t.text) : nullptr;
        if (facts != nullptr && (facts->kind == declared::record || facts->kind == declared::bit_field)) {
            const bool record = facts->kind == declared::record;
            const std::uint32_t width = record ? facts->value : program.bit_fields[facts->first_field].width;
            out.append(text.substr(written, static_cast<std::size_t>(word.text.data() - text.data()) - written));
            if (equal_folded(word.text, "width")) {
                out += std::to_string(width);
            } else {
                append_hex(low_bits(width) << (record ? 0 : facts->value), true, out);
            }
            written = static_cast<std::size_t>(t.text.data() + t.text.size() - text.data());
        }
        have_word = t.kind == token_kind::name && (equal_folded(t.text, "mask") || equal_folded(t.text, "width"));
        word = t;
    }
    if (written == 0) {
        out.resize(start);
        return false;
    }
    out.append(text.substr(written));
    return true;
}

} // namespace dravent
