// Lookups on the keyword tables.
#include "statement/keyword_tables.hpp"

namespace dravent {
namespace {

// The key of the token at the start of text, which ends at the first blank. Register names have
// two or three letters, so a longer token gets the key 0 as soon as its fourth character is seen.
name_key register_token_key(std::string_view text)
{
    constexpr std::size_t longest_name = 3;
    const std::size_t length = find_from(text.substr(0, longest_name + 1), 0, is_blank);
    return length <= longest_name ? fold_key(text.substr(0, length)) : 0;
}

} // namespace

int lookup_register(std::string_view text)
{
    const register_row* row = register_table.find(register_token_key(text));
    return row != nullptr ? row->size : 0;
}

bool names_segment_register(std::string_view text)
{
    return segment_register_table.find(register_token_key(text)) != nullptr;
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
