// One pass of the conversion loop: a plain line written at once, any other split, converted and
// emitted.
#include "driver/line_converter.hpp"

#include "emit/emit_line.hpp"
#include "source/split_line.hpp"

namespace dravent {

bool line_converter::convert_plain(std::string_view line, const char* readable_end, const conversion_context& context,
                                   text_buffer& out)
{
    if (!plain_lines_) {
        return false;
    }
    const plain_line written = plain_.write(line, readable_end, context, open_data_, out, converted_.work);
    if (written == plain_line::not_plain) {
        return false;
    }
    converted_.warnings.clear();
    if (written == plain_line::written) {
        open_data_ = data_directive::none;
    }
    return true;
}

void line_converter::convert_in_full(std::string_view line, const char* readable_end,
                                     const conversion_context& context)
{
    split_line(line, readable_end, source_);
    statements_.convert(source_, context, converted_, open_data_);
    open_data_ = converted_.leaves_open;
}

void line_converter::convert(std::string_view line, text_buffer& out)
{
    convert(line, line.data() + line.size(), out);
}

void line_converter::convert(std::string_view line, const char* readable_end, text_buffer& out)
{
    const conversion_context& context = context_.at(next_line_++);
    if (convert_plain(line, readable_end, context, out)) {
        return;
    }
    convert_in_full(line, readable_end, context);
    emit_line(converted_, out);
}

void line_converter::convert(std::string_view line, std::string& out)
{
    const conversion_context& context = context_.at(next_line_++);
    plain_text_.clear();
    if (convert_plain(line, line.data() + line.size(), context, plain_text_)) {
        out += plain_text_.view();
        return;
    }
    convert_in_full(line, line.data() + line.size(), context);
    emit_line(converted_, out);
}

} // namespace dravent
