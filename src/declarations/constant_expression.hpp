// The value of a Tasm constant expression, as far as the declarations pass can know it.
#pragma once

#include "declarations/declarations.hpp"

#include <cstdint>
#include <string_view>

namespace dravent {

// The value of text, a Tasm expression of numbers and constants with known values (the
// operators ( ) + - * / mod shl shr eq ne lt le gt ge not and or xor high low, Tasm's order
// among them), as Tasm works it out. False for anything else (a name of another kind, a
// string, a register, a location), and wherever Tasm's 32-bit arithmetic and GNU As's wider one
// could tell different numbers apart: a value outside -2^31 .. 2^32 - 1, a negative number
// divided, shifted or compared, a quotient by 0.
bool constant_value(std::string_view text, const program_declarations& program, std::int64_t& value);

} // namespace dravent
