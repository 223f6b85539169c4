// The whole conversion of one input line into one output line.
#pragma once

#include "line/line_record.hpp"

#include <string>
#include <string_view>

namespace dravent {

// Holds the buffers reused from line to line, so that converting a file allocates only while
// they still grow. Keeps no state between lines: the output of a line depends on that line alone.
class line_converter {
public:
    // Converts one line, given without its line feed, and appends the output line and its
    // ending to out. A carriage return that ends the line belongs to the ending: it is taken off
    // before the line is split and written back before the line feed.
    void convert(std::string_view line, std::string& out);

private:
    line_record record_;
};

} // namespace dravent
