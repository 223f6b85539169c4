// One pass of the conversion loop: split, convert, emit.
#include "driver/line_converter.hpp"

#include "emit/emit_line.hpp"
#include "source/split_line.hpp"

namespace dravent {

void line_converter::convert(std::string_view line, std::string& out)
{
    split_line(line, source_);
    statements_.convert(source_, context_.at(next_line_++), converted_);
    emit_line(converted_, out);
}

} // namespace dravent
