// One pass of the conversion loop: a plain line written at once, any other split, converted and
// emitted.
#include "driver/line_converter.hpp"

#include "convert/names_in_branches.hpp"
#include "convert/warnings.hpp"
#include "emit/emit_line.hpp"
#include "source/split_line.hpp"
#include "source/tokenizer.hpp"
#include "text/characters.hpp"

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

// The names outside strings and the comment are looked up; a number is passed over whole, so that
// no name is read from its middle. A name the output does not hold (end @start) draws nothing. An
// @@ label in a scope whose label is such a name draws that name's warning too: its .L name holds
// the scope's.
void line_converter::warn_quoted_names(std::string_view line, std::string_view output,
                                       const conversion_context& context)
{
    if (context.comment != nullptr) {
        return;
    }
    const program_declarations& program = *context.program;
    bool local_label = false;
    std::size_t at = 0;
    while (at < line.size() && line[at] != ';') {
        const char c = line[at];
        if (is_quote(c)) {
            const std::size_t close = line.find(c, at + 1);
            at = close == std::string_view::npos ? line.size() : close + 1;
            continue;
        }
        if (!continues_name(c)) {
            ++at;
            continue;
        }
        const std::size_t end = find_from(line, at + 1, [](char d) { return !continues_name(d); });
        const std::string_view word = line.substr(at, end - at);
        if (starts_name(c)) {
            local_label = local_label || is_local_label(word);
            if (const std::string_view text = program.quoted_name_warning(word);
                !text.empty() && output.find(program.declared_spelling(word)) != std::string_view::npos) {
                add_warning_once(text, at + 1);
            }
        }
        at = end;
    }
    if (local_label && context.scope != nullptr && context.scope->name != no_entry) {
        const std::string_view scope = program.names.name(context.scope->name);
        if (output.find(scope) != std::string_view::npos) {
            add_warning_once(program.quoted_name_warning(scope), 0);
        }
    }
}

void line_converter::add_warning_once(std::string_view text, std::size_t column)
{
    if (text.empty()) {
        return;
    }
    for (const warning& w : converted_.warnings) {
        if (w.text == text) {
            return;
        }
    }
    converted_.warnings.push_back({column, text});
}

void line_converter::warn_at_limit()
{
    converted_.warnings.push_back({0, warning_text::declarations_limit});
}

void line_converter::warn_of_program(std::string_view line, std::string_view output,
                                     const conversion_context& context)
{
    if (context.line == limit_line_) {
        warn_at_limit();
    }
    if (names_in_branches_) {
        warn_of_names_in_branches(line, context);
    }
    if (!context.program->quoted_names.empty()) {
        warn_quoted_names(line, output, context);
    }
    if (context.skipped) {
        converted_.warnings.clear();  // GNU As skips the line as Tasm does: nothing to finish
    }
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
