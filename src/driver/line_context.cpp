// Line facts found by binary search over the declarations' line-ordered lists.
#include "driver/line_context.hpp"

#include <algorithm>

namespace dravent {
namespace {

// The last element whose first_line is at most line, or nullptr.
template <typename T>
const T* last_starting_by(const std::vector<T>& items, std::uint64_t line)
{
    const auto after = std::upper_bound(items.begin(), items.end(), line,
                                        [](std::uint64_t l, const T& item) { return l < item.first_line; });
    return after == items.begin() ? nullptr : &*(after - 1);
}

} // namespace

const conversion_context& line_context::at(std::uint64_t line)
{
    context_.line = line;
    if (program_ == nullptr) {
        return context_;
    }
    context_.program = program_;
    const procedure_span* procedure = last_starting_by(program_->procedures, line);
    context_.procedure = procedure != nullptr && line <= procedure->last_line ? procedure : nullptr;
    const auto include = std::lower_bound(program_->includes.begin(), program_->includes.end(), line,
                                          [](const include_span& span, std::uint64_t l) { return span.line < l; });
    context_.include = include != program_->includes.end() && include->line == line ? &*include : nullptr;
    const structure_span* structure = last_starting_by(program_->structures, line);
    context_.structure = structure != nullptr && line <= structure->last_line ? structure : nullptr;
    const code_size_change* size = last_starting_by(program_->code_sizes, line);
    context_.code_bits = size != nullptr ? size->bits : 16;
    const segment_change* segment = last_starting_by(program_->segments, line);
    context_.segment = segment != nullptr ? segment->segment : 0;
    const mode_change* mode = last_starting_by(program_->modes, line);
    context_.ideal = mode != nullptr && mode->ideal;

    // @@name in a scope becomes .L<scope>.name: one name for every use within the scope.
    const local_scope* scope = last_starting_by(program_->scopes, line);
    prefix_.assign(".L");
    if (scope == nullptr) {
        prefix_.append("file");  // before the first label
    } else if (scope->name != no_entry) {
        prefix_.append(program_->names.name(scope->name));
    } else {
        prefix_.append(std::to_string(scope->ordinal));
    }
    prefix_ += '.';
    context_.local_label_prefix = prefix_;
    return context_;
}

} // namespace dravent
