// One pass of the conversion loop: split, convert, emit.
#include "driver/line_converter.hpp"

#include "emit/emit_line.hpp"
#include "source/split_line.hpp"

namespace dravent {

void line_converter::convert(std::string_view line, const char* readable_end)
{
    split_line(line, readable_end, source_);
    statements_.convert(source_, context_.at(next_line_++), converted_, open_data_);
    open_data_ = converted_.leaves_open;
}

void line_converter::convert(std::string_view line, text_buffer& out)
{
    convert(line, line.data() + line.size(), out);
}

void line_converter::convert(std::string_view line, const char* readable_end, text_buffer& out)
{
    convert(line, readable_end);
    emit_line(converted_, out);
}

void line_converter::convert(std::string_view line, std::string& out)
{
    convert(line, line.data() + line.size());
    emit_line(converted_, out);
}

} // namespace dravent
