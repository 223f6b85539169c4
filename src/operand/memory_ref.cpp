// Memory operand conversion: not yet built; a bracketed operand passes through unchanged.
#include "operand/memory_ref.hpp"

namespace dravent {

void parse_memory_ref(std::string_view text, memory_ref& ref) { ref.text = text; }

void format_memory_ref(operand_slot& slot, const memory_ref& ref) { slot.text.assign(ref.text); }

} // namespace dravent
