// Rewrites a line's statement: mnemonic and directive replacement, line flags, operand conversion.
#pragma once

#include "line/line_record.hpp"

namespace dravent {

void convert_statement(line_record& record);

} // namespace dravent
