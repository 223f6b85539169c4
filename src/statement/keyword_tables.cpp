// Lookups on the keyword tables.
#include "statement/keyword_tables.hpp"

namespace dravent {
namespace {

std::string_view first_token(std::string_view text)
{
    const std::size_t end = text.find_first_of(" \t");
    return end == std::string_view::npos ? text : text.substr(0, end);
}

} // namespace

int lookup_register(std::string_view text)
{
    const register_row* row = find_by_name(register_table, first_token(text));
    return row != nullptr ? row->size : 0;
}

bool names_segment_register(std::string_view text)
{
    return find_by_name(segment_register_table, first_token(text)) != nullptr;
}

int match_size_keyword(std::string_view text, std::size_t& cursor)
{
    for (const size_keyword_row& row : size_keyword_table) {
        if (begins_with_keyword(text, cursor, row.name)) {
            cursor += row.name.size();
            return row.size;
        }
    }
    return 0;
}

} // namespace dravent
