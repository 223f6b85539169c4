// Register lookups on the token at the start of a text.
#include "vocabulary/registers.hpp"

namespace dravent {

constexpr bool segment_registers_end_in_s()
{
    for (const register_row& row : register_table) {
        if (row.segment && (row.name.size() != 2 || row.name[1] != 's')) {
            return false;
        }
    }
    return true;
}
static_assert(segment_registers_end_in_s(), "names_segment_register looks for two letters ending in s");

const register_row* find_register(std::string_view text)
{
    // Register names have two or three letters: a longer token is no register as soon as its
    // fourth character is seen.
    return register_named(text.substr(0, find_from(text.substr(0, register_index::longest_name + 1), 0, is_blank)));
}

int lookup_register(std::string_view text)
{
    const register_row* row = find_register(text);
    return row != nullptr ? row->size : 0;
}

bool names_segment_register(std::string_view text)
{
    // cs, ds, es, fs, gs, ss: two letters, the second an "s".
    if (text.size() < 2 || fold_case(text[1]) != 's' || (text.size() > 2 && !is_blank(text[2]))) {
        return false;
    }
    const register_row* row = find_register(text);
    return row != nullptr && row->segment;
}

} // namespace dravent
