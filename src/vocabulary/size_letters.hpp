// The AT&T size letters that the size flags of a statement's operands give its mnemonic.
#pragma once

#include "vocabulary/flags.hpp"

#include <array>
#include <cstddef>
#include <string_view>

namespace dravent {

// The letters of every combination of size flags, in the order b, w, l, q (movzx: "b" before "w").
inline constexpr std::array<std::string_view, 16> size_letters_table{
    "",  "b",  "w",  "bw",  "l",  "bl",  "wl",  "bwl",
    "q", "bq", "wq", "bwq", "lq", "blq", "wlq", "bwlq",
};

constexpr std::string_view letters_of(int size_flags)
{
    return size_letters_table[static_cast<std::size_t>(size_flags & SIZE_LETTER_FLAGS)];
}

static_assert(letters_of(SIZE_BYTE) == "b" && letters_of(SIZE_WORD) == "w" && letters_of(SIZE_DWORD) == "l" &&
                  letters_of(SIZE_QWORD) == "q" && letters_of(SIZE_TBYTE) == "",
              "size_letters_table: one letter for each size flag, none beyond them");

} // namespace dravent
