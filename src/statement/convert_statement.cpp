// Statement conversion: not yet built; lines pass through unchanged.
#include "statement/convert_statement.hpp"

namespace dravent {

void convert_statement(line_record&) {}

} // namespace dravent
