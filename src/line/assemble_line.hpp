// Writes a converted line record as one GNU As line in column layout.
#pragma once

#include "line/line_record.hpp"

#include <string>

namespace dravent {

// Appends to out: label, tab, mnemonic and its size letters, tab, operands joined by commas
// (reversed unless LINE_DATA), then tab and comment when there is one. A line with neither label
// nor mnemonic is its comment alone. No line ending is written.
void assemble_line(const line_record& record, std::string& out);

} // namespace dravent
