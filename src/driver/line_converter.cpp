// One pass of the conversion loop: a plain line written at once, any other split, converted and
// emitted.
#include "driver/line_converter.hpp"

#include "convert/names_in_branches.hpp"
#include "convert/warnings.hpp"
#include "emit/emit_line.hpp"
#include "source/split_line.hpp"

namespace dravent {

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

void line_converter::write_in_full(std::string_view line, const char* readable_end,
                                   const conversion_context& context, text_buffer& out)
{
    if (line.size() > longest_split_line) {
        copy_as_it_stands(line, out);
        return;
    }
    convert_in_full(line, readable_end, context);
    emit_line(converted_, out);
}

void line_converter::copy_as_it_stands(std::string_view line, text_buffer& out)
{
    out.append(line);
    out.append("\n");
    converted_.warnings.clear();
    converted_.warnings.push_back({0, warning_text::line_too_long});
    open_data_ = data_directive::none;
}

void line_converter::warn_at_limit()
{
    converted_.warnings.push_back({0, warning_text::declarations_limit});
}

void line_converter::warn_of_names_in_branches(std::string_view line, const conversion_context& context)
{
    if (const std::size_t column = column_of_name_in_branches(line, context); column != 0) {
        converted_.warnings.push_back({column, warning_text::declared_in_branches});
    }
}

void line_converter::convert(std::string_view line, std::string& out)
{
    plain_text_.clear();
    convert(line, line.data() + line.size(), plain_text_);
    out += plain_text_.view();
}

} // namespace dravent
