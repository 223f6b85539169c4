// Working space that conversion reuses from line to line.
#pragma once

#include "convert/data_list.hpp"
#include "convert/write_expression.hpp"
#include "text/text_buffer.hpp"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace dravent {

// Nothing in it outlives the conversion of one line; it is kept only so that converting a file
// allocates only while its buffers still grow.
struct conversion_workspace {
    text_buffer scratch;
    expression_workspace expressions;
    data_list data;  // the list of the data definition on the line
    std::vector<std::string_view> initialisers;  // the values of a structure instance
    std::vector<std::string_view> instances;     // the instances a line lays out one after another
    // The values of a structure instance inside another's, one list for each level of nesting.
    std::array<std::vector<std::string_view>, 8> nested_initialisers;
    std::vector<std::string_view> record_values;  // the values of a record inside a structure instance
    std::string equated;  // a data list with the texts of text equates put in
};

} // namespace dravent
