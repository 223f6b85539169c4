// The whole conversion of one input line into one output line.
#pragma once

#include "convert/conversion_context.hpp"
#include "convert/convert_statement.hpp"
#include "convert/converted_line.hpp"
#include "source/source_line.hpp"

#include <span>
#include <string>
#include <string_view>

namespace dravent {

// Holds the records and buffers reused from line to line, so that converting a file allocates
// only while they still grow. The output of a line depends on that line and the context alone.
class line_converter {
public:
    // Converts one line, given without its line feed, and appends the output line and its
    // ending to out. A carriage return that ends the line belongs to the ending: it is written
    // back before the line feed.
    void convert(std::string_view line, std::string& out);

    // What the line converted last leaves for a hand.
    std::span<const warning> warnings() const { return converted_.warnings; }

private:
    conversion_context context_;
    source_line source_;
    statement_converter statements_;
    converted_line converted_;
};

} // namespace dravent
