// Rewrites Tasm's suffixed numbers (0FFh, 0101b) in GNU As prefix form (0x0FF, 0B0101).
#pragma once

#include <string>

namespace dravent {

// Rewrites, in one pass from left to right, every number that begins with a decimal digit and
// ends in an h or b suffix. Digits that follow a letter, "@" or "_" belong to a name and stay.
void convert_radix_suffixes(std::string& text);

} // namespace dravent
