// Register lookups on the token at the start of a text.
#include "vocabulary/registers.hpp"

namespace dravent {
const register_row* find_register(std::string_view text)
{
    // Register names have two or three letters: a longer token is no register as soon as its
    // fourth character is seen.
    constexpr std::size_t longest_name = 3;
    const std::size_t length = find_from(text.substr(0, longest_name + 1), 0, is_blank);
    if (length > longest_name || length < 2) {
        return nullptr;
    }
    return register_table.find(text.substr(0, length));
}

int lookup_register(std::string_view text)
{
    const register_row* row = find_register(text);
    return row != nullptr ? row->size : 0;
}

bool names_segment_register(std::string_view text)
{
    const register_row* row = find_register(text);
    return row != nullptr && row->segment;
}

} // namespace dravent
