// The whole conversion of one input line into one output line.
#pragma once

#include "convert/conversion_context.hpp"
#include "driver/line_context.hpp"
#include "convert/convert_statement.hpp"
#include "convert/converted_line.hpp"
#include "source/source_line.hpp"

#include <span>
#include <string>
#include <string_view>

namespace dravent {

// Holds the records and buffers reused from line to line, so that converting a file allocates
// only while they still grow. The output of a line depends on that line and the declarations of
// its program alone (with none, on the line alone).
class line_converter {
public:
    explicit line_converter(const program_declarations* program = nullptr) : context_(program) {}

    // The number the next line converted has (lines count from 1 and go on by one).
    void set_next_line(std::uint64_t line) { next_line_ = line; }

    // Converts one line, given without its line feed, and appends the output line and its
    // ending to out. A carriage return that ends the line belongs to the ending: it is written
    // back before the line feed.
    void convert(std::string_view line, std::string& out);

    // What the line converted last leaves for a hand.
    std::span<const warning> warnings() const { return converted_.warnings; }

private:
    line_context context_;
    std::uint64_t next_line_ = 1;
    source_line source_;
    statement_converter statements_;
    converted_line converted_;
};

} // namespace dravent
