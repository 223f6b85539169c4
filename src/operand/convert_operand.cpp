// Operand conversion: picks one of six treatments from the operand's start and the line's kind,
// then rewrites suffixed numbers and drops trailing blanks.
#include "operand/convert_operand.hpp"

#include "line/characters.hpp"
#include "operand/memory_ref.hpp"
#include "operand/radix_suffix.hpp"
#include "statement/keyword_tables.hpp"

namespace dravent {
namespace {

// Removes the keyword at position, the one white-space character after it and the blanks after that.
void remove_keyword(std::string& text, std::size_t position, std::string_view keyword)
{
    const std::size_t end = skip_blanks(text, position + keyword.size() + 1);
    text.erase(position, end - position);
}

void convert_memory_operand(operand_slot& slot)
{
    // Reused from call to call, so that memory operands allocate only while these still grow.
    thread_local std::string source;
    thread_local memory_ref ref;
    source.assign(slot.text);
    parse_memory_ref(source, ref);
    format_memory_ref(slot, ref);
}

// Applies the first treatment whose condition holds.
void apply_treatment(operand_slot& slot, int line_flags, std::size_t start)
{
    std::string& text = slot.text;
    const std::string_view at_start = std::string_view(text).substr(start);
    if (text.find('[') != std::string::npos) {
        convert_memory_operand(slot);
        return;
    }
    if (begins_with_keyword(text, start, "offset")) {
        remove_keyword(text, start, "offset");
        if ((line_flags & LINE_DATA) == 0) {
            insert_character(text, start, '$');
        }
        return;
    }
    if (const int size = lookup_register(at_start); size > 0 || names_segment_register(at_start)) {
        insert_character(text, start, '%');
        slot.size_flags |= size;
        return;
    }
    if ((line_flags & LINE_JUMP) != 0) {
        // A jump target is written as it stands; only the "short" keyword goes.
        if (begins_with_keyword(text, start, "short")) {
            remove_keyword(text, start, "short");
        }
        return;
    }
    // Anything else is an immediate, except on data lines and where an address is expected.
    if ((line_flags & (LINE_DATA | LINE_ADDRESS)) == 0) {
        insert_character(text, start, '$');
    }
}

void remove_trailing_blanks(std::string& text)
{
    while (!text.empty() && is_blank(text.back())) {
        text.pop_back();
    }
}

} // namespace

void convert_operand(operand_slot& slot, int line_flags)
{
    apply_treatment(slot, line_flags, skip_blanks(slot.text, 0));
    convert_radix_suffixes(slot.text);
    remove_trailing_blanks(slot.text);
}

} // namespace dravent
