// Size keyword matching at a cursor.
#include "vocabulary/size_keywords.hpp"

#include "text/characters.hpp"

namespace dravent {

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
