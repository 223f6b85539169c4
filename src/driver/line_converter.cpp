// One pass of the conversion loop: split, convert, emit.
#include "driver/line_converter.hpp"

#include "emit/emit_line.hpp"
#include "source/split_line.hpp"

namespace dravent {

void line_converter::convert(std::string_view line)
{
    split_line(line, source_);
    statements_.convert(source_, context_.at(next_line_++), converted_, open_data_);
    open_data_ = converted_.leaves_open;
}

void line_converter::convert(std::string_view line, text_buffer& out)
{
    convert(line);
    emit_line(converted_, out);
}

void line_converter::convert(std::string_view line, std::string& out)
{
    convert(line);
    emit_line(converted_, out);
}

} // namespace dravent
