// The whole conversion of one input line into one output line.
#pragma once

#include "convert/conversion_context.hpp"
#include "convert/convert_statement.hpp"
#include "convert/converted_line.hpp"
#include "convert/data_directive.hpp"
#include "source/source_line.hpp"

#include <string>
#include <string_view>

namespace dravent {

// Holds the records and buffers reused from line to line, so that converting a file allocates
// only while they still grow. The output of a line depends on that line, the context, and the
// data definition that the line before left open (a list that ended in a comma) alone.
class line_converter {
public:
    line_converter() = default;
    // Starts as if the line before had left this data definition open.
    explicit line_converter(data_directive open_data) : open_data_(open_data) {}

    // Converts one line, given without its line feed, and appends the output line and its
    // ending to out. A carriage return that ends the line belongs to the ending: it is written
    // back before the line feed.
    void convert(std::string_view line, std::string& out);

    // The data definition that the line converted last leaves open for the next one, or none.
    data_directive open_data() const { return open_data_; }

private:
    conversion_context context_;
    source_line source_;
    statement_converter statements_;
    converted_line converted_;
    data_directive open_data_ = data_directive::none;
};

} // namespace dravent
