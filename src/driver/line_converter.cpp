// One pass of the conversion loop: split, convert the statement, assemble.
#include "driver/line_converter.hpp"

#include "line/assemble_line.hpp"
#include "line/split_line.hpp"
#include "statement/convert_statement.hpp"

namespace dravent {

void line_converter::convert(std::string_view line, std::string& out)
{
    const bool ends_in_carriage_return = !line.empty() && line.back() == '\r';
    if (ends_in_carriage_return) {
        line.remove_suffix(1);
    }
    record_.clear();
    split_line(line, record_);
    convert_statement(record_);
    assemble_line(record_, out);
    out += ends_in_carriage_return ? "\r\n" : "\n";
}

} // namespace dravent
