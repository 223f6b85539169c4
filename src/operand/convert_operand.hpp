// Rewrites one operand from Tasm to AT&T notation.
#pragma once

#include "line/line_record.hpp"

namespace dravent {

// Converts the slot's text in place and ORs the sizes it names into its size flags.
void convert_operand(operand_slot& slot, int line_flags);

} // namespace dravent
