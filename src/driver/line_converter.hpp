// The whole conversion of one input line into one output line.
#pragma once

#include "convert/conversion_context.hpp"
#include "driver/line_context.hpp"
#include "convert/convert_statement.hpp"
#include "convert/converted_line.hpp"
#include "convert/plain_line.hpp"
#include "convert/data_directive.hpp"
#include "source/source_line.hpp"
#include "text/text_buffer.hpp"

#include <span>
#include <string>
#include <string_view>

namespace dravent {

// Holds the records and buffers reused from line to line, so that converting a file allocates
// only while they still grow. The output of a line depends on that line, the declarations of its
// program (with none, on the line alone) and the data definition that the line before left open
// (a list that ended in a comma).
class line_converter {
public:
    explicit line_converter(const program_declarations* program = nullptr,
                            data_directive open_data = data_directive::none)
        : context_(program), open_data_(open_data), plain_(program),
          limit_line_(program != nullptr ? program->limit_line : 0),
          names_in_branches_(program != nullptr && program->conflicting_names),
          line_warnings_(program != nullptr && (limit_line_ != 0 || names_in_branches_ ||
                                                !program->quoted_names.empty() || !program->skipped.empty()))
    {
    }

    // The number the next line converted has (lines count from 1 and go on by one).
    void set_next_line(std::uint64_t line) { next_line_ = line; }

    // Goes on at line, which stands after a line that left open_data open (none: no definition).
    void start_at(std::uint64_t line, data_directive open_data)
    {
        next_line_ = line;
        open_data_ = open_data;
    }

    // Converts one line, given without its line feed, and appends the output line and its
    // ending to out. A carriage return that ends the line belongs to the ending: it is written
    // back before the line feed.
    void convert(std::string_view line, text_buffer& out);
    void convert(std::string_view line, std::string& out);
    // The same for a line inside a larger text, whose bytes up to readable_end may be read.
    [[gnu::always_inline]] void convert(std::string_view line, const char* readable_end, text_buffer& out)
    {
        const conversion_context& context = context_.at(next_line_++);
        const std::size_t written = out.size();
        if (!convert_plain(line, readable_end, context, out)) {
            write_in_full(line, readable_end, context, out);
        }
        if (line_warnings_) [[unlikely]] {
            warn_of_program(line, out.view().substr(written), context);
        }
    }

    // What the line converted last leaves for a hand.
    std::span<const warning> warnings() const { return converted_.warnings; }

    // The data definition that the line converted last leaves open for the next one, or none.
    data_directive open_data() const { return open_data_; }

    // Plain lines are written at once (plain_line.hpp), unless this is turned off: then every line
    // goes through the full conversion, which writes the same output, only slower.
    void write_plain_lines(bool on) { plain_lines_ = on; }

private:
    bool convert_plain(std::string_view line, const char* readable_end, const conversion_context& context,
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
    // A line longer than longest_split_line that the plain rules do not write: copied as it
    // stands, with its ending and a warning.
    void copy_as_it_stands(std::string_view line, text_buffer& out);
    // The line where the declarations reached their limit says so.
    void warn_at_limit();
    // The warnings a line draws from what the whole program declares, rather than from itself:
    // kept out of the way of the programs that need none.
    [[gnu::noinline]] void warn_of_program(std::string_view line, std::string_view output,
                                           const conversion_context& context);
    // A line that uses a name declared otherwise in branches the declarations cannot decide says so.
    void warn_of_names_in_branches(std::string_view line, const conversion_context& context);
    // Each name on the line that GNU As reads only in quotes (?tmp, @start) and that the output
    // line holds draws its warning.
    void warn_quoted_names(std::string_view line, std::string_view output, const conversion_context& context);
    void add_warning_once(std::string_view text, std::size_t column);
    void convert_in_full(std::string_view line, const char* readable_end, const conversion_context& context);
    // The full conversion, its output line appended to out: kept out of line, so that a plain
    // line's path stays short.
    void write_in_full(std::string_view line, const char* readable_end, const conversion_context& context,
                       text_buffer& out);

    line_context context_;
    std::uint64_t next_line_ = 1;
    source_line source_;
    statement_converter statements_;
    converted_line converted_;
    data_directive open_data_ = data_directive::none;
    plain_line_writer plain_;
    bool plain_lines_ = true;
    text_buffer plain_text_;  // a line on its way to a std::string
    std::uint64_t limit_line_;  // where the declarations reached their limit: 0 for nowhere
    bool names_in_branches_;    // the program declares names otherwise in branches it cannot decide
    bool line_warnings_;        // some line may draw a warning from what the program declares
};

} // namespace dravent
