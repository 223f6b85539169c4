// Operand conversion: not yet built; operands pass through unchanged.
#include "operand/convert_operand.hpp"

namespace dravent {

void convert_operand(operand_slot&, int) {}

} // namespace dravent
