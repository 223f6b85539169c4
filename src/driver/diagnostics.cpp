// Formats, deduplicates and counts the warnings, and writes the closing summary.
#include "driver/diagnostics.hpp"

#include <algorithm>
#include <utility>

namespace dravent {

diagnostics::diagnostics(std::ostream& messages, std::string file_name, diagnostics_settings settings)
    : messages_(messages), file_name_(std::move(file_name)), settings_(settings)
{
}

void diagnostics::report(std::uint64_t line, std::size_t column, std::string_view text)
{
    if (line != current_line_) {
        current_line_ = line;
        current_texts_.clear();
        ++lines_;
    } else if (std::find(current_texts_.begin(), current_texts_.end(), text) != current_texts_.end()) {
        return;
    }
    current_texts_.emplace_back(text);
    ++warnings_;
    if (settings_.quiet) {
        return;
    }
    formatted_ = file_name_;
    formatted_ += ':';
    formatted_ += std::to_string(line);
    if (column != 0) {
        formatted_ += ':';
        formatted_ += std::to_string(column);
    }
    formatted_ += ": warning: ";
    formatted_ += text;
    formatted_ += '\n';
    messages_ << formatted_ << std::flush;
}

void diagnostics::finish()
{
    if (settings_.quiet || lines_ == 0) {
        return;
    }
    messages_ << "dravent: " << lines_ << (lines_ == 1 ? " line needs" : " lines need")
              << " a hand (see the warnings above)\n"
              << std::flush;
}

} // namespace dravent
